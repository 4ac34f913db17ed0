// The viewer's command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vtool {

struct ViewOptions {
  std::string pluginPath;
  std::string size = "960x540";
  std::vector<std::string> assignments;
  std::string screenshotPath;    // empty: numbered names in the current folder
  uint32_t screenshotAfter = 0;  // 0: never; else screenshot after that many frames and quit
  uint32_t frames = 0;           // 0: run until closed
  bool hidePanel = false;
  std::string resize;  // empty: none; else WxH to resize the window to after the first frame
};

// Answers -1 to go on, otherwise the exit code (help shown, or a usage error reported).
int ParseViewOptions(int argc, char** argv, ViewOptions* options);

}  // namespace vtool
