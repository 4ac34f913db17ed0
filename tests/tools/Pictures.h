// Readers for what the renderer writes: PNG, GIF and y4m.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Picture {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> rgba;  // rows top first
  // RGBA of pixel (x, y), y counted from the top.
  std::vector<uint8_t> At(uint32_t x, uint32_t y) const;
};

// False with a reason when the file is not a readable PNG.
bool ReadPng(const std::string& path, Picture* picture, std::string* error);

struct GifMovie {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<std::vector<uint8_t>> frames;  // palette indices, rows top first
  std::vector<uint8_t> palette;              // RGB triples of the global palette
  std::vector<int> delays;                   // hundredths of a second per frame
};

bool ReadGif(const std::string& path, GifMovie* movie, std::string* error);

struct Y4mStream {
  uint32_t width = 0;
  uint32_t height = 0;
  std::string header;                        // first line without its newline
  std::vector<std::vector<uint8_t>> frames;  // Y, Cb, Cr planes of each frame
};

// Parses a 4:4:4 stream; false with a reason when the layout does not add up.
bool ParseY4m(const std::string& bytes, Y4mStream* stream, std::string* error);
