// An output file written under a temporary name in its own folder and renamed into place on
// success, so that a failed run leaves nothing under the final name. An existing device or pipe
// is written in place.
#pragma once

#include <cstdio>
#include <string>

namespace vtool {

class StagedFile {
 public:
  // Creates the temporary file now, so an unwritable place fails before any work is done.
  // Throws ToolError.
  explicit StagedFile(const std::string& finalPath);
  ~StagedFile();  // removes the temporary file unless committed
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  FILE* stream() const { return stream_; }
  const std::string& finalPath() const { return finalPath_; }
  const std::string& stagedPath() const { return stagedPath_; }  // empty when written in place

  // Closes the stream and checks it; the file stays under its temporary name. Throws.
  void Close();
  // Closes if needed and renames onto the final name. Throws ToolError.
  void Commit();

 private:
  std::string finalPath_;
  std::string stagedPath_;
  FILE* stream_ = nullptr;
  bool committed_ = false;
};

}  // namespace vtool
