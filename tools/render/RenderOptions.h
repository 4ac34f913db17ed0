// The renderer's command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vtool {

struct RenderOptions {
  std::string pluginPath;
  std::string size = "640x360";
  uint32_t frames = 0;    // 0: not given
  double duration = 0.0;  // 0: not given
  double fps = 30.0;
  std::vector<std::string> assignments;
  bool list = false;
  std::string output;
  std::string format = "auto";
  std::string egl = "auto";
  bool quiet = false;

  // Frames to render: --frames, or --duration times --fps, or one.
  uint32_t FrameCount() const;
};

// Parses the command line. Answers -1 to go on, otherwise the exit code (help shown, or a
// usage error already reported on stderr).
int ParseRenderOptions(int argc, char** argv, RenderOptions* options);

}  // namespace vtool
