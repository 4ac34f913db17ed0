#include "StagedFile.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ToolError.h"

namespace vtool {
namespace {

std::string Reason() {
  return std::strerror(errno);
}

}  // namespace

StagedFile::StagedFile(const std::string& finalPath) : finalPath_(finalPath) {
  if (finalPath.empty()) throw ToolError("opening output", "empty file name");
  const size_t slash = finalPath.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : finalPath.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? finalPath : finalPath.substr(slash + 1);
  if (base.empty()) throw ToolError("opening output", finalPath + ": names a folder, not a file");

  struct stat existing {};
  if (stat(finalPath.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) throw ToolError("opening output", finalPath + ": is a folder");
    // A device or pipe (/dev/null, a FIFO) is written in place: renaming over it would
    // replace the device node with a plain file.
    if (!S_ISREG(existing.st_mode)) {
      stream_ = std::fopen(finalPath.c_str(), "wb");
      if (stream_ == nullptr) throw ToolError("opening output", finalPath + ": " + Reason());
      return;
    }
  }

  std::string pattern = folder + "." + base + ".part-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int descriptor = mkstemp(name.data());
  if (descriptor < 0) throw ToolError("opening output", finalPath + ": " + Reason());
  stagedPath_ = name.data();
  // mkstemp makes the file private; give it the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(descriptor, 0666 & ~mask);
  stream_ = fdopen(descriptor, "wb");
  if (stream_ == nullptr) {
    const std::string why = Reason();
    close(descriptor);
    unlink(stagedPath_.c_str());
    throw ToolError("opening output", finalPath + ": " + why);
  }
}

StagedFile::~StagedFile() {
  if (stream_ != nullptr) fclose(stream_);
  if (!committed_ && !stagedPath_.empty()) unlink(stagedPath_.c_str());
}

void StagedFile::Close() {
  if (stream_ == nullptr) return;
  const bool flushed = fflush(stream_) == 0 && ferror(stream_) == 0;
  const std::string why = Reason();
  const bool closed = fclose(stream_) == 0;
  stream_ = nullptr;
  if (!flushed || !closed) {
    throw ToolError("writing output", finalPath_ + ": " + (flushed ? Reason() : why));
  }
}

void StagedFile::Commit() {
  Close();
  if (!stagedPath_.empty() && rename(stagedPath_.c_str(), finalPath_.c_str()) != 0) {
    throw ToolError("writing output", finalPath_ + ": " + Reason());
  }
  committed_ = true;
}

}  // namespace vtool
