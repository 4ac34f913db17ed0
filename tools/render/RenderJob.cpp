#include "RenderJob.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "EncoderThread.h"
#include "FrameSink.h"
#include "ParameterAssignment.h"
#include "ParameterListing.h"
#include "PixelReadback.h"
#include "PluginLibrary.h"
#include "Progress.h"
#include "ToolError.h"
#include "common/EglHost.h"

namespace vtool {
namespace {

std::atomic<bool> stopRequested{false};

// Pixel buffers in flight between drawing and reading.
constexpr size_t kReadbackRing = 3;
// Host memory the encoder queue may hold, in bytes.
constexpr size_t kQueueBudget = size_t{256} << 20;

std::vector<ParameterAssignment> ResolveAssignments(const RenderOptions& options,
                                                    const PluginLibrary& plugin) {
  std::vector<ParameterAssignment> assignments;
  for (const std::string& text : options.assignments) {
    assignments.push_back(ParseAssignment(text, plugin.parameters()));
  }
  return assignments;
}

constexpr const char* kInstallHint =
    " (install the EGL and Mesa drivers: apt-get install libegl1 libgl1-mesa-dri libegl-mesa0)";

EglPlatform PlatformNamed(const std::string& name) {
  if (name == "surfaceless") return EglPlatform::Surfaceless;
  if (name == "device") return EglPlatform::Device;
  return EglPlatform::Automatic;
}

// A context with a 1x1 target first: the driver's limits are known only once it exists.
std::unique_ptr<EglHost> MakeHost(const RenderOptions& options, const FrameFormat& format) {
  auto host = std::make_unique<EglHost>(1, 1, PlatformNamed(options.egl));
  if (!host->Ready()) throw ToolError("making OpenGL context", host->Error() + kInstallHint);
  CheckSizeLimit(format.width, format.height);
  if (!host->Resize(static_cast<int>(format.width), static_cast<int>(format.height))) {
    throw ToolError("preparing framebuffer", host->Error());
  }
  return host;
}

// A plugin whose program failed to build still answers success and draws nothing; say so.
void WarnIfUntouched(const std::vector<uint8_t>& frame) {
  if (std::any_of(frame.begin(), frame.end(), [](uint8_t byte) { return byte != 0; })) return;
  fprintf(stderr,
          "vantorel-render: warning: the first frame is still the cleared transparent black; "
          "the plugin may have drawn nothing (a program that did not build?)\n");
}

void CheckStop() {
  if (stopRequested.load()) throw ToolError("rendering", "interrupted; nothing written");
}

// Answers the OpenGL renderer that drew, for the summary.
std::string RenderFrames(const RenderOptions& options, const PluginLibrary& plugin,
                         const std::vector<ParameterAssignment>& assignments,
                         const FrameFormat& format, FrameSink& sink) {
  std::unique_ptr<EglHost> host = MakeHost(options, format);
  PixelReadback readback([&host](const char* name) { return host->ProcAddress(name); },
                         format.width, format.height, kReadbackRing);
  PluginInstance instance(plugin, format.width, format.height);

  const size_t frameBytes = static_cast<size_t>(format.width) * format.height * 4;
  const size_t capacity = std::clamp<size_t>(kQueueBudget / frameBytes, 2, 8);
  EncoderThread encoder(sink, frameBytes, capacity);
  Progress progress(stderr, format.frameCount, options.quiet);

  const auto readOldest = [&readback, &encoder, &options](uint32_t index) {
    std::vector<uint8_t> buffer = encoder.TakeBuffer();
    readback.FinishOldest(buffer.data());
    if (index == 0 && !options.quiet) WarnIfUntouched(buffer);
    encoder.Push(std::move(buffer), index);
  };

  const bool hostTime = plugin.capabilities().acceptsHostTime;
  const auto start = std::chrono::steady_clock::now();
  uint32_t readIndex = 0;
  uint32_t lateFrames = 0;  // drawn more than a frame period after their moment
  for (uint32_t frame = 0; frame < format.frameCount; ++frame) {
    CheckStop();
    const double seconds = frame / format.fps;
    if (hostTime) {
      if (!instance.SetTime(seconds)) {
        throw ToolError("setting time",
                        "the plugin refused code 20 at frame " + std::to_string(frame));
      }
    } else {
      // The plugin reads its own clock: draw each frame at its moment.
      const auto moment = start + std::chrono::duration_cast<std::chrono::nanoseconds>(
                                      std::chrono::duration<double>(seconds));
      std::this_thread::sleep_until(moment);
      const double late =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - moment).count();
      if (late > 1.0 / format.fps) ++lateFrames;
    }
    if (!host->BindTarget()) throw ToolError("binding framebuffer", host->Error());
    host->Clear(0.0f, 0.0f, 0.0f, 0.0f);
    if (frame == 0) {
      for (const ParameterAssignment& assignment : assignments) {
        if (!instance.SetParameter(assignment.index, assignment.value)) {
          throw ToolError("setting parameter", "the plugin refused the value for \"" +
                                                   plugin.parameters()[assignment.index].name +
                                                   "\"");
        }
      }
    }
    if (!instance.DrawFrame(host->Framebuffer())) {
      throw ToolError("drawing", "the plugin failed frame " + std::to_string(frame));
    }
    // The plugin may leave other bindings behind; read from the target.
    if (!host->BindTarget()) throw ToolError("binding framebuffer", host->Error());
    if (readback.Pending() == readback.RingSize()) readOldest(readIndex++);
    readback.StartReadback();
    progress.Update(frame + 1);
  }
  while (readback.Pending() > 0) readOldest(readIndex++);
  encoder.Finish();
  progress.Done();
  if (lateFrames > 0 && !options.quiet) {
    fprintf(stderr,
            "vantorel-render: warning: %u of %u frames were drawn more than 1/fps late, so the "
            "output moves faster than the plugin's clock did; lower --size or --fps\n",
            lateFrames, format.frameCount);
  }
  return "EGL " + host->PlatformName() + ", " + host->Renderer();
}

}  // namespace

void RequestStop() {
  stopRequested.store(true);
}

void RunRender(const RenderOptions& options) {
  PluginLibrary plugin(options.pluginPath);
  if (options.list) {
    PrintListing(stdout, plugin);
    if (fflush(stdout) != 0) throw ToolError("writing listing", "standard output failed");
    return;
  }
  if (!plugin.capabilities().openGL) {
    throw ToolError("checking plugin", options.pluginPath + ": does not render through OpenGL");
  }
  const std::vector<ParameterAssignment> assignments = ResolveAssignments(options, plugin);
  const Size size = ParseSize(options.size);
  FrameFormat format;
  format.width = size.width;
  format.height = size.height;
  format.fps = options.fps;
  format.frameCount = options.FrameCount();
  const OutputPlan plan = PlanOutput(options.output, options.format);

  std::unique_ptr<FrameSink> sink = MakeSink(plan, format, stdout);
  const std::string renderer = RenderFrames(options, plugin, assignments, format, *sink);
  if (!options.quiet) {
    fprintf(stderr, "vantorel-render: wrote %u frame%s of %ux%u as %s to %s (%s)\n",
            format.frameCount, format.frameCount == 1 ? "" : "s", format.width, format.height,
            KindName(plan.kind), plan.toStdout ? "standard output" : plan.path.c_str(),
            renderer.c_str());
  }
}

}  // namespace vtool
