// Runs a tool binary as a child process and collects what it wrote.
#pragma once

#include <string>
#include <vector>

struct ToolResult {
  int exitCode = -1;  // the exit status, or 128 + signal when killed by one
  std::string out;    // standard output, bytes as written
  std::string err;    // standard error
};

// Runs program with args; standard input is /dev/null. Fails the calling test when the
// process cannot be started.
ToolResult RunTool(const std::string& program, const std::vector<std::string>& args);

// A private folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Names of the entries in the folder, dot files included, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string path_;
};

std::string ReadWholeFile(const std::string& path);
