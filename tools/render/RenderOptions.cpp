#include "RenderOptions.h"

#include <CLI/CLI.hpp>
#include <cmath>

#ifndef VANTOREL_DEFAULT_PLUGIN
#define VANTOREL_DEFAULT_PLUGIN "Vantorel.so"
#endif

namespace vtool {

uint32_t RenderOptions::FrameCount() const {
  if (frames > 0) return frames;
  if (duration > 0.0) return static_cast<uint32_t>(std::max(1.0, std::ceil(duration * fps)));
  return 1;
}

int ParseRenderOptions(int argc, char** argv, RenderOptions* options) {
  options->pluginPath = VANTOREL_DEFAULT_PLUGIN;
  CLI::App app{
      "vantorel-render: renders a FreeFrame GL source plugin without a window, through an EGL "
      "context, into PNG, a PNG sequence, GIF, or raw/y4m frames on standard output."};
  app.option_defaults()->always_capture_default();
  app.add_option("--plugin", options->pluginPath, "Plugin module to load");
  app.add_option("--size", options->size, "Picture size as WxH");
  auto* frames = app.add_option("--frames", options->frames, "Number of frames")
                     ->check(CLI::Range(1u, 10000000u));
  auto* duration = app.add_option("--duration", options->duration, "Length in seconds")
                       ->check(CLI::Range(1e-6, 1e6));
  frames->excludes(duration);
  app.add_option("--fps", options->fps, "Frames per second")->check(CLI::Range(0.01, 1000.0));
  app.add_option("--set", options->assignments,
                 "Parameter value as NAME=VALUE; NAME as the host reads it (case ignored) or "
                 "the index; repeatable");
  app.add_flag("--list", options->list, "Show the plugin's identity and parameters, then exit");
  app.add_option("-o,--output", options->output,
                 "Output file: NAME.png, NAME_%04d.png (sequence), NAME.gif, or - for standard "
                 "output with --format raw|y4m");
  app.add_option("--format", options->format, "auto, png, gif, raw (RGBA, rows top first) or y4m")
      ->check(CLI::IsMember({"auto", "png", "gif", "raw", "y4m"}));
  app.add_option("--egl", options->egl,
                 "EGL platform: auto (an NVIDIA GPU's device if present, else Mesa "
                 "surfaceless), surfaceless or device")
      ->check(CLI::IsMember({"auto", "surfaceless", "device"}));
  app.add_flag("-q,--quiet", options->quiet, "No progress and no summary on stderr");
  app.footer(
      "Time: a plugin that declines host time (capability 5 is 0, as Vantorel does) animates on "
      "its own clock, so frames are drawn in real time, one every 1/fps seconds; a plugin that "
      "accepts host time is sent frame/fps seconds with code 20 and frames are drawn as fast "
      "as possible.\n"
      "Examples:\n"
      "  vantorel-render --size 480x270 --duration 2 -o clip.gif\n"
      "  vantorel-render --frames 150 -o - --format y4m | ffmpeg -i - clip.mp4");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return app.exit(error);
    fprintf(stderr, "vantorel-render: reading options: %s\n", error.what());
    return 2;
  }
  if (!options->list && options->output.empty()) {
    fprintf(stderr, "vantorel-render: reading options: no output; give -o FILE (or --list)\n");
    return 2;
  }
  return -1;
}

}  // namespace vtool
