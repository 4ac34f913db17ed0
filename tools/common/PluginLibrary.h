// A plugin module loaded at run time and driven through its plugMain alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/FreeFrame.h"

namespace vtool {

struct PluginIdentity {
  uint32_t apiMajor = 0;
  uint32_t apiMinor = 0;
  std::string uniqueId;  // the 4-byte identifier, up to its first zero byte
  std::string name;      // the 16-byte name field, up to its first zero byte
  uint32_t pluginType = 0;
  bool hasExtendedInfo = false;
  uint32_t pluginMajor = 0;
  uint32_t pluginMinor = 0;
  std::string description;
  std::string about;
};

struct ParameterInfo {
  uint32_t index = 0;
  std::string name;  // as the host reads the 16-byte field
  uint32_t type = FF_TYPE_STANDARD;
  float defaultValue = 0.0f;  // float parameters
  std::string defaultText;    // text parameters
  bool IsText() const { return type == FF_TYPE_TEXT; }
  bool IsSwitch() const { return type == FF_TYPE_BOOLEAN; }
};

// What the plugin says it can do (code 10).
struct PluginCapabilities {
  bool openGL = false;
  bool acceptsHostTime = false;
  uint32_t minimumInputs = 0;
  uint32_t maximumInputs = 0;
};

// A parameter value as the host sends it: a float, or a text for text parameters.
struct ParameterValue {
  float number = 0.0f;
  std::string text;
};

class PluginLibrary {
 public:
  // Loads the module and runs the identity, initialise, parameter and capability codes.
  // Throws ToolError naming the failed step.
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();  // code 2, then unload
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  const std::string& path() const { return path_; }
  const PluginIdentity& identity() const { return identity_; }
  const std::vector<ParameterInfo>& parameters() const { return parameters_; }
  const PluginCapabilities& capabilities() const { return capabilities_; }
  ParameterValue DefaultValue(uint32_t index) const;

  // Raw call into the module.
  FFResult Call(uint32_t code, FFMixed input, FFInstanceID instance) const {
    return plugMain_(code, input, instance);
  }

 private:
  void ReadIdentity();
  void ReadParameters();
  void ReadCapabilities();

  std::string path_;
  void* handle_ = nullptr;
  FFPlugMainFunc plugMain_ = nullptr;
  PluginIdentity identity_;
  std::vector<ParameterInfo> parameters_;
  PluginCapabilities capabilities_;
};

// One instance of a plugin for one drawing surface. Construction and destruction need the
// host's OpenGL context current.
class PluginInstance {
 public:
  PluginInstance(const PluginLibrary& library, uint32_t width, uint32_t height);
  ~PluginInstance();  // code 19
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  // Code 8; false when the plugin refuses the value.
  bool SetParameter(uint32_t index, const ParameterValue& value);
  // Code 7: the plugin's display text, empty when it has none.
  std::string DisplayText(uint32_t index) const;
  // Code 20; false when the plugin declines it.
  bool SetTime(double seconds);
  // Code 17 into the given framebuffer with no inputs; false when the plugin reports failure.
  bool DrawFrame(uint32_t hostFramebuffer);

 private:
  const PluginLibrary& library_;
  FFInstanceID id_ = 0;
};

}  // namespace vtool
