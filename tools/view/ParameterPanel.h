// The window of sliders and switches, one per declared parameter, with the plugin's own
// display text beside each.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PluginLibrary.h"

namespace vtool {

// What the user asked for from the panel's buttons this frame.
struct PanelRequests {
  bool reset = false;
  bool screenshot = false;
  bool fullscreen = false;
  bool quit = false;
};

class ParameterPanel {
 public:
  explicit ParameterPanel(const PluginLibrary& plugin);

  std::vector<ParameterValue>& values() { return values_; }
  // Marks every parameter for sending to the instance.
  void MarkAllChanged();
  void ResetToDefaults();
  // Draws the panel (inside an ImGui frame); edited parameters are marked changed.
  PanelRequests Draw(const PluginInstance* instance, float framesPerSecond);
  // Sends the changed parameters with code 8 and clears the marks.
  void SendChanges(PluginInstance& instance);

 private:
  const PluginLibrary& plugin_;
  std::vector<ParameterValue> values_;
  std::vector<bool> changed_;
  std::vector<std::vector<char>> textEdits_;
};

}  // namespace vtool
