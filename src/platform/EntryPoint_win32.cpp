#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "platform/Platform.h"

namespace platform {

ProcAddress LookupEntryPoint(const char* name) {
  if (name == nullptr) return nullptr;
  return reinterpret_cast<ProcAddress>(wglGetProcAddress(name));
}

}  // namespace platform
