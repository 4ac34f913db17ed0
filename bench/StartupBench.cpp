// Start-up on a real context: loading the module, then code 18 (program compile and link
// included) and the first frame after it, repeated on fresh instances.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "HostedPlugin.h"
#include "ToolError.h"

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

void Run(const std::string& pluginPath, int count) {
  vtool::EglHost host(1280, 720);
  if (!host.Ready()) throw vtool::ToolError("making OpenGL context", host.Error());
  const double loadStart = bench::Seconds();
  vtool::PluginLibrary library(pluginPath);
  const double loadMs = (bench::Seconds() - loadStart) * 1000.0;

  ProcessFrameRecord frame{0, nullptr, host.Framebuffer()};
  FFMixed frameInput;
  frameInput.PointerValue = &frame;
  std::vector<double> instantiateMs, firstFrameMs;
  for (int i = 0; i < count; ++i) {
    const double start = bench::Seconds();
    const FFInstanceID id = bench::Instantiate(library, host);
    const double made = bench::Seconds();
    if (id == 0) throw vtool::ToolError("making plugin instance", "code 18 failed");
    if (library.Call(FF_PROCESSOPENGL, frameInput, id) == FF_FAIL) {
      throw vtool::ToolError("drawing the first frame", "code 17 failed");
    }
    glFinish();
    const double drawn = bench::Seconds();
    library.Call(FF_DEINSTANTIATEGL, bench::NoInput(), id);
    instantiateMs.push_back((made - start) * 1000.0);
    firstFrameMs.push_back((drawn - made) * 1000.0);
  }
  std::vector<double> repeated(instantiateMs.begin() + (count > 1 ? 1 : 0), instantiateMs.end());
  std::printf(
      "startup renderer=\"%s\" instances=%d load_ms=%.3f code18_first_ms=%.3f "
      "code18_median_ms=%.3f first_frame_first_ms=%.3f first_frame_median_ms=%.3f\n",
      host.Renderer().c_str(), count, loadMs, instantiateMs.front(), Median(repeated),
      firstFrameMs.front(), Median(firstFrameMs));
}

}  // namespace

int main(int argc, char** argv) {
  std::string pluginPath = bench::DefaultPluginPath();
  int count = 10;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (flag == "--smoke") {
      count = 2;
    } else if (flag == "--plugin" && i + 1 < argc) {
      pluginPath = argv[++i];
    } else if (flag == "--count" && i + 1 < argc) {
      count = std::max(1, std::atoi(argv[++i]));
    } else {
      std::fprintf(stderr, "usage: bench_startup [--plugin PATH] [--count N] [--smoke]\n");
      return 2;
    }
  }
  try {
    Run(pluginPath, count);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_startup: %s\n", error.what());
    return 1;
  }
  return 0;
}
