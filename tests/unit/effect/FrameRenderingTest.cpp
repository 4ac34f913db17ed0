// One frame on the recording stand-in: inputs, phases, uploads, bindings and restores.
#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "FakeClock.h"
#include "LocalTimeStub.h"
#include "RecordingGL.h"
#include "effect/Vantorel.h"

namespace {

// A program of each convention with every uniform the frame feeds.
const std::map<std::string, GLint> kEveryUniform = {
    {"tex0", 1},         {"tex1", 2},
    {"time", 3},         {"time2", 4},
    {"resolution", 5},   {"mouse", 6},
    {"surfaceSize", 7},  {"but1", 8},
    {"alphaMode", 9},    {"iMouse", 10},
    {"iResolution", 11}, {"iChannelResolution[4]", 12},
    {"iDate", 13},       {"iChannelTime[4]", 14},
    {"inputColour", 15}};

const std::map<std::string, GLint> kPatternUniforms = {
    {"time", 0},  {"time2", 1},      {"but1", 2},       {"alphaMode", 3},
    {"mouse", 4}, {"resolution", 5}, {"inputColour", 6}};

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gl.Reset();
    fake_clock::Reset();
    gl.SetViewport(0, 0, 1280, 720);
  }
  void TearDown() override { plugin.StopGL(); }

  void Prepare(const std::map<std::string, GLint>& uniforms) {
    for (const auto& [name, location] : uniforms) gl.SetUniformLocation(name, location);
    const ViewportRecord viewport{0, 0, 1280, 720};
    ASSERT_EQ(plugin.StartGL(&viewport), 0);
    ASSERT_TRUE(plugin.shaderReady);
    gl.ClearCalls();
  }

  int32_t Frame(std::vector<TextureRecord*> inputs, uint32_t hostFramebuffer = 0) {
    const ProcessFrameRecord frame{static_cast<uint32_t>(inputs.size()),
                                   inputs.empty() ? nullptr : inputs.data(), hostFramebuffer};
    return plugin.DrawFrame(&frame);
  }

  std::vector<GLCall> CallsStartingWith(const std::string& prefix) const {
    std::vector<GLCall> found;
    for (const GLCall& call : gl.Calls()) {
      if (call.name.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
    }
    return found;
  }

  RecordingGL& gl = RecordingGL::Instance();
  Vantorel plugin;
  TextureRecord input0{640, 480, 1024, 512, 21};
  TextureRecord input1{320, 240, 320, 240, 22};
};

TEST_F(FrameTest, EveryFoundUniformIsSentInTableOrder) {
  Prepare(kEveryUniform);
  plugin.SetParameterFloat(2, 0.25f);  // Vortex Frequence
  plugin.SetParameterFloat(3, 0.5f);   // Lines Softness
  plugin.SetParameterFloat(4, 0.125f);
  plugin.SetParameterFloat(5, 0.2f);
  plugin.SetParameterFloat(6, 0.375f);
  plugin.SetParameterFloat(7, 0.625f);
  plugin.SetParameterFloat(8, 0.75f);
  plugin.SetParameterFloat(9, 1.0f);
  fake_clock::AdvanceSeconds(0.5);
  ASSERT_EQ(Frame({&input0, &input1}), 0);

  const double t = plugin.time;
  const double t2 = plugin.time2;
  const float* d = plugin.date;
  const std::vector<GLCall> expected = {
      {"glUniform1iARB", {1, 0.0}},
      {"glUniform1iARB", {2, 1}},
      {"glUniform1fARB", {3, t}},
      {"glUniform1fARB", {4, t2}},
      {"glUniform2fARB", {5, 1280, 720}},
      {"glUniform2fARB", {6, 0.25, 0.5}},
      {"glUniform2fARB", {7, 640, 360}},
      {"glUniform1iARB", {8, 1}},
      {"glUniform1fARB", {9, 0.75}},
      {"glUniform4fARB", {10, 320, 360, 640, 360}},
      {"glUniform3fARB", {11, 1280, 720, 1}},
      {"glUniform3fvARB", {12, 4, 640, 480, 1, 320, 240, 1, 1280, 720, 1, 1280, 720, 1}},
      {"glUniform4fARB", {13, d[0], d[1], d[2], d[3]}},
      {"glUniform1fvARB", {14, 4, t, t, t, t}},
      {"glUniform4fARB", {15, 0.125, 0.2f, 0.375, 0.625}},
  };
  EXPECT_EQ(CallsStartingWith("glUniform"), expected) << gl.Transcript();
  EXPECT_EQ(t, 0.5f * 0.5f * 2.0f) << "half a second at the constructor's speed 0.5";
}

TEST_F(FrameTest, PatternProgramGetsItsSevenUniformsAndNoInput) {
  Prepare(kPatternUniforms);
  ASSERT_EQ(Frame({&input0, &input1}), 0);
  std::vector<std::string> sent;
  for (const GLCall& call : CallsStartingWith("glUniform")) sent.push_back(call.name);
  const std::vector<std::string> expected = {"glUniform1fARB", "glUniform1fARB", "glUniform2fARB",
                                             "glUniform2fARB", "glUniform1iARB", "glUniform1fARB",
                                             "glUniform4fARB"};
  EXPECT_EQ(sent, expected) << gl.Transcript();
  EXPECT_TRUE(gl.CallsNamed("glBindTexture").empty()) << "an input was bound";
  EXPECT_TRUE(gl.CallsNamed("glGenTextures").empty()) << "an input was copied";
  EXPECT_EQ(plugin.mouseVector[2], 0.5f) << "scratch written by a row the program lacks";
  EXPECT_EQ(plugin.mouseVector[3], 0.5f);
  EXPECT_EQ(plugin.channelResolution[0][0], 0.0f) << "an input was recorded";
  EXPECT_EQ(plugin.channelResolution[2][0], 0.0f);
  EXPECT_EQ(plugin.mouseVector[0], plugin.vortexFrequency);
}

TEST_F(FrameTest, InputsAreTakenOnlyWhenTheyCanBeCopied) {
  struct Case {
    const char* what;
    std::map<std::string, GLint> samplers;
    int inputCount;
    bool nullArray;
    bool nullFirst;
    const char* missing;     // an entry point the context lacks, or null
    uint32_t hardwareWidth;  // of input 0
    std::vector<GLCall> samplerUploads;
    std::vector<GLuint> boundUnits;  // texture units an input is bound to
  };
  const Case kCases[] = {
      {"both",
       {{"tex0", 1}, {"tex1", 2}},
       2,
       false,
       false,
       nullptr,
       1024,
       {{"glUniform1iARB", {1, 0.0}}, {"glUniform1iARB", {2, 1}}},
       {GL_TEXTURE0, GL_TEXTURE1}},
      {"count 1",
       {{"tex0", 1}, {"tex1", 2}},
       1,
       false,
       false,
       nullptr,
       1024,
       {{"glUniform1iARB", {1, 0.0}}},
       {GL_TEXTURE0}},
      {"first entry null",
       {{"tex0", 1}, {"tex1", 2}},
       2,
       false,
       true,
       nullptr,
       1024,
       {{"glUniform1iARB", {2, 1}}},
       {GL_TEXTURE1}},
      {"only tex1",
       {{"tex1", 2}, {"time", 3}},
       2,
       false,
       false,
       nullptr,
       1024,
       {{"glUniform1iARB", {2, 1}}},
       {GL_TEXTURE1}},
      {"null array with a count",
       {{"tex0", 1}, {"tex1", 2}},
       2,
       true,
       false,
       nullptr,
       1024,
       {},
       {}},
      {"no framebuffer objects",
       {{"tex0", 1}, {"tex1", 2}},
       2,
       false,
       false,
       "glGenFramebuffersEXT",
       1024,
       {},
       {}},
      {"zero allocation width",
       {{"tex0", 1}, {"tex1", 2}},
       2,
       false,
       false,
       nullptr,
       0,
       {{"glUniform1iARB", {2, 1}}},
       {GL_TEXTURE1}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    gl.Reset();
    gl.SetViewport(0, 0, 1280, 720);
    if (c.missing != nullptr) gl.MakeMissing(c.missing);
    Vantorel fresh;
    for (const auto& [name, location] : c.samplers) gl.SetUniformLocation(name, location);
    const ViewportRecord viewport{0, 0, 1280, 720};
    ASSERT_EQ(fresh.StartGL(&viewport), 0);
    gl.ClearCalls();

    TextureRecord first = input0;
    first.hardwareWidth = c.hardwareWidth;
    TextureRecord* entries[2] = {c.nullFirst ? nullptr : &first, &input1};
    const ProcessFrameRecord frame{static_cast<uint32_t>(c.inputCount),
                                   c.nullArray ? nullptr : entries, 0};
    EXPECT_EQ(fresh.DrawFrame(&frame), 0);

    std::vector<GLCall> samplerUploads;
    for (const GLCall& call : gl.CallsNamed("glUniform1iARB")) {
      if (call.args[0] == GLArg(1) || call.args[0] == GLArg(2)) samplerUploads.push_back(call);
    }
    EXPECT_EQ(samplerUploads, c.samplerUploads) << gl.Transcript();

    // Units an input is bound on: a non-zero binding after the last glEnd of a copy.
    std::vector<GLuint> boundUnits;
    GLuint unit = GL_TEXTURE0;
    bool drawing = false;
    for (const GLCall& call : gl.Calls()) {
      if (call.name == "glUseProgramObjectARB") drawing = call.args[0] != GLArg(0.0);
      if (call.name == "glActiveTexture") unit = static_cast<GLuint>(call.args[0].number);
      if (drawing && call.name == "glBindTexture" && call.args[1] != GLArg(0.0)) {
        boundUnits.push_back(unit);
      }
    }
    EXPECT_EQ(boundUnits, c.boundUnits) << gl.Transcript();
    EXPECT_EQ(gl.CallsNamed("glBegin").size(), c.samplerUploads.size() + 1)
        << "one quad per copy and one for the frame";
    fresh.StopGL();
    EXPECT_EQ(gl.Live(GLObjectKind::Texture), 0u);
    EXPECT_EQ(gl.Live(GLObjectKind::Framebuffer), 0u);
    EXPECT_EQ(gl.StrayDeletes(), 0u);
  }
}

TEST_F(FrameTest, SizeChangeReplacesTheStaleCopy) {
  Prepare({{"tex0", 1}});
  ASSERT_EQ(Frame({&input0}), 0);
  const GLuint first = plugin.copyTextures[0];
  ASSERT_NE(first, 0u);

  gl.ClearCalls();
  ASSERT_EQ(Frame({&input0}), 0);
  EXPECT_EQ(plugin.copyTextures[0], first) << "same size, new copy";
  EXPECT_TRUE(gl.CallsNamed("glDeleteTextures").empty());
  EXPECT_TRUE(gl.CallsNamed("glGenTextures").empty());

  gl.ClearCalls();
  TextureRecord narrower = input0;
  narrower.width = 320;
  ASSERT_EQ(Frame({&narrower}), 0);
  const std::vector<GLCall> deletes = gl.CallsNamed("glDeleteTextures");
  ASSERT_EQ(deletes.size(), 1u) << gl.Transcript();
  EXPECT_EQ(deletes[0], (GLCall{"glDeleteTextures", {1, static_cast<double>(first)}}));
  EXPECT_NE(plugin.copyTextures[0], 0u);
  const std::vector<GLCall> images = gl.CallsNamed("glTexImage2D");
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].args[3], GLArg(320));
  EXPECT_EQ(images[0].args[4], GLArg(480));
  EXPECT_EQ(plugin.channelResolution[0][0], 320.0f);
  EXPECT_EQ(plugin.channelResolution[0][1], 480.0f);
  EXPECT_EQ(plugin.channelResolution[0][2], 1.0f);
  EXPECT_EQ(gl.Live(GLObjectKind::Texture), 1u);

  // Without the input the copy and the recorded size stay.
  gl.ClearCalls();
  ASSERT_EQ(Frame({}), 0);
  EXPECT_TRUE(gl.CallsNamed("glDeleteTextures").empty());
  EXPECT_EQ(plugin.channelResolution[0][0], 320.0f);
}

TEST_F(FrameTest, QuadAndRestoresComeInOrder) {
  Prepare({{"tex0", 1}, {"tex1", 2}});
  ASSERT_EQ(Frame({&input0, &input1}, 9), 0);
  const std::vector<GLCall>& calls = gl.Calls();
  const GLuint copy0 = plugin.copyTextures[0];
  const GLuint copy1 = plugin.copyTextures[1];
  const double program = plugin.shader.program;
  const std::vector<GLCall> expected = {
      {"glUseProgramObjectARB", {program}},
      {"glUniform1iARB", {1, 0.0}},
      {"glUniform1iARB", {2, 1}},
      {"glActiveTexture", {GL_TEXTURE0}},
      {"glBindTexture", {GL_TEXTURE_2D, static_cast<double>(copy0)}},
      {"glActiveTexture", {GL_TEXTURE1}},
      {"glBindTexture", {GL_TEXTURE_2D, static_cast<double>(copy1)}},
      {"glEnable", {GL_TEXTURE_2D}},
      {"glBegin", {GL_QUADS}},
      {"glTexCoord2f", {0.0, 0.0}},
      {"glVertex2f", {-1, -1}},
      {"glTexCoord2f", {0.0, 1}},
      {"glVertex2f", {-1, 1}},
      {"glTexCoord2f", {1, 1}},
      {"glVertex2f", {1, 1}},
      {"glTexCoord2f", {1, 0.0}},
      {"glVertex2f", {1, -1}},
      {"glEnd", {}},
      {"glDisable", {GL_TEXTURE_2D}},
      {"glActiveTexture", {GL_TEXTURE1}},
      {"glBindTexture", {GL_TEXTURE_2D, 0.0}},
      {"glActiveTexture", {GL_TEXTURE0}},
      {"glBindTexture", {GL_TEXTURE_2D, 0.0}},
      {"glUseProgramObjectARB", {0.0}},
  };
  ASSERT_GE(calls.size(), expected.size());
  const std::vector<GLCall> tail(calls.end() - static_cast<std::ptrdiff_t>(expected.size()),
                                 calls.end());
  EXPECT_EQ(tail, expected) << gl.Transcript();
  // The copies bound the host's framebuffer again; the frame read the viewport first.
  EXPECT_EQ(calls.front(), (GLCall{"glGetFloatv", {GL_VIEWPORT}}));
  const std::vector<GLCall> framebuffers = gl.CallsNamed("glBindFramebufferEXT");
  ASSERT_FALSE(framebuffers.empty());
  EXPECT_EQ(framebuffers.back(), (GLCall{"glBindFramebufferEXT", {GL_FRAMEBUFFER_EXT, 9}}));
}

TEST_F(FrameTest, PhasesAdvanceByTwiceTheSpeedPerSecond) {
  struct Case {
    const char* what;
    float speed;
    float vortexSpeed;
    float invert;
    double seconds;
    float time;
    float time2;
  };
  const Case kCases[] = {
      {"ten second pause", 0.25f, 0.5f, 0.0f, 10.0, 5.0f, 10.0f},
      {"speed 0 freezes time only", 0.0f, 0.5f, 0.0f, 2.0, 0.0f, 2.0f},
      {"inverted", 0.25f, 0.125f, 1.0f, 4.0, -2.0f, -1.0f},
      {"inverted by -1", 0.5f, 0.0f, -1.0f, 1.0, -1.0f, 0.0f},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    gl.Reset();
    fake_clock::Reset();
    Vantorel fresh;
    const ViewportRecord viewport{0, 0, 16, 16};
    ASSERT_EQ(fresh.StartGL(&viewport), 0);
    fresh.SetParameterFloat(0, c.speed);
    fresh.SetParameterFloat(1, c.vortexSpeed);
    fresh.SetParameterFloat(10, c.invert);
    const ProcessFrameRecord frame{0, nullptr, 0};
    fake_clock::AdvanceSeconds(c.seconds);
    ASSERT_EQ(fresh.DrawFrame(&frame), 0);
    EXPECT_FLOAT_EQ(fresh.time, c.time);
    EXPECT_FLOAT_EQ(fresh.time2, c.time2);
    for (float channel : fresh.channelTime) EXPECT_EQ(channel, fresh.time);
    EXPECT_DOUBLE_EQ(fresh.clockNow, c.seconds);

    // A frame with no time passed keeps both phases.
    const float time = fresh.time;
    ASSERT_EQ(fresh.DrawFrame(&frame), 0);
    EXPECT_EQ(fresh.time, time);
    fresh.StopGL();
  }
}

TEST_F(FrameTest, InvertTurnsBackFromTheCurrentPhase) {
  Prepare(kPatternUniforms);
  plugin.SetParameterFloat(0, 0.5f);
  fake_clock::AdvanceSeconds(3.0);
  ASSERT_EQ(Frame({}), 0);
  ASSERT_FLOAT_EQ(plugin.time, 3.0f);
  plugin.SetParameterFloat(10, 1.0f);
  fake_clock::AdvanceSeconds(1.0);
  ASSERT_EQ(Frame({}), 0);
  EXPECT_FLOAT_EQ(plugin.time, 2.0f) << "inverting must continue from 3.0, not jump";
}

TEST_F(FrameTest, DateIsYearsSince1900MonthDayAndSecondsOfTheDay) {
  Prepare({{"iDate", 4}});
  std::tm local{};
  local.tm_year = 124;
  local.tm_mon = 2;
  local.tm_mday = 1;
  local.tm_hour = 0;
  local.tm_min = 2;
  local.tm_sec = 5;
  local_time_stub::Set(local);
  ASSERT_EQ(Frame({}), 0);
  EXPECT_EQ(CallsStartingWith("glUniform"),
            (std::vector<GLCall>{{"glUniform4fARB", {4, 124, 3, 1, 125}}}))
      << gl.Transcript();
}

}  // namespace
