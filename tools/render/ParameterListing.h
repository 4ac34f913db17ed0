// The text that --list prints.
#pragma once

#include <cstdio>

#include "PluginLibrary.h"

namespace vtool {

void PrintListing(FILE* stream, const PluginLibrary& plugin);

}  // namespace vtool
