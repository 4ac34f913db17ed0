// vantorel-render: a headless host for FreeFrame GL source plugins.
#include <csignal>
#include <cstdio>
#include <exception>
#include <new>

#include "RenderJob.h"
#include "RenderOptions.h"

namespace {

volatile std::sig_atomic_t signalled = 0;

// The first signal stops the run cleanly; a second one ends the process at once.
void OnSignal(int signal) {
  if (signalled) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  signalled = 1;
  vtool::RequestStop();
}

}  // namespace

int main(int argc, char** argv) {
  vtool::RenderOptions options;
  const int parsed = vtool::ParseRenderOptions(argc, argv, &options);
  if (parsed >= 0) return parsed;
  // A closed pipe becomes a write error instead of a silent death.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  try {
    vtool::RunRender(options);
  } catch (const std::bad_alloc&) {
    fprintf(stderr, "vantorel-render: allocating memory: out of memory (try a smaller --size)\n");
    return 1;
  } catch (const std::exception& error) {
    fprintf(stderr, "vantorel-render: %s\n", error.what());
    return 1;
  }
  return 0;
}
