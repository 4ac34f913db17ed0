// One run of the renderer: load, list or render, write.
#pragma once

#include "RenderOptions.h"

namespace vtool {

// Throws ToolError for anything that stops the run.
void RunRender(const RenderOptions& options);

// Stops a run from a signal handler; the run then fails and removes its partial output.
void RequestStop();

}  // namespace vtool
