#include "ViewOptions.h"

#include <CLI/CLI.hpp>

#ifndef VANTOREL_DEFAULT_PLUGIN
#define VANTOREL_DEFAULT_PLUGIN "Vantorel.so"
#endif

namespace vtool {

int ParseViewOptions(int argc, char** argv, ViewOptions* options) {
  options->pluginPath = VANTOREL_DEFAULT_PLUGIN;
  CLI::App app{
      "vantorel-view: shows a FreeFrame GL source plugin live in a window, with a "
      "slider or switch for every parameter it declares."};
  app.option_defaults()->always_capture_default();
  app.add_option("--plugin", options->pluginPath, "Plugin module to load");
  app.add_option("--size", options->size, "Initial window size as WxH");
  app.add_option("--set", options->assignments,
                 "Starting value as NAME=VALUE (name as the host reads it, or the index)");
  app.add_option("--screenshot", options->screenshotPath,
                 "File for screenshots (default: vantorel-view-N.png in the current folder)");
  app.add_option("--screenshot-after", options->screenshotAfter,
                 "Take a screenshot after this many frames, then quit")
      ->check(CLI::Range(1u, 100000000u));
  app.add_option("--frames", options->frames, "Quit after this many frames")
      ->check(CLI::Range(1u, 100000000u));
  app.add_option("--resize", options->resize,
                 "Resize the window to WxH after the first frame (to try resizing)");
  app.add_flag("--hide-panel", options->hidePanel, "Start with the parameter panel hidden");
  app.footer(
      "Keys: R reset to defaults, S or F12 screenshot (the picture without the panel), F or "
      "F11 fullscreen, H or Tab show/hide the panel, Q or Esc quit.");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return app.exit(error);
    fprintf(stderr, "vantorel-view: reading options: %s\n", error.what());
    return 2;
  }
  return -1;
}

}  // namespace vtool
