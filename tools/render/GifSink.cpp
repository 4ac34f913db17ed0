// Animated GIF output with a 256-level grey palette.
#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "FrameSink.h"
#include "StagedFile.h"
#include "ToolError.h"

namespace vtool {
namespace {

int WriteToStream(GifFileType* gif, const GifByteType* bytes, int length) {
  FILE* stream = static_cast<FILE*>(gif->UserData);
  return static_cast<int>(fwrite(bytes, 1, static_cast<size_t>(length), stream));
}

// The grey level of a pixel: exact for grey pixels, luma for coloured ones.
uint8_t GreyLevel(const uint8_t* pixel) {
  if (pixel[0] == pixel[1] && pixel[1] == pixel[2]) return pixel[0];
  const double luma = 0.299 * pixel[0] + 0.587 * pixel[1] + 0.114 * pixel[2];
  return static_cast<uint8_t>(std::lround(luma));
}

struct GifCloser {
  void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};

class GifSink : public FrameSink {
 public:
  GifSink(const std::string& path, const FrameFormat& format)
      : file_(path), format_(format), line_(format.width) {
    if (format.width > 65535 || format.height > 65535) {
      throw ToolError("writing GIF", path + ": GIF pictures are at most 65535x65535");
    }
    int error = 0;
    gif_.reset(EGifOpen(file_.stream(), WriteToStream, &error));
    if (gif_ == nullptr) Fail(error);
    EGifSetGifVersion(gif_.get(), true);
    ColorMapObject* palette = GifMakeMapObject(256, nullptr);
    if (palette == nullptr) Fail(E_GIF_ERR_NOT_ENOUGH_MEM);
    for (int i = 0; i < 256; ++i) {
      palette->Colors[i].Red = palette->Colors[i].Green = palette->Colors[i].Blue =
          static_cast<GifByteType>(i);
    }
    const int status = EGifPutScreenDesc(gif_.get(), static_cast<int>(format.width),
                                         static_cast<int>(format.height), 8, 0, palette);
    GifFreeMapObject(palette);
    if (status != GIF_OK) Fail(gif_->Error);
    PutLoopForever();
  }

  void Write(const uint8_t* rgba, uint32_t index) override {
    PutDelay(index);
    if (EGifPutImageDesc(gif_.get(), 0, 0, static_cast<int>(format_.width),
                         static_cast<int>(format_.height), false, nullptr) != GIF_OK) {
      Fail(gif_->Error);
    }
    const size_t stride = static_cast<size_t>(format_.width) * 4;
    for (uint32_t y = 0; y < format_.height; ++y) {
      const uint8_t* row = rgba + y * stride;
      for (uint32_t x = 0; x < format_.width; ++x) line_[x] = GreyLevel(row + x * 4);
      if (EGifPutLine(gif_.get(), line_.data(), static_cast<int>(format_.width)) != GIF_OK) {
        Fail(gif_->Error);
      }
    }
  }

  void Finish() override {
    int error = 0;
    const int status = EGifCloseFile(gif_.release(), &error);
    if (status != GIF_OK) Fail(error);
    file_.Commit();
  }

 private:
  [[noreturn]] void Fail(int error) {
    const char* why = GifErrorString(error);
    throw ToolError("writing GIF", file_.finalPath() + ": " + (why != nullptr ? why : "failed"));
  }

  void PutLoopForever() {
    static const GifByteType kApplication[] = {'N', 'E', 'T', 'S', 'C', 'A',
                                               'P', 'E', '2', '.', '0'};
    static const GifByteType kLoop[] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif_.get(), APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
        EGifPutExtensionBlock(gif_.get(), sizeof kApplication, kApplication) != GIF_OK ||
        EGifPutExtensionBlock(gif_.get(), sizeof kLoop, kLoop) != GIF_OK ||
        EGifPutExtensionTrailer(gif_.get()) != GIF_OK) {
      Fail(gif_->Error);
    }
  }

  // Delays in hundredths of a second, rounded so that they add up to the true duration.
  void PutDelay(uint32_t index) {
    const auto at = [this](uint32_t frame) { return std::lround(100.0 * frame / format_.fps); };
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = static_cast<int>(std::max(1L, at(index + 1) - at(index)));
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType bytes[4];
    EGifGCBToExtension(&control, bytes);
    if (EGifPutExtension(gif_.get(), GRAPHICS_EXT_FUNC_CODE, sizeof bytes, bytes) != GIF_OK) {
      Fail(gif_->Error);
    }
  }

  StagedFile file_;
  FrameFormat format_;
  std::vector<GifByteType> line_;
  std::unique_ptr<GifFileType, GifCloser> gif_;
};

}  // namespace

std::unique_ptr<FrameSink> MakeGifSink(const std::string& path, const FrameFormat& format) {
  return std::make_unique<GifSink>(path, format);
}

}  // namespace vtool
