// The live viewer: one window, one plugin instance sized to it, and the parameter panel.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ParameterAssignment.h"
#include "ParameterPanel.h"
#include "PluginLibrary.h"
#include "ViewOptions.h"

struct GLFWwindow;

namespace vtool {

class ViewerApp {
 public:
  // Loads the plugin and opens the window. Throws ToolError.
  explicit ViewerApp(const ViewOptions& options);
  ~ViewerApp();
  ViewerApp(const ViewerApp&) = delete;
  ViewerApp& operator=(const ViewerApp&) = delete;

  // Runs until the window closes or a frame limit is reached. Throws ToolError.
  void Run();

 private:
  static void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
  void HandleKey(int key);
  // Makes a new instance when the drawing surface changed size; false while it is empty.
  bool FollowSurface();
  void DrawPlugin();
  void TakeScreenshot();
  void ToggleFullscreen();
  void RestoreFixedFunctionState();

  ViewOptions options_;
  PluginLibrary plugin_;
  ParameterPanel panel_;
  GLFWwindow* window_ = nullptr;
  std::unique_ptr<PluginInstance> instance_;
  int surfaceWidth_ = 0;
  int surfaceHeight_ = 0;
  bool showPanel_ = true;
  bool screenshotWanted_ = false;
  int screenshotCount_ = 0;
  Size resizeTo_;                        // 0x0: no resize asked for
  int windowedPlace_[4] = {0, 0, 0, 0};  // x, y, width, height before fullscreen
};

}  // namespace vtool
