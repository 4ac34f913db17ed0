// StartGL, StopGL and the preparation of a fragment program, on the recording stand-in.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "RecordingGL.h"
#include "effect/PatternSources.h"
#include "effect/Vantorel.h"

namespace {

// The uniforms the ring-and-spoke program declares, at the locations the stand-in answers.
const std::map<std::string, GLint> kPatternUniforms = {
    {"time", 0},  {"time2", 1},      {"but1", 2},       {"alphaMode", 3},
    {"mouse", 4}, {"resolution", 5}, {"inputColour", 6}};

class PreparationTest : public ::testing::Test {
 protected:
  void SetUp() override { gl.Reset(); }

  void GiveUniforms(const std::map<std::string, GLint>& uniforms) {
    for (const auto& [name, location] : uniforms) gl.SetUniformLocation(name, location);
  }

  int32_t Start(uint32_t width = 64, uint32_t height = 48) {
    const ViewportRecord viewport{0, 0, width, height};
    return plugin.StartGL(&viewport);
  }

  // The texts the last preparation handed to the compiler: fragment first, then vertex.
  std::vector<std::string> SourcesSent() const {
    std::vector<std::string> texts;
    for (const GLCall& call : gl.CallsNamed("glShaderSourceARB"))
      texts.push_back(call.args[2].text);
    return texts;
  }

  RecordingGL& gl = RecordingGL::Instance();
  Vantorel plugin;
};

TEST_F(PreparationTest, PatternProgramReachesTheCompilerUnchanged) {
  GiveUniforms(kPatternUniforms);
  ASSERT_EQ(Start(), 0);
  ASSERT_TRUE(plugin.shaderReady) << gl.Transcript();
  const std::vector<std::string> sent = SourcesSent();
  ASSERT_EQ(sent.size(), 2u) << gl.Transcript();
  EXPECT_EQ(sent[0], patternFragmentSource);
  EXPECT_EQ(sent[1], patternVertexSource);
  EXPECT_EQ(std::string(patternFragmentSource).find('\n'), std::string::npos) << "one line";
}

const char kHeader[] =
    "uniform vec3 iResolution;\nuniform float iGlobalTime;\nuniform vec4 iMouse;\n"
    "uniform vec4 iDate;\nuniform float iChannelTime[4];\nuniform vec3 iChannelResolution[4];\n"
    "uniform sampler2D iChannel0;\nuniform sampler2D iChannel1;\nuniform sampler2D iChannel2;\n"
    "uniform sampler2D iChannel3;\n";
const char kDeclaration[] = "uniform vec4 inputColour;\n";
const char kWrapper[] = "void main(void) {\n    mainImage(gl_FragColor, gl_FragCoord.xy);\n}\n";

TEST_F(PreparationTest, SourcesAreCompletedByTheirMarkers) {
  static_assert(
      sizeof(kHeader) - 1 == 277 && sizeof(kDeclaration) - 1 == 26 && sizeof(kWrapper) - 1 == 66,
      "fixed text sizes");
  struct Case {
    const char* what;
    std::string source;
    bool header;
    bool wrapper;
  };
  const std::string image = "void mainImage(out vec4 c, in vec2 p) { c = vec4(p, 0.0, 1.0); }";
  const std::string plain = "void main() { gl_FragColor = vec4(1.0); }";
  const Case kCases[] = {
      {"mainImage only", image, true, true},
      {"neither marker", plain, true, false},
      {"both markers", "uniform float time; " + image, false, false},
      {"time marker only", "uniform float time; " + plain, false, false},
      {"blank before the semicolon", "uniform float time ; " + image, true, true},
      {"capital T", "uniform float Time; " + plain, true, false},
      {"mainImage marker mid-text", "// x\n" + image, true, true},
  };
  ASSERT_EQ(Start(), 0);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    gl.ClearCalls();
    plugin.prepareShader(c.source);
    const std::vector<std::string> sent = SourcesSent();
    ASSERT_EQ(sent.size(), 2u) << gl.Transcript();
    std::string expected = c.header ? std::string(kHeader) + kDeclaration + c.source : c.source;
    if (c.wrapper) expected += kWrapper;
    EXPECT_EQ(sent[0].size(), expected.size());
    EXPECT_EQ(sent[0], expected);
    EXPECT_EQ(sent[1], patternVertexSource);
  }
}

TEST_F(PreparationTest, FirstNameAProgramHasWinsItsSlot) {
  struct Case {
    const char* what;
    std::map<std::string, GLint> uniforms;
    int32_t UniformSlots::*slot;
    int32_t location;
  };
  const Case kCases[] = {
      {"texture before iChannel0", {{"texture", 3}, {"iChannel0", 7}}, &UniformSlots::channel0, 3},
      {"bbuff alone", {{"bbuff", 5}}, &UniformSlots::channel0, 5},
      {"tex0 at location 0 before backbuffer",
       {{"tex0", 0}, {"backbuffer", 4}},
       &UniformSlots::channel0,
       0},
      {"tex1 before iChannel1", {{"iChannel1", 2}, {"tex1", 9}}, &UniformSlots::channel1, 9},
      {"time before iGlobalTime", {{"time", 2}, {"iGlobalTime", 9}}, &UniformSlots::time, 2},
      {"iGlobalTime alone", {{"iGlobalTime", 9}}, &UniformSlots::time, 9},
      {"whole array before elements",
       {{"iChannelTime[4]", 1}, {"iChannelTime[0]", 8}},
       &UniformSlots::channelTime,
       1},
      {"first element found",
       {{"iChannelTime[3]", 6}, {"iChannelTime[2]", 4}},
       &UniformSlots::channelTime,
       4},
      {"resolution element", {{"iChannelResolution[1]", 11}}, &UniformSlots::channelResolution, 11},
      {"iChannel3", {{"iChannel3", 13}}, &UniformSlots::channel3, 13},
      {"absent", {}, &UniformSlots::channel2, -1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    gl.Reset();
    GiveUniforms(c.uniforms);
    Vantorel fresh;
    const ViewportRecord viewport{0, 0, 8, 8};
    ASSERT_EQ(fresh.StartGL(&viewport), 0);
    ASSERT_TRUE(fresh.shaderReady);
    EXPECT_EQ(fresh.uniforms.*c.slot, c.location);
    fresh.StopGL();
  }
}

TEST_F(PreparationTest, PatternProgramAsksEachNameUntilItsSlotIsFound) {
  GiveUniforms(kPatternUniforms);
  ASSERT_EQ(Start(), 0);
  std::vector<std::string> asked;
  for (const GLCall& call : gl.CallsNamed("glGetUniformLocationARB")) {
    asked.push_back(call.args[1].text);
  }
  // "iGlobalTime" is not asked: "time" already filled its slot.
  const std::vector<std::string> expected = {"texture",
                                             "tex0",
                                             "tex1",
                                             "backbuffer",
                                             "bbuff",
                                             "time",
                                             "time2",
                                             "mouse",
                                             "resolution",
                                             "surfaceSize",
                                             "but1",
                                             "alphaMode",
                                             "iChannel0",
                                             "iChannel1",
                                             "iChannel2",
                                             "iChannel3",
                                             "iResolution",
                                             "iMouse",
                                             "iDate",
                                             "iChannelTime[4]",
                                             "iChannelTime[0]",
                                             "iChannelTime[1]",
                                             "iChannelTime[2]",
                                             "iChannelTime[3]",
                                             "iChannelResolution[4]",
                                             "iChannelResolution[0]",
                                             "iChannelResolution[1]",
                                             "iChannelResolution[2]",
                                             "iChannelResolution[3]",
                                             "inputColour"};
  EXPECT_EQ(asked, expected);
  const UniformSlots& u = plugin.uniforms;
  EXPECT_EQ(u.time, 0);
  EXPECT_EQ(u.time2, 1);
  EXPECT_EQ(u.but1, 2);
  EXPECT_EQ(u.alphaMode, 3);
  EXPECT_EQ(u.mouse, 4);
  EXPECT_EQ(u.resolution, 5);
  EXPECT_EQ(u.inputColour, 6);
  for (int32_t slot : {u.channel0, u.channel1, u.channel2, u.channel3, u.date, u.channelTime,
                       u.channelResolution, u.iResolution, u.iMouse, u.surfaceSize}) {
    EXPECT_EQ(slot, -1);
  }
  // The lookups ran with the program bound and it was unbound after.
  const std::vector<GLCall> uses = gl.CallsNamed("glUseProgramObjectARB");
  ASSERT_EQ(uses.size(), 2u);
  EXPECT_NE(uses[0].args[0], GLArg(0.0));
  EXPECT_EQ(uses[1].args[0], GLArg(0.0));
}

TEST_F(PreparationTest, StartRecordsTheViewportAndStartsTheClock) {
  ASSERT_EQ(Start(0x80000000u, 720), 0);
  EXPECT_EQ(plugin.viewportWidth, 2147483648.0f) << "top bit set must stay positive";
  EXPECT_EQ(plugin.viewportHeight, 720.0f);
  EXPECT_NE(plugin.clock.ticksPerMs, 0.0) << "clock not started";
}

TEST_F(PreparationTest, MissingRequiredGroupFailsBeforeAnythingElse) {
  struct Case {
    const char* missing;
    int32_t result;
  };
  const Case kCases[] = {
      {"glActiveTexture", -1},          {"glMultiTexCoord4sv", -1},  {"glGetShaderSourceARB", -1},
      {"glCreateProgramObjectARB", -1}, {"glGenFramebuffersEXT", 0}, {"wglSwapIntervalEXT", 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.missing);
    gl.Reset();
    gl.MakeMissing(c.missing);
    Vantorel fresh;
    const ViewportRecord viewport{0, 0, 640, 480};
    EXPECT_EQ(fresh.StartGL(&viewport), c.result);
    if (c.result != 0) {
      EXPECT_TRUE(gl.Calls().empty()) << gl.Transcript();
      EXPECT_EQ(fresh.viewportWidth, 0.0f) << "viewport recorded";
      EXPECT_EQ(fresh.clock.ticksPerMs, 0.0) << "clock started";
      EXPECT_FALSE(fresh.shaderReady);
      EXPECT_EQ(fresh.StopGL(), 0);
      EXPECT_TRUE(gl.Calls().empty()) << "StopGL after a failed start called " << gl.Transcript();
    } else {
      EXPECT_TRUE(fresh.shaderReady);
      fresh.StopGL();
    }
  }
}

TEST_F(PreparationTest, FailedPreparationLeavesTheInstanceUnpreparedAndUntouched) {
  struct Case {
    const char* what;
    GLint fragmentCompiles;
    GLint vertexCompiles;
    GLint links;
    bool vertexObjectFails;
  };
  const Case kCases[] = {
      {"nothing compiles", 0, 0, 1, false},
      {"link fails", 1, 1, 0, false},
      {"program not ready: no vertex object", 1, 1, 1, true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    gl.Reset();
    gl.SetCompileStatus(GL_FRAGMENT_SHADER_ARB, c.fragmentCompiles);
    gl.SetCompileStatus(GL_VERTEX_SHADER_ARB, c.vertexCompiles);
    gl.SetLinkStatus(c.links);
    // Program, then the vertex object, then the fragment object share one name space.
    if (c.vertexObjectFails) gl.QueueObjectNames(GLObjectKind::Shader, {0});
    Vantorel fresh;
    fresh.copyTextures[0] = 41;
    const ViewportRecord viewport{0, 0, 64, 48};
    EXPECT_EQ(fresh.StartGL(&viewport), 0) << "a failed program still starts";
    EXPECT_FALSE(fresh.shaderReady);
    EXPECT_EQ(fresh.copyTextures[0], 41u) << "copy deleted by a failed preparation";
    EXPECT_TRUE(gl.CallsNamed("glUseProgramObjectARB").empty()) << gl.Transcript();
    EXPECT_TRUE(gl.CallsNamed("glGetUniformLocationARB").empty());
    EXPECT_EQ(fresh.uniforms.time, -1);

    gl.ClearCalls();
    const ProcessFrameRecord frame{0, nullptr, 0};
    EXPECT_EQ(fresh.DrawFrame(&frame), 0);
    EXPECT_TRUE(gl.Calls().empty()) << "an unprepared frame called " << gl.Transcript();
    EXPECT_EQ(fresh.clockNow, 0.0);
    fresh.copyTextures[0] = 0;
    fresh.StopGL();
  }
}

TEST_F(PreparationTest, SuccessfulPreparationDropsCopiesButKeepsTheFramebuffer) {
  ASSERT_EQ(Start(), 0);
  plugin.copyTextures[0] = 4;
  plugin.copyTextures[2] = 9;
  plugin.copyFramebuffer = 7;
  const double startedAt = static_cast<double>(plugin.clock.startCount);
  gl.ClearCalls();
  ASSERT_TRUE(plugin.prepareShader(patternFragmentSource));
  const std::vector<GLCall> deletes = gl.CallsNamed("glDeleteTextures");
  ASSERT_EQ(deletes.size(), 2u) << gl.Transcript();
  EXPECT_EQ(deletes[0], (GLCall{"glDeleteTextures", {1, 4}}));
  EXPECT_EQ(deletes[1], (GLCall{"glDeleteTextures", {1, 9}}));
  for (GLuint name : plugin.copyTextures) EXPECT_EQ(name, 0u);
  EXPECT_EQ(plugin.copyFramebuffer, 7u);
  EXPECT_GE(static_cast<double>(plugin.clock.startCount), startedAt);
  plugin.copyFramebuffer = 0;
}

TEST_F(PreparationTest, StopReleasesEverythingInOrderOnceOnly) {
  GiveUniforms(kPatternUniforms);
  ASSERT_EQ(Start(), 0);
  const GLuint program = plugin.shader.program;
  const GLuint vertex = plugin.shader.vertexObject;
  const GLuint fragment = plugin.shader.fragmentObject;
  plugin.copyFramebuffer = 5;
  plugin.copyTextures[0] = 6;
  plugin.copyTextures[1] = 8;
  gl.ClearCalls();
  EXPECT_EQ(plugin.StopGL(), 0);
  const std::vector<GLCall> expected = {
      {"glUseProgramObjectARB", {0.0}},
      {"glDeleteObjectARB", {static_cast<double>(fragment)}},
      {"glDeleteObjectARB", {static_cast<double>(vertex)}},
      {"glDeleteObjectARB", {static_cast<double>(program)}},
      {"glDeleteFramebuffersEXT", {1, 5}},
      {"glDeleteTextures", {1, 6}},
      {"glDeleteTextures", {1, 8}},
  };
  EXPECT_EQ(gl.Calls(), expected) << gl.Transcript();
  EXPECT_FALSE(plugin.shaderReady);
  EXPECT_EQ(plugin.copyFramebuffer, 0u);
  EXPECT_EQ(plugin.copyTextures[0], 0u);
  EXPECT_EQ(plugin.copyTextures[1], 0u);
  EXPECT_EQ(gl.Live(GLObjectKind::Program) + gl.Live(GLObjectKind::Shader), 0u);

  gl.ClearCalls();
  EXPECT_EQ(plugin.StopGL(), 0);
  EXPECT_TRUE(gl.Calls().empty()) << "second StopGL called " << gl.Transcript();
}

}  // namespace
