#include "PluginLibrary.h"

#include <dlfcn.h>

#include <cstring>

#include "ToolError.h"

namespace vtool {
namespace {

// More than any real plugin declares; guards against a garbage count.
constexpr uint32_t kMaxParameters = 4096;
// Longest text read from a plugin-owned address.
constexpr size_t kMaxText = 65536;

FFMixed Value(uint32_t value) {
  FFMixed mixed{};
  mixed.UIntValue = value;
  return mixed;
}

FFMixed Pointer(const void* address) {
  FFMixed mixed{};
  mixed.PointerValue = const_cast<void*>(address);
  return mixed;
}

bool Failed(FFResult result) {
  return result == FF_FAIL;
}

uint32_t Low32(FFResult result) {
  return static_cast<uint32_t>(result & 0xFFFFFFFFu);
}

float FloatFromBits(uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

uint32_t BitsFromFloat(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// A fixed-width field: its bytes up to the first zero, no terminator needed.
std::string FixedField(const uint8_t* field, size_t width) {
  size_t length = 0;
  while (length < width && field[length] != 0) ++length;
  return std::string(reinterpret_cast<const char*>(field), length);
}

std::string TextAt(const char* text) {
  if (text == nullptr) return std::string();
  return std::string(text, strnlen(text, kMaxText));
}

}  // namespace

PluginLibrary::PluginLibrary(const std::string& path) : path_(path) {
  dlerror();
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* why = dlerror();
    throw ToolError("loading plugin", why != nullptr ? why : path + ": cannot be loaded");
  }
  void* entry = dlsym(handle_, "plugMain");
  if (entry == nullptr) {
    dlclose(handle_);
    throw ToolError("loading plugin", path + ": has no plugMain entry point");
  }
  // POSIX guarantees object and function pointers convert.
  plugMain_ = reinterpret_cast<FFPlugMainFunc>(entry);
  try {
    ReadIdentity();
    if (Failed(Call(FF_INITIALISE, Value(0), 0))) {
      throw ToolError("initialising plugin", path + ": code 1 (initialise) failed");
    }
    ReadParameters();
    ReadCapabilities();
  } catch (...) {
    Call(FF_DEINITIALISE, Value(0), 0);
    dlclose(handle_);
    throw;
  }
}

PluginLibrary::~PluginLibrary() {
  Call(FF_DEINITIALISE, Value(0), 0);
  dlclose(handle_);
}

void PluginLibrary::ReadIdentity() {
  const FFResult info = Call(FF_GETINFO, Value(0), 0);
  if (info == 0 || Failed(info)) {
    throw ToolError("reading plugin identity", path_ + ": code 0 answered no record");
  }
  const auto* record = reinterpret_cast<const PluginInfoRecord*>(info);
  identity_.apiMajor = record->apiMajorVersion;
  identity_.apiMinor = record->apiMinorVersion;
  identity_.uniqueId = FixedField(record->uniqueId, sizeof record->uniqueId);
  identity_.name = FixedField(record->name, sizeof record->name);
  identity_.pluginType = record->pluginType;

  // Extended info is optional for older plugins.
  const FFResult extended = Call(FF_GETEXTENDEDINFO, Value(0), 0);
  if (extended != 0 && !Failed(extended)) {
    const auto* more = reinterpret_cast<const ExtendedInfoRecord*>(extended);
    identity_.hasExtendedInfo = true;
    identity_.pluginMajor = more->pluginMajorVersion;
    identity_.pluginMinor = more->pluginMinorVersion;
    identity_.description = TextAt(more->description);
    identity_.about = TextAt(more->about);
  }
}

void PluginLibrary::ReadParameters() {
  const FFResult count = Call(FF_GETNUMPARAMETERS, Value(0), 0);
  if (Failed(count)) {
    throw ToolError("reading parameters", path_ + ": code 4 (parameter count) failed");
  }
  if (count > kMaxParameters) {
    throw ToolError("reading parameters",
                    path_ + ": implausible parameter count " + std::to_string(count));
  }
  for (uint32_t index = 0; index < count; ++index) {
    ParameterInfo parameter;
    parameter.index = index;
    const FFResult name = Call(FF_GETPARAMETERNAME, Value(index), 0);
    if (name == 0 || Failed(name)) {
      throw ToolError("reading parameters",
                      path_ + ": no name for parameter " + std::to_string(index));
    }
    parameter.name = FixedField(reinterpret_cast<const uint8_t*>(name), 16);
    const FFResult type = Call(FF_GETPARAMETERTYPE, Value(index), 0);
    if (Failed(type)) {
      throw ToolError("reading parameters",
                      path_ + ": no type for parameter " + std::to_string(index));
    }
    parameter.type = Low32(type);
    const FFResult fallback = Call(FF_GETPARAMETERDEFAULT, Value(index), 0);
    if (parameter.IsText()) {
      if (fallback != 0 && !Failed(fallback)) {
        parameter.defaultText = TextAt(reinterpret_cast<const char*>(fallback));
      }
    } else {
      // -1 is also the bit pattern of a NaN; a plugin without a default gets 0.
      parameter.defaultValue = Failed(fallback) ? 0.0f : FloatFromBits(Low32(fallback));
    }
    parameters_.push_back(std::move(parameter));
  }
}

void PluginLibrary::ReadCapabilities() {
  auto ask = [this](uint32_t capability) {
    const FFResult answer = Call(FF_GETPLUGINCAPS, Value(capability), 0);
    return Failed(answer) ? 0u : Low32(answer);
  };
  capabilities_.openGL = ask(FF_CAP_OPENGL) == 1;
  capabilities_.acceptsHostTime = ask(FF_CAP_SETTIME) == 1;
  capabilities_.minimumInputs = ask(FF_CAP_MINIMUMINPUTFRAMES);
  capabilities_.maximumInputs = ask(FF_CAP_MAXIMUMINPUTFRAMES);
}

ParameterValue PluginLibrary::DefaultValue(uint32_t index) const {
  ParameterValue value;
  if (index < parameters_.size()) {
    value.number = parameters_[index].defaultValue;
    value.text = parameters_[index].defaultText;
  }
  return value;
}

PluginInstance::PluginInstance(const PluginLibrary& library, uint32_t width, uint32_t height)
    : library_(library) {
  ViewportRecord viewport{0, 0, width, height};
  const FFResult id = library_.Call(FF_INSTANTIATEGL, Pointer(&viewport), 0);
  if (id == 0 || Failed(id)) {
    throw ToolError("making plugin instance",
                    library_.path() + ": code 18 (instantiate) failed for " +
                        std::to_string(width) + "x" + std::to_string(height));
  }
  id_ = id;
}

PluginInstance::~PluginInstance() {
  library_.Call(FF_DEINSTANTIATEGL, Value(0), id_);
}

bool PluginInstance::SetParameter(uint32_t index, const ParameterValue& value) {
  const std::vector<ParameterInfo>& parameters = library_.parameters();
  ParameterPair pair{};
  pair.index = index;
  if (index < parameters.size() && parameters[index].IsText()) {
    pair.value.PointerValue = const_cast<char*>(value.text.c_str());
  } else {
    pair.value.UIntValue = BitsFromFloat(value.number);
  }
  return !Failed(library_.Call(FF_SETPARAMETER, Pointer(&pair), id_));
}

std::string PluginInstance::DisplayText(uint32_t index) const {
  const FFResult text = library_.Call(FF_GETPARAMETERDISPLAY, Value(index), id_);
  if (text == 0 || Failed(text)) return std::string();
  return TextAt(reinterpret_cast<const char*>(text));
}

bool PluginInstance::SetTime(double seconds) {
  return !Failed(library_.Call(FF_SETTIME, Pointer(&seconds), id_));
}

bool PluginInstance::DrawFrame(uint32_t hostFramebuffer) {
  ProcessFrameRecord frame{};
  frame.inputCount = 0;
  frame.inputTextures = nullptr;
  frame.hostFramebuffer = hostFramebuffer;
  return !Failed(library_.Call(FF_PROCESSOPENGL, Pointer(&frame), id_));
}

}  // namespace vtool
