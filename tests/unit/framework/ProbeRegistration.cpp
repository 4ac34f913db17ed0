#include "ProbePlugin.h"
#include "host/FFGLPluginRegistration.h"

// The test program's one registration, built at load as a plugin's would be.
static FFGLPluginRegistration registration(ProbePlugin::Create, "PRB1", "Probe", 1, 6, 2, 3, 1,
                                           "A plugin that records its calls", "Test credit", 0,
                                           nullptr);
