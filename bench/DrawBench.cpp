// Frames per second of code 17 against the bare pattern program in the same context, the two
// alternated round by round (plugin first in odd rounds, bare first in even ones) so that drift
// in the machine's load falls on both alike.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "BarePattern.h"
#include "HostedPlugin.h"
#include "ToolError.h"

namespace {

struct Options {
  std::string plugin = bench::DefaultPluginPath();
  std::string size = "1280x720";
  int rounds = 5;
  double seconds = 1.0;   // per side and round
  int finishEvery = 1;    // frames per glFinish
  bool readBack = false;  // each frame also read into host memory, as a renderer must
  bool smoke = false;
};

int Usage() {
  std::fprintf(stderr,
               "usage: bench_draw [--plugin PATH] [--size WxH] [--rounds N] [--seconds S]\n"
               "                  [--finish-every N] [--read-back] [--smoke]\n");
  return 2;
}

bool Parse(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    const bool hasValue = i + 1 < argc;
    if (flag == "--smoke") {
      options->smoke = true;
    } else if (flag == "--read-back") {
      options->readBack = true;
    } else if (flag == "--plugin" && hasValue) {
      options->plugin = argv[++i];
    } else if (flag == "--size" && hasValue) {
      options->size = argv[++i];
    } else if (flag == "--rounds" && hasValue) {
      options->rounds = std::atoi(argv[++i]);
    } else if (flag == "--seconds" && hasValue) {
      options->seconds = std::atof(argv[++i]);
    } else if (flag == "--finish-every" && hasValue) {
      options->finishEvery = std::atoi(argv[++i]);
    } else {
      return false;
    }
  }
  return options->rounds > 0 && options->seconds > 0.0 && options->finishEvery > 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

class Race {
 public:
  Race(const Options& options, const vtool::PluginLibrary& library, vtool::EglHost& host,
       FFInstanceID id, bench::BarePattern& bare)
      : options_(options), library_(library), host_(host), id_(id), bare_(bare) {
    frame_.inputCount = 0;
    frame_.inputTextures = nullptr;
    frame_.hostFramebuffer = host.Framebuffer();
    if (options.readBack) pixels_.resize(static_cast<size_t>(host.Width()) * host.Height() * 4);
  }

  // Seconds for `frames` frames through plugMain.
  double Plugin(int frames) {
    FFMixed input;
    input.PointerValue = &frame_;
    const double start = bench::Seconds();
    for (int i = 0; i < frames; ++i) {
      if (library_.Call(FF_PROCESSOPENGL, input, id_) == FF_FAIL) {
        throw vtool::ToolError("drawing through the plugin", "code 17 failed");
      }
      Finish(i, frames);
    }
    return bench::Seconds() - start;
  }

  // Seconds for `frames` frames of the bare program.
  double Bare(int frames) {
    const auto width = static_cast<float>(host_.Width());
    const auto height = static_cast<float>(host_.Height());
    const double start = bench::Seconds();
    bare_.Bind();
    for (int i = 0; i < frames; ++i) {
      bare_.Draw(bench::Seconds(), width, height);
      Finish(i, frames);
    }
    bare_.Unbind();
    return bench::Seconds() - start;
  }

 private:
  void Finish(int i, int frames) {
    if (options_.readBack) {
      // One copy straight into host memory: the least a renderer that keeps frames must do.
      glPixelStorei(GL_PACK_ALIGNMENT, 1);
      glReadPixels(0, 0, host_.Width(), host_.Height(), GL_RGBA, GL_UNSIGNED_BYTE, pixels_.data());
    }
    if ((i + 1) % options_.finishEvery == 0 || i + 1 == frames) glFinish();
  }

  const Options& options_;
  const vtool::PluginLibrary& library_;
  vtool::EglHost& host_;
  FFInstanceID id_;
  bench::BarePattern& bare_;
  ProcessFrameRecord frame_{};
  std::vector<uint8_t> pixels_;
};

void Run(const Options& options) {
  int width = 0, height = 0;
  if (!bench::ParseSize(options.size, &width, &height)) {
    throw vtool::ToolError("reading options", "size \"" + options.size + "\" is not WxH");
  }
  vtool::EglHost host(width, height);
  if (!host.Ready()) throw vtool::ToolError("making OpenGL context", host.Error());
  vtool::PluginLibrary library(options.plugin);
  const FFInstanceID id = bench::Instantiate(library, host);
  if (id == 0) throw vtool::ToolError("making plugin instance", "code 18 failed");
  bench::BarePattern bare(host, bench::DefaultPatternValues(library));
  if (!bare.Error().empty()) throw vtool::ToolError("preparing bare program", bare.Error());

  Race race(options, library, host, id, bare);
  // The first frames build the driver's shader variants; they are not measured.
  race.Plugin(2);
  race.Bare(2);
  const double perFrame = std::max(race.Plugin(3), race.Bare(3)) / 3.0;
  const int frames =
      options.smoke ? 2
                    : std::max(options.finishEvery, static_cast<int>(options.seconds / perFrame));
  const int rounds = options.smoke ? 1 : options.rounds;

  std::vector<double> pluginFps, bareFps, ratios;
  for (int round = 0; round < rounds; ++round) {
    double pluginSeconds = 0.0, bareSeconds = 0.0;
    if (round % 2 == 0) {
      pluginSeconds = race.Plugin(frames);
      bareSeconds = race.Bare(frames);
    } else {
      bareSeconds = race.Bare(frames);
      pluginSeconds = race.Plugin(frames);
    }
    pluginFps.push_back(frames / pluginSeconds);
    bareFps.push_back(frames / bareSeconds);
    ratios.push_back(bareSeconds / pluginSeconds);
    std::printf("round %d: %d frames, plugin %.2f fps, bare %.2f fps, plugin/bare %.3f\n",
                round + 1, frames, pluginFps.back(), bareFps.back(), ratios.back());
  }
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", error);
    throw vtool::ToolError("drawing", std::string("OpenGL error ") + code);
  }
  library.Call(FF_DEINSTANTIATEGL, bench::NoInput(), id);
  std::printf(
      "draw size=%dx%d renderer=\"%s\" rounds=%d frames=%d finish_every=%d read_back=%d "
      "plugin_fps=%.3f bare_fps=%.3f ratio=%.4f ratio_min=%.4f ratio_max=%.4f\n",
      width, height, host.Renderer().c_str(), rounds, frames, options.finishEvery,
      options.readBack ? 1 : 0, Median(pluginFps), Median(bareFps), Median(ratios),
      *std::min_element(ratios.begin(), ratios.end()),
      *std::max_element(ratios.begin(), ratios.end()));
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!Parse(argc, argv, &options)) return Usage();
  if (options.smoke) options.size = "64x64";
  try {
    Run(options);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_draw: %s\n", error.what());
    return 1;
  }
  return 0;
}
