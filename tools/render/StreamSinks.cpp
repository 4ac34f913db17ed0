// Uncompressed frame streams: raw RGBA and YUV4MPEG2, to a file or to standard output.
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

#include "FrameSink.h"
#include "StagedFile.h"
#include "ToolError.h"

namespace vtool {
namespace {

// A staged file, or standard output when the name is "-".
class Destination {
 public:
  Destination(const std::string& path, FILE* standardOutput) {
    if (path == "-") {
      stream_ = standardOutput;
      name_ = "standard output";
      if (isatty(fileno(stream_))) {
        throw ToolError("writing output", "refusing to write video frames to a terminal");
      }
    } else {
      file_ = std::make_unique<StagedFile>(path);
      stream_ = file_->stream();
      name_ = path;
    }
  }

  void Put(const void* bytes, size_t size) {
    if (fwrite(bytes, 1, size, stream_) != size) {
      throw ToolError("writing output", name_ + ": " + std::strerror(errno));
    }
  }

  void Finish() {
    if (file_ != nullptr) {
      file_->Commit();
    } else if (fflush(stream_) != 0) {
      throw ToolError("writing output", name_ + ": " + std::strerror(errno));
    }
  }

 private:
  std::unique_ptr<StagedFile> file_;
  FILE* stream_ = nullptr;
  std::string name_;
};

class RawSink : public FrameSink {
 public:
  RawSink(const std::string& path, const FrameFormat& format, FILE* standardOutput)
      : destination_(path, standardOutput),
        frameBytes_(static_cast<size_t>(format.width) * format.height * 4) {}

  void Write(const uint8_t* rgba, uint32_t) override { destination_.Put(rgba, frameBytes_); }
  void Finish() override { destination_.Finish(); }

 private:
  Destination destination_;
  size_t frameBytes_;
};

// Coefficients in 16-bit fixed point; each row sums so that grey maps exactly.
uint8_t Luma(int r, int g, int b) {
  return static_cast<uint8_t>((19595 * r + 38470 * g + 7471 * b + 32768) >> 16);
}

// A chroma value offset by 128, kept positive before the shift and clamped to 255.
uint8_t Chroma(int weighted) {
  const int value = (weighted + (128 << 16) + 32768) >> 16;
  return static_cast<uint8_t>(value > 255 ? 255 : value);
}

// Full-range BT.601 4:4:4, which keeps grey levels exact.
class Y4mSink : public FrameSink {
 public:
  Y4mSink(const std::string& path, const FrameFormat& format, FILE* standardOutput)
      : destination_(path, standardOutput),
        format_(format),
        planes_(static_cast<size_t>(format.width) * format.height * 3) {
    long numerator = std::lround(format.fps);
    long denominator = 1;
    if (std::fabs(format.fps - static_cast<double>(numerator)) > 1e-9) {
      numerator = std::lround(format.fps * 1000.0);
      denominator = 1000;
    }
    const std::string header = "YUV4MPEG2 W" + std::to_string(format.width) + " H" +
                               std::to_string(format.height) + " F" + std::to_string(numerator) +
                               ":" + std::to_string(denominator) +
                               " Ip A1:1 C444 XCOLORRANGE=FULL\n";
    destination_.Put(header.data(), header.size());
  }

  void Write(const uint8_t* rgba, uint32_t) override {
    const size_t pixels = static_cast<size_t>(format_.width) * format_.height;
    uint8_t* y = planes_.data();
    uint8_t* cb = y + pixels;
    uint8_t* cr = cb + pixels;
    for (size_t i = 0; i < pixels; ++i) {
      const int r = rgba[i * 4], g = rgba[i * 4 + 1], b = rgba[i * 4 + 2];
      y[i] = Luma(r, g, b);
      cb[i] = Chroma(-11059 * r - 21709 * g + 32768 * b);
      cr[i] = Chroma(32768 * r - 27439 * g - 5329 * b);
    }
    static const char kFrame[] = "FRAME\n";
    destination_.Put(kFrame, sizeof kFrame - 1);
    destination_.Put(planes_.data(), planes_.size());
  }

  void Finish() override { destination_.Finish(); }

 private:
  Destination destination_;
  FrameFormat format_;
  std::vector<uint8_t> planes_;
};

}  // namespace

std::unique_ptr<FrameSink> MakeRawSink(const std::string& path, const FrameFormat& format,
                                       FILE* standardOutput) {
  return std::make_unique<RawSink>(path, format, standardOutput);
}

std::unique_ptr<FrameSink> MakeY4mSink(const std::string& path, const FrameFormat& format,
                                       FILE* standardOutput) {
  return std::make_unique<Y4mSink>(path, format, standardOutput);
}

}  // namespace vtool
