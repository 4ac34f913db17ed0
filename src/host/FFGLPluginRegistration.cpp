#include "host/FFGLPluginRegistration.h"

#include <cstring>
#include <new>

#include "framework/TextCopy.h"

namespace {

// Constant-initialised, so it is null before any static constructor runs.
FFGLPluginRegistration* registration = nullptr;

// Byte by byte up to and including the first zero byte or until the field is full; the rest
// of the field keeps its zeros. A null text writes nothing.
template <size_t N>
void CopyField(uint8_t (&field)[N], const char* text) {
  if (text == nullptr) return;
  for (size_t i = 0; i < N; ++i) {
    field[i] = static_cast<uint8_t>(text[i]);
    if (text[i] == '\0') break;
  }
}

}  // namespace

FFGLPluginRegistration::FFGLPluginRegistration(PluginFactory factory, const char* uniqueId,
                                               const char* name, uint32_t apiMajorVersion,
                                               uint32_t apiMinorVersion,
                                               uint32_t pluginMajorVersion,
                                               uint32_t pluginMinorVersion, uint32_t pluginType,
                                               const char* description, const char* about,
                                               uint32_t extendedDataSize, const void* extendedData)
    : factory(factory) {
  info.apiMajorVersion = apiMajorVersion;
  info.apiMinorVersion = apiMinorVersion;
  CopyField(info.name, name);
  CopyField(info.uniqueId, uniqueId);
  info.pluginType = pluginType;
  extendedInfo.about = CopyText(about);
  extendedInfo.description = CopyText(description);
  extendedInfo.pluginMajorVersion = pluginMajorVersion;
  extendedInfo.pluginMinorVersion = pluginMinorVersion;
  // The caller's block is kept, not copied; only a complete one is recorded.
  if (extendedDataSize != 0 && extendedData != nullptr) {
    extendedInfo.extendedDataSize = extendedDataSize;
    extendedInfo.extendedData = const_cast<void*>(extendedData);
  } else {
    extendedInfo.extendedDataSize = 0;
    extendedInfo.extendedData = nullptr;
  }
  registration = this;
}

FFGLPluginRegistration::~FFGLPluginRegistration() {
  delete[] extendedInfo.about;
  extendedInfo.about = nullptr;
  delete[] extendedInfo.description;
  extendedInfo.description = nullptr;
}

FFGLPluginRegistration* GetRegistration() {
  return registration;
}
