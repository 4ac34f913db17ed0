// PNG encoding of 8-bit RGBA pictures through libpng.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vtool {

// Writes an RGBA picture, rows top first, to an open stream. Throws ToolError naming `name`.
void WritePng(FILE* stream, const std::string& name, uint32_t width, uint32_t height,
              const uint8_t* rgba);

// Writes the picture to `path` through a staged file.
void SavePng(const std::string& path, uint32_t width, uint32_t height, const uint8_t* rgba);

}  // namespace vtool
