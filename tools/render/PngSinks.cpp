// Single-picture and numbered-sequence PNG output.
#include <cstring>
#include <vector>

#include "FrameSink.h"
#include "PngFile.h"
#include "StagedFile.h"

namespace vtool {
namespace {

// Keeps the last frame: with several frames the picture shows where the animation ended.
class PngSink : public FrameSink {
 public:
  PngSink(const std::string& path, const FrameFormat& format)
      : file_(path),
        format_(format),
        last_(static_cast<size_t>(format.width) * format.height * 4) {}

  void Write(const uint8_t* rgba, uint32_t) override {
    std::memcpy(last_.data(), rgba, last_.size());
  }

  void Finish() override {
    WritePng(file_.stream(), file_.finalPath(), format_.width, format_.height, last_.data());
    file_.Commit();
  }

 private:
  StagedFile file_;
  FrameFormat format_;
  std::vector<uint8_t> last_;
};

// Every frame is staged; all are renamed into place only once the whole run succeeded.
class PngSequenceSink : public FrameSink {
 public:
  PngSequenceSink(const std::string& pattern, const FrameFormat& format)
      : pattern_(pattern), format_(format) {
    // The first file is opened now to find an unwritable folder before rendering.
    files_.push_back(std::make_unique<StagedFile>(SequenceName(pattern_, 0)));
  }

  void Write(const uint8_t* rgba, uint32_t index) override {
    if (index >= files_.size()) {
      files_.push_back(std::make_unique<StagedFile>(SequenceName(pattern_, index)));
    }
    StagedFile& file = *files_[index];
    WritePng(file.stream(), file.finalPath(), format_.width, format_.height, rgba);
    file.Close();
  }

  void Finish() override {
    for (auto& file : files_) file->Commit();
  }

 private:
  std::string pattern_;
  FrameFormat format_;
  std::vector<std::unique_ptr<StagedFile>> files_;
};

}  // namespace

std::unique_ptr<FrameSink> MakePngSink(const std::string& path, const FrameFormat& format) {
  return std::make_unique<PngSink>(path, format);
}

std::unique_ptr<FrameSink> MakePngSequenceSink(const std::string& pattern,
                                               const FrameFormat& format) {
  return std::make_unique<PngSequenceSink>(pattern, format);
}

}  // namespace vtool
