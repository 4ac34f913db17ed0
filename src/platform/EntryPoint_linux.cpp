// Entry points come from the window-system library whose context is current: EGL for headless
// hosts, GLX for windowed ones. Both are opened at run time, so the plugin links neither.
#include <dlfcn.h>

#include <initializer_list>

#include "platform/Platform.h"

namespace {

using GetCurrentContextFunc = void* (*)();
using GetProcAddressFunc = platform::ProcAddress (*)(const char*);

struct WindowSystem {
  const char* const* libraries;  // names the host may have loaded it under, null-terminated
  const char* currentContextName;
  const char* getProcAddressName;
  GetCurrentContextFunc currentContext = nullptr;
  GetProcAddressFunc getProcAddress = nullptr;
};

const char* const kEglLibraries[] = {"libEGL.so.1", "libEGL.so", nullptr};
// libGL.so.1 also carries GLX where it is not the dispatching shim.
const char* const kGlxLibraries[] = {"libGLX.so.0", "libGL.so.1", "libGLX.so", "libGL.so", nullptr};

// Binds the system's two functions from a library the host already loaded; never loads one.
bool Attach(WindowSystem& system) {
  if (system.currentContext != nullptr) return true;
  for (const char* const* name = system.libraries; *name != nullptr; ++name) {
    void* library = dlopen(*name, RTLD_LAZY | RTLD_NOLOAD);
    if (library == nullptr) continue;
    auto currentContext =
        reinterpret_cast<GetCurrentContextFunc>(dlsym(library, system.currentContextName));
    auto getProcAddress =
        reinterpret_cast<GetProcAddressFunc>(dlsym(library, system.getProcAddressName));
    if (currentContext != nullptr && getProcAddress != nullptr) {
      // The handle stays open: the functions must outlive any unload by the host.
      system.currentContext = currentContext;
      system.getProcAddress = getProcAddress;
      return true;
    }
    dlclose(library);
  }
  return false;
}

}  // namespace

namespace platform {

ProcAddress LookupEntryPoint(const char* name) {
  if (name == nullptr) return nullptr;
  static WindowSystem egl{kEglLibraries, "eglGetCurrentContext", "eglGetProcAddress"};
  static WindowSystem glx{kGlxLibraries, "glXGetCurrentContext", "glXGetProcAddressARB"};
  for (WindowSystem* system : {&egl, &glx}) {
    if (Attach(*system) && system->currentContext() != nullptr) {
      return system->getProcAddress(name);
    }
  }
  // No context is current on this thread: nothing can be provided for it.
  return nullptr;
}

}  // namespace platform
