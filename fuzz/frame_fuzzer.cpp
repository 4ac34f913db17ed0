// plugMain driven by arbitrary host call sequences on a real headless Mesa context, for the
// frame path: real program compiles, draws, input copies into real textures and framebuffers.
// The pattern program samples nothing, so a host-side step may swap in a program that samples
// both inputs (as the renderer's own preparation would compile it) to reach the copies.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FuzzedInput.h"
#include "HostSession.h"
#include "common/EglHost.h"
#include "effect/Vantorel.h"

namespace {

// Own convention: used unchanged.
constexpr char kSamplingSource[] =
    "uniform float time; uniform sampler2D tex0; uniform sampler2D tex1; uniform vec2 resolution;"
    " void main() { vec2 p = gl_FragCoord.xy / max(resolution, vec2(1.0));"
    " gl_FragColor = texture2D(tex0, p) * 0.5 + texture2D(tex1, p) * 0.5 + vec4(time * 0.0); }";
// mainImage convention: completed with the declarations and a main.
constexpr char kMainImageSource[] =
    "void mainImage(out vec4 colour, in vec2 position) {"
    " vec2 p = position / iResolution.xy;"
    " colour = texture2D(iChannel0, p) + texture2D(iChannel1, p) * 0.0"
    " + vec4(iChannelResolution[1], iChannelTime[2]) * 0.0 + iDate * 0.0 + iMouse * 0.0"
    " + vec4(iGlobalTime * 0.0); }";
// Does not compile: the instance is left unprepared.
constexpr char kBrokenSource[] = "uniform float time; void main() { gl_FragColor = nothing; }";

constexpr const char* kSources[] = {kSamplingSource, kMainImageSource, kBrokenSource};

struct Context {
  std::unique_ptr<vtool::EglHost> host;
  std::vector<uint32_t> textures;
};

// Host textures: a picture filling its allocation, one in a larger allocation, a tiny one.
GLuint MakeTexture(int width, int height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 37u);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               pixels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glBindTexture(GL_TEXTURE_2D, 0);
  return name;
}

Context& TheContext() {
  static Context* context = [] {
    auto* made = new Context;
    made->host = std::make_unique<vtool::EglHost>(64, 64);
    if (!made->host->Ready()) {
      std::fprintf(stderr, "frame_fuzzer: no OpenGL context: %s\n", made->host->Error().c_str());
      std::exit(1);
    }
    made->textures = {MakeTexture(64, 64), MakeTexture(128, 32), MakeTexture(2, 2)};
    return made;
  }();
  return *context;
}

void DrainErrors() {
  for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; ++i) {
  }
}

class ContextSession : public HostSession {
 public:
  ContextSession(FuzzedInput& input, SessionLimits limits, vtool::EglHost& host)
      : HostSession(input, std::move(limits)), host_(host) {}

 protected:
  void Tweak() override {
    switch (in_.Below(3)) {
      case 0: {
        const FFInstanceID id = PickId();
        if (id == 0) break;
        auto* instance = static_cast<Vantorel*>(reinterpret_cast<CFreeFrameGLPlugin*>(id));
        // As StartGL stores it, so that a failed compile leaves the instance unprepared.
        instance->shaderReady = instance->prepareShader(kSources[in_.Below(3)]);
        DrainErrors();
        break;
      }
      case 1:
        // The viewport the next frames run under, 0 x 0 included.
        viewport_[0] = static_cast<GLint>(in_.Below(8));
        viewport_[1] = static_cast<GLint>(in_.Below(8));
        viewport_[2] = static_cast<GLint>(in_.Below(97));
        viewport_[3] = static_cast<GLint>(in_.Below(97));
        break;
      default: {
        const int width = 1 + static_cast<int>(in_.Below(96));
        const int height = 1 + static_cast<int>(in_.Below(96));
        if (!host_.Resize(width, height)) FuzzFailure("host target resize: " + host_.Error());
        break;
      }
    }
  }

  void BeforeFrame() override {
    host_.BindTarget();
    glViewport(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
  }

  void AfterFrame(FFInstanceID id, FFResult result) override {
    if (id != 0 && result == 0) {
      GLint program = -1;
      glGetIntegerv(GL_CURRENT_PROGRAM, &program);
      if (program != 0) FuzzFailure("a frame left program " + std::to_string(program) + " bound");
    }
    DrainErrors();
  }

  void AfterInstantiate(FFInstanceID /*id*/) override { DrainErrors(); }

 private:
  vtool::EglHost& host_;
  GLint viewport_[4] = {0, 0, 64, 64};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Context& context = TheContext();
  if (!context.host->Resize(64, 64)) FuzzFailure("host target: " + context.host->Error());

  FuzzedInput input(data, size);
  SessionLimits limits;
  // Every compile costs tens of milliseconds on the software renderer.
  limits.maxSteps = 96;
  limits.maxLive = 2;
  limits.maxInstantiations = 3;
  limits.maxFrames = 24;
  limits.foldPicturesAbove = 300;
  limits.textureHandles = context.textures;
  limits.hostFramebuffers = {context.host->Framebuffer()};
  ContextSession session(input, limits, *context.host);
  session.Run();
  DrainErrors();
  return 0;
}
