// Where finished frames go: one PNG, a PNG sequence, a GIF, or raw/y4m frames on a stream.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

#include "OutputPlan.h"

namespace vtool {

struct FrameFormat {
  uint32_t width = 0;
  uint32_t height = 0;
  double fps = 30.0;
  uint32_t frameCount = 1;
};

class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // One RGBA frame, rows top first, frames in order. Throws ToolError.
  virtual void Write(const uint8_t* rgba, uint32_t index) = 0;
  // Completes the output and puts it under its final name. Without it nothing is left there.
  virtual void Finish() = 0;
};

// Opens the output at once, so an unwritable place fails before rendering. Throws ToolError.
std::unique_ptr<FrameSink> MakeSink(const OutputPlan& plan, const FrameFormat& format,
                                    FILE* standardOutput);

std::unique_ptr<FrameSink> MakePngSink(const std::string& path, const FrameFormat& format);
std::unique_ptr<FrameSink> MakePngSequenceSink(const std::string& pattern,
                                               const FrameFormat& format);
std::unique_ptr<FrameSink> MakeGifSink(const std::string& path, const FrameFormat& format);
// Raw and y4m go to a file (staged) or, with path "-", to the given stream.
std::unique_ptr<FrameSink> MakeRawSink(const std::string& path, const FrameFormat& format,
                                       FILE* standardOutput);
std::unique_ptr<FrameSink> MakeY4mSink(const std::string& path, const FrameFormat& format,
                                       FILE* standardOutput);

}  // namespace vtool
