#include "gl/FFGLExtensionTable.h"

// Stores each address as soon as it is found, so a later failure keeps the earlier ones.
#define FFGL_RESOLVE_ENTRY_POINT(type, name) \
  name = reinterpret_cast<type>(ResolveEntryPoint(#name));

platform::ProcAddress FFGLExtensionTable::ResolveEntryPoint(const char* name) {
  platform::ProcAddress address = platform::LookupEntryPoint(name);
  if (address == nullptr) throw FFGLMissingEntryPoint{};
  return address;
}

void FFGLExtensionTable::ResolveAll() {
  ResolveSwapControl();
  ResolveMultitexture();
  ResolveShaderObjects();
  ResolveFramebufferObject();
}

void FFGLExtensionTable::ResolveSwapControl() {
  try {
    FFGL_SWAP_CONTROL_ENTRY_POINTS(FFGL_RESOLVE_ENTRY_POINT)
    hasSwapControl = 1;
  } catch (...) {
    hasSwapControl = 0;
  }
}

void FFGLExtensionTable::ResolveMultitexture() {
  try {
    FFGL_MULTITEXTURE_ENTRY_POINTS(FFGL_RESOLVE_ENTRY_POINT)
    hasMultitexture = 1;
  } catch (...) {
    hasMultitexture = 0;
  }
}

void FFGLExtensionTable::ResolveShaderObjects() {
  try {
    FFGL_SHADER_OBJECT_ENTRY_POINTS(FFGL_RESOLVE_ENTRY_POINT)
    hasShaderObjects = 1;
  } catch (...) {
    hasShaderObjects = 0;
  }
}

void FFGLExtensionTable::ResolveFramebufferObject() {
  try {
    FFGL_FRAMEBUFFER_OBJECT_ENTRY_POINTS(FFGL_RESOLVE_ENTRY_POINT)
    hasFramebufferObject = 1;
  } catch (...) {
    hasFramebufferObject = 0;
  }
}
