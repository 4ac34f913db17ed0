#include "Pictures.h"

#include <gif_lib.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <sstream>

std::vector<uint8_t> Picture::At(uint32_t x, uint32_t y) const {
  const size_t at = (static_cast<size_t>(y) * width + x) * 4;
  return std::vector<uint8_t>(rgba.begin() + at, rgba.begin() + at + 4);
}

bool ReadPng(const std::string& path, Picture* picture, std::string* error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    *error = path + ": " + image.message;
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  picture->width = image.width;
  picture->height = image.height;
  picture->rgba.assign(PNG_IMAGE_SIZE(image), 0);
  if (!png_image_finish_read(&image, nullptr, picture->rgba.data(), 0, nullptr)) {
    *error = path + ": " + image.message;
    png_image_free(&image);
    return false;
  }
  return true;
}

bool ReadGif(const std::string& path, GifMovie* movie, std::string* error) {
  int code = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &code);
  if (gif == nullptr) {
    *error = path + ": " + GifErrorString(code);
    return false;
  }
  if (DGifSlurp(gif) != GIF_OK) {
    *error = path + ": " + GifErrorString(gif->Error);
    DGifCloseFile(gif, &code);
    return false;
  }
  movie->width = static_cast<uint32_t>(gif->SWidth);
  movie->height = static_cast<uint32_t>(gif->SHeight);
  if (gif->SColorMap != nullptr) {
    for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
      const GifColorType& colour = gif->SColorMap->Colors[i];
      movie->palette.insert(movie->palette.end(), {colour.Red, colour.Green, colour.Blue});
    }
  }
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& frame = gif->SavedImages[i];
    const size_t pixels =
        static_cast<size_t>(frame.ImageDesc.Width) * static_cast<size_t>(frame.ImageDesc.Height);
    movie->frames.emplace_back(frame.RasterBits, frame.RasterBits + pixels);
    GraphicsControlBlock control{};
    movie->delays.push_back(DGifSavedExtensionToGCB(gif, i, &control) == GIF_OK ? control.DelayTime
                                                                                : -1);
  }
  DGifCloseFile(gif, &code);
  return true;
}

bool ParseY4m(const std::string& bytes, Y4mStream* stream, std::string* error) {
  const size_t lineEnd = bytes.find('\n');
  if (lineEnd == std::string::npos || bytes.compare(0, 10, "YUV4MPEG2 ") != 0) {
    *error = "no YUV4MPEG2 header line";
    return false;
  }
  stream->header = bytes.substr(0, lineEnd);
  std::istringstream fields(stream->header.substr(10));
  std::string field;
  bool sawColour = false;
  while (fields >> field) {
    if (field[0] == 'W') stream->width = static_cast<uint32_t>(std::stoul(field.substr(1)));
    if (field[0] == 'H') stream->height = static_cast<uint32_t>(std::stoul(field.substr(1)));
    if (field[0] == 'C') {
      sawColour = true;
      if (field != "C444") {
        *error = "colour space " + field + " is not C444";
        return false;
      }
    }
  }
  if (stream->width == 0 || stream->height == 0 || !sawColour) {
    *error = "header lacks W, H or C: " + stream->header;
    return false;
  }
  const size_t planes = static_cast<size_t>(stream->width) * stream->height * 3;
  size_t at = lineEnd + 1;
  while (at < bytes.size()) {
    const size_t frameEnd = bytes.find('\n', at);
    if (frameEnd == std::string::npos || bytes.compare(at, 5, "FRAME") != 0) {
      *error = "no FRAME line at byte " + std::to_string(at);
      return false;
    }
    at = frameEnd + 1;
    if (bytes.size() - at < planes) {
      *error = "frame " + std::to_string(stream->frames.size()) + " is cut short";
      return false;
    }
    stream->frames.emplace_back(bytes.begin() + static_cast<long>(at),
                                bytes.begin() + static_cast<long>(at + planes));
    at += planes;
  }
  return true;
}
