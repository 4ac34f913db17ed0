// Soak run on a real headless context: many frames on one instance, then many instance lives,
// with inputs whose sizes keep changing. Prints resident memory and live OpenGL objects at the
// start and end of each phase; fails when either grew.
//
// Usage: vantorel_soak [--frames N] [--cycles N] [--size N]
#include <GL/gl.h>
#include <GL/glext.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/EglHost.h"
#include "effect/Vantorel.h"
#include "host/FreeFrame.h"

namespace {

// Own convention, sampling both inputs, so frames copy them into plugin textures.
constexpr char kSamplingSource[] =
    "uniform float time; uniform vec2 resolution; uniform sampler2D tex0; uniform sampler2D tex1;"
    " void main() { vec2 p = gl_FragCoord.xy / resolution;"
    " gl_FragColor = mix(texture2D(tex0, p), texture2D(tex1, p), 0.5 + 0.5 * sin(time)); }";

// Names above this are not probed; far more than either phase makes.
constexpr GLuint kHighestName = 1u << 16;

// Picture sizes the inputs cycle through, each in a larger allocation.
constexpr uint32_t kSizes[][2] = {{64, 64}, {32, 48}, {17, 5}, {64, 1}, {40, 40}};
constexpr size_t kSizeCount = sizeof kSizes / sizeof kSizes[0];

struct Options {
  long frames = 100000;
  long cycles = 1000;
  int size = 64;
};

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (i + 1 >= argc) {
      std::fprintf(stderr, "vantorel_soak: %s needs a value\n", name.c_str());
      return false;
    }
    char* end = nullptr;
    const long value = std::strtol(argv[++i], &end, 10);
    if (*end != '\0' || value < 1) {
      std::fprintf(stderr, "vantorel_soak: %s wants a positive whole number, got %s\n",
                   name.c_str(), argv[i]);
      return false;
    }
    if (name == "--frames") {
      options->frames = value;
    } else if (name == "--cycles") {
      options->cycles = value;
    } else if (name == "--size" && value <= 4096) {
      options->size = static_cast<int>(value);
    } else {
      std::fprintf(stderr, "vantorel_soak: unknown option or value: %s\n", name.c_str());
      return false;
    }
  }
  return true;
}

long ResidentKiB() {
  long pages = 0;
  long resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

using IsObject = GLboolean(APIENTRYP)(GLuint);

class Soak {
 public:
  explicit Soak(vtool::EglHost& host) : host_(host) {
    isFramebuffer_ = reinterpret_cast<IsObject>(host.ProcAddress("glIsFramebufferEXT"));
    isProgram_ = reinterpret_cast<IsObject>(host.ProcAddress("glIsProgram"));
    isShader_ = reinterpret_cast<IsObject>(host.ProcAddress("glIsShader"));
    for (GLuint& texture : inputTextures_) texture = MakeTexture(128, 128);
  }

  bool Ready() const { return isFramebuffer_ && isProgram_ && isShader_; }

  // Objects of every kind the context holds among the names probed.
  long LiveObjects() const {
    long count = 0;
    for (GLuint name = 1; name <= kHighestName; ++name) {
      count += glIsTexture(name) + isFramebuffer_(name) + isProgram_(name) + isShader_(name);
    }
    return count;
  }

  FFInstanceID Instantiate(bool sampling) {
    const ViewportRecord viewport{0, 0, static_cast<uint32_t>(host_.Width()),
                                  static_cast<uint32_t>(host_.Height())};
    FFMixed input;
    input.PointerValue = const_cast<ViewportRecord*>(&viewport);
    const FFResult id = plugMain(FF_INSTANTIATEGL, input, 0);
    if (id == FF_FAIL) return 0;
    if (sampling) {
      auto* instance = static_cast<Vantorel*>(reinterpret_cast<CFreeFrameGLPlugin*>(id));
      instance->shaderReady = instance->prepareShader(kSamplingSource);
    }
    return id;
  }

  void Deinstantiate(FFInstanceID id) {
    FFMixed input;
    input.PointerValue = nullptr;
    plugMain(FF_DEINSTANTIATEGL, input, id);
  }

  // One frame with both inputs at the sizes of this step; false when the plugin failed it.
  bool Frame(FFInstanceID id, size_t step) {
    TextureRecord records[2];
    TextureRecord* entries[2];
    for (size_t i = 0; i < 2; ++i) {
      const uint32_t* size = kSizes[(step + i) % kSizeCount];
      records[i] = TextureRecord{size[0], size[1], 128, 128, inputTextures_[i]};
      entries[i] = &records[i];
    }
    const ProcessFrameRecord frame{2, entries, host_.Framebuffer()};
    host_.BindTarget();
    FFMixed input;
    input.PointerValue = const_cast<ProcessFrameRecord*>(&frame);
    const FFResult result = plugMain(FF_PROCESSOPENGL, input, id);
    glFlush();
    return result == 0;
  }

 private:
  static GLuint MakeTexture(int width, int height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 13u);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
  }

  vtool::EglHost& host_;
  IsObject isFramebuffer_ = nullptr;
  IsObject isProgram_ = nullptr;
  IsObject isShader_ = nullptr;
  GLuint inputTextures_[2] = {0, 0};
};

struct Figures {
  long residentKiB;
  long liveObjects;
};

Figures Measure(const Soak& soak) {
  glFinish();
  return Figures{ResidentKiB(), soak.LiveObjects()};
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Resident memory may wobble by allocator noise; more than this is growth.
constexpr long kResidentToleranceKiB = 2048;

bool Report(const char* phase, long count, const char* unit, double seconds, Figures start,
            Figures end) {
  std::printf("%s: %ld %s in %.1f s\n", phase, count, unit, seconds);
  std::printf("  resident memory: start %ld KiB, end %ld KiB (%+ld KiB)\n", start.residentKiB,
              end.residentKiB, end.residentKiB - start.residentKiB);
  std::printf("  live OpenGL objects: start %ld, end %ld\n", start.liveObjects, end.liveObjects);
  bool flat = true;
  if (end.liveObjects != start.liveObjects) {
    std::fprintf(stderr, "vantorel_soak: %s: live OpenGL objects went from %ld to %ld\n", phase,
                 start.liveObjects, end.liveObjects);
    flat = false;
  }
  if (end.residentKiB - start.residentKiB > kResidentToleranceKiB) {
    std::fprintf(stderr, "vantorel_soak: %s: resident memory grew by %ld KiB\n", phase,
                 end.residentKiB - start.residentKiB);
    flat = false;
  }
  return flat;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) return 2;

  vtool::EglHost host(options.size, options.size);
  if (!host.Ready()) {
    std::fprintf(stderr, "vantorel_soak: no OpenGL context: %s\n", host.Error().c_str());
    return 1;
  }
  Soak soak(host);
  if (!soak.Ready()) {
    std::fprintf(stderr,
                 "vantorel_soak: the context lacks glIsFramebufferEXT, glIsProgram or "
                 "glIsShader\n");
    return 1;
  }
  std::printf("vantorel_soak on %s, %d x %d\n", host.Renderer().c_str(), host.Width(),
              host.Height());
  bool flat = true;

  // One instance, many frames. The start figures are taken after a warm-up, once the driver's
  // own caches have filled.
  {
    const FFInstanceID id = soak.Instantiate(true);
    if (id == 0) {
      std::fprintf(stderr, "vantorel_soak: code 18 failed\n");
      return 1;
    }
    const long warmUp = options.frames < 1000 ? options.frames / 10 : 1000;
    for (long frame = 0; frame < warmUp; ++frame) soak.Frame(id, frame / 100);
    const Figures start = Measure(soak);
    const auto began = std::chrono::steady_clock::now();
    for (long frame = warmUp; frame < options.frames; ++frame) {
      if (!soak.Frame(id, frame / 100)) {
        std::fprintf(stderr, "vantorel_soak: frame %ld failed\n", frame);
        return 1;
      }
    }
    const Figures end = Measure(soak);
    flat = Report("one instance", options.frames, "frames", Seconds(began), start, end) && flat;
    soak.Deinstantiate(id);
  }

  // Many instance lives, half of them with the sampling program, each with a few frames.
  {
    const long warmUp = options.cycles < 1000 ? options.cycles / 10 : 100;
    auto cycle = [&soak](long number) {
      const FFInstanceID id = soak.Instantiate(number % 2 == 0);
      if (id == 0) return false;
      for (size_t frame = 0; frame < 4; ++frame) soak.Frame(id, number + frame);
      soak.Deinstantiate(id);
      return true;
    };
    for (long number = 0; number < warmUp; ++number) cycle(number);
    const Figures start = Measure(soak);
    const auto began = std::chrono::steady_clock::now();
    for (long number = warmUp; number < options.cycles; ++number) {
      if (!cycle(number)) {
        std::fprintf(stderr, "vantorel_soak: code 18 failed in cycle %ld\n", number);
        return 1;
      }
    }
    const Figures end = Measure(soak);
    flat = Report("instance cycles", options.cycles, "cycles", Seconds(began), start, end) && flat;
  }

  FFMixed none;
  none.PointerValue = nullptr;
  plugMain(FF_DEINITIALISE, none, 0);
  std::printf("%s\n", flat ? "flat" : "GREW");
  return flat ? 0 : 1;
}
