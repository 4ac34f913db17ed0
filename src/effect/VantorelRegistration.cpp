// The library's identity, built at load; its destructor frees the texts at unload.
#include "effect/Vantorel.h"
#include "host/FFGLPluginRegistration.h"

namespace {

FFGLPluginRegistration registration(
    Vantorel::createInstance, "QTRV", "Vantorel1", 1, 6, 1, 4, 1,
    "Generate  a circular black and white checker control rotation, vortex , edge smoothness",
    "Vantorel: procedural ring-and-spoke pattern generator by the Vantorel project", 0, nullptr);

}  // namespace
