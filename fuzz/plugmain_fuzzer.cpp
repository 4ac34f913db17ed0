// plugMain driven by arbitrary host call sequences on the recording OpenGL stand-in. Besides the
// sanitizers it checks that every frame closes the quads it opens and that once every instance
// is deinstantiated no OpenGL object the plugin made is left and none was deleted twice.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FakeClock.h"
#include "FuzzedInput.h"
#include "HostSession.h"
#include "RecordingGL.h"

namespace {

constexpr GLObjectKind kKinds[] = {GLObjectKind::Program, GLObjectKind::Shader,
                                   GLObjectKind::Texture, GLObjectKind::Framebuffer};

const char* KindName(GLObjectKind kind) {
  switch (kind) {
    case GLObjectKind::Program:
      return "program";
    case GLObjectKind::Shader:
      return "shader";
    case GLObjectKind::Texture:
      return "texture";
    default:
      return "framebuffer";
  }
}

// Uniform names a program might have; found ones make frames copy and bind inputs.
const char* const kUniformNames[] = {"texture",
                                     "tex0",
                                     "tex1",
                                     "backbuffer",
                                     "bbuff",
                                     "iChannel0",
                                     "iChannel1",
                                     "iChannel2",
                                     "iChannel3",
                                     "time",
                                     "time2",
                                     "iGlobalTime",
                                     "mouse",
                                     "iMouse",
                                     "iResolution",
                                     "resolution",
                                     "surfaceSize",
                                     "but1",
                                     "alphaMode",
                                     "inputColour",
                                     "iDate",
                                     "iChannelTime[4]",
                                     "iChannelResolution[4]"};

class RecordingSession : public HostSession {
 public:
  RecordingSession(FuzzedInput& input, SessionLimits limits)
      : HostSession(input, std::move(limits)) {}

 protected:
  // The world the plugin meets: missing entry points, failing compiles, links and creations,
  // uniform locations, the current viewport and the clock.
  void Tweak() override {
    RecordingGL& gl = RecordingGL::Instance();
    switch (in_.Below(8)) {
      case 0: {
        const std::vector<std::string>& names = RecordingGL::ExtensionNames();
        const std::string& name = names[in_.Word() % names.size()];
        if (in_.Flag()) {
          gl.MakeMissing(name);
        } else {
          gl.MakeAvailable(name);
        }
        break;
      }
      case 1:
        gl.SetCompileStatus(in_.Flag() ? GL_VERTEX_SHADER_ARB : GL_FRAGMENT_SHADER_ARB,
                            static_cast<GLint>(in_.Below(3)));
        break;
      case 2:
        gl.SetLinkStatus(static_cast<GLint>(in_.Below(3)));
        break;
      case 3:
        // A creation that fails hands out name 0.
        gl.QueueObjectNames(kKinds[in_.Below(4)], {0});
        break;
      case 4: {
        const size_t count = sizeof kUniformNames / sizeof kUniformNames[0];
        const char* name = kUniformNames[in_.Below(static_cast<uint32_t>(count))];
        const uint8_t kind = in_.Byte();
        const GLint location = kind < 64    ? -1
                               : kind < 224 ? static_cast<GLint>(kind % 24)
                                            : static_cast<GLint>(in_.Word());
        gl.SetUniformLocation(name, location);
        break;
      }
      case 5: {
        const GLint width = static_cast<GLint>(in_.Size(4096));
        const GLint height = static_cast<GLint>(in_.Size(4096));
        gl.SetViewport(0, 0, width, height);
        break;
      }
      case 6: {
        // Any float the query could answer, 2^31 wide and NaN included.
        std::vector<GLfloat> viewport(4);
        for (GLfloat& value : viewport) value = FloatOf(in_.FloatBits());
        gl.SetFloats(GL_VIEWPORT, viewport);
        break;
      }
      default:
        // Forward only, up to about 30 hours at a time: the counter is monotonic.
        fake_clock::Advance(static_cast<int64_t>(in_.Word()) << in_.Below(14));
        break;
    }
  }

  void BeforeFrame() override { RecordingGL::Instance().ClearCalls(); }

  void AfterFrame(FFInstanceID /*id*/, FFResult /*result*/) override {
    RecordingGL& gl = RecordingGL::Instance();
    size_t begins = 0;
    size_t ends = 0;
    for (const GLCall& call : gl.Calls()) {
      if (call.name == "glBegin") ++begins;
      if (call.name == "glEnd") ++ends;
    }
    if (begins != ends) {
      FuzzFailure("a frame made " + std::to_string(begins) + " glBegin and " +
                  std::to_string(ends) + " glEnd calls:\n" + gl.Transcript());
    }
    gl.ClearCalls();
  }

  void AfterInstantiate(FFInstanceID /*id*/) override { RecordingGL::Instance().ClearCalls(); }

 private:
  static GLfloat FloatOf(uint32_t bits) {
    GLfloat value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RecordingGL& gl = RecordingGL::Instance();
  gl.Reset();
  gl.SetViewport(0, 0, 64, 64);
  fake_clock::Reset();

  FuzzedInput input(data, size);
  SessionLimits limits;
  limits.textureHandles = {7, 8, 9, 0xFFFFFFFFu};
  RecordingSession session(input, limits);
  session.Run();

  for (GLObjectKind kind : kKinds) {
    if (gl.Live(kind) != 0) {
      std::string names;
      for (GLuint name : gl.LiveNames(kind)) names += " " + std::to_string(name);
      FuzzFailure(std::string("after every instance was deinstantiated, live ") + KindName(kind) +
                  " objects remain:" + names);
    }
  }
  if (gl.StrayDeletes() != 0) {
    FuzzFailure(std::to_string(gl.StrayDeletes()) +
                " deletions of objects that were not live (made elsewhere or deleted twice)");
  }
  gl.Reset();
  return 0;
}
