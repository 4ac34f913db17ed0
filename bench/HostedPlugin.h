// The plugin module loaded as a host loads it, on a headless context of its own, for the
// benchmarks that need real drawing.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "BarePattern.h"
#include "PluginLibrary.h"
#include "common/EglHost.h"

namespace bench {

// The module this build makes.
std::string DefaultPluginPath();

// Width and height from "WxH"; false when the text is not that.
bool ParseSize(const std::string& text, int* width, int* height);

// The pattern's uniform values for the plugin's parameter defaults, found by parameter name.
PatternValues DefaultPatternValues(const vtool::PluginLibrary& library);

// Seconds on the steady clock since the first call.
double Seconds();

// The input word of a code that takes none.
FFMixed NoInput();

// Code 18 at the host's size; 0 when the plugin refuses.
FFInstanceID Instantiate(const vtool::PluginLibrary& library, const vtool::EglHost& host);

}  // namespace bench
