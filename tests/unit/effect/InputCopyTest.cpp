// The scale of a padded input and the calls that redraw it into the plugin's own texture.
#include <gtest/gtest.h>

#include <vector>

#include "RecordingGL.h"
#include "effect/InputCopy.h"
#include "effect/Vantorel.h"

namespace {

TEST(TexCoordScale, IsThePicturesShareOfTheAllocation) {
  struct Case {
    TextureRecord record;
    double s;
    double t;
  };
  const Case kCases[] = {
      {{320, 240, 512, 256, 1}, 0.625, 0.9375},
      {{640, 480, 640, 480, 1}, 1.0, 1.0},
      {{1, 3, 4096, 4096, 1}, 1.0 / 4096.0, 3.0 / 4096.0},
      {{0xFFFFFFFFu, 5, 0xFFFFFFFFu, 10, 1}, 1.0, 0.5},
  };
  for (const Case& c : kCases) {
    const TexCoordScale scale = getTexCoordScale(c.record);
    EXPECT_EQ(scale.s, c.s) << c.record.width << " of " << c.record.hardwareWidth;
    EXPECT_EQ(scale.t, c.t) << c.record.height << " of " << c.record.hardwareHeight;
  }
}

class InputCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gl.Reset();
    gl.SetViewport(10, 20, 400, 300);
    const ViewportRecord viewport{0, 0, 400, 300};
    ASSERT_EQ(plugin.StartGL(&viewport), 0);
    gl.ClearCalls();
  }
  void TearDown() override { plugin.StopGL(); }

  void Copy(const TextureRecord& record, GLuint& texture, GLenum unit, GLuint hostFramebuffer) {
    plugin.copyInputTexture(record, getTexCoordScale(record), texture, unit, plugin.copyFramebuffer,
                            hostFramebuffer);
  }

  // The calls of one redraw, from binding the plugin's framebuffer to binding the host's again.
  static std::vector<GLCall> Redraw(GLuint framebuffer, GLuint texture, GLuint handle, double s,
                                    double t, double width, double height, GLuint hostFramebuffer) {
    return {
        {"glBindFramebufferEXT", {GL_FRAMEBUFFER_EXT, static_cast<double>(framebuffer)}},
        {"glFramebufferTexture2DEXT",
         {GL_READ_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
          static_cast<double>(texture), 0.0}},
        {"glBindTexture", {GL_TEXTURE_2D, static_cast<double>(handle)}},
        {"glGetIntegerv", {GL_VIEWPORT}},
        {"glViewport", {0.0, 0.0, width, height}},
        {"glEnable", {GL_TEXTURE_2D}},
        {"glBegin", {GL_QUADS}},
        {"glTexCoord2f", {0.0, 0.0}},
        {"glVertex2f", {-1.0, -1.0}},
        {"glTexCoord2f", {0.0, t}},
        {"glVertex2f", {-1.0, 1.0}},
        {"glTexCoord2f", {s, t}},
        {"glVertex2f", {1.0, 1.0}},
        {"glTexCoord2f", {s, 0.0}},
        {"glVertex2f", {1.0, -1.0}},
        {"glEnd", {}},
        {"glViewport", {10, 20, 400, 300}},
        {"glDisable", {GL_TEXTURE_2D}},
        {"glBindTexture", {GL_TEXTURE_2D, 0.0}},
        {"glBindFramebufferEXT", {GL_FRAMEBUFFER_EXT, static_cast<double>(hostFramebuffer)}},
    };
  }

  RecordingGL& gl = RecordingGL::Instance();
  Vantorel plugin;
};

TEST_F(InputCopyTest, FirstCopyMakesFramebufferAndTextureThenRedraws) {
  const TextureRecord record{320, 240, 512, 256, 77};
  GLuint texture = 0;
  Copy(record, texture, GL_TEXTURE0, 6);
  ASSERT_NE(texture, 0u);
  ASSERT_NE(plugin.copyFramebuffer, 0u);
  const double name = texture;
  std::vector<GLCall> expected = {
      {"glGenFramebuffersEXT", {1, static_cast<double>(plugin.copyFramebuffer)}},
      {"glGenTextures", {1, name}},
      {"glActiveTexture", {GL_TEXTURE0}},
      {"glBindTexture", {GL_TEXTURE_2D, name}},
      {"glTexImage2D",
       {GL_TEXTURE_2D, 0.0, GL_RGBA, 320, 240, 0.0, GL_RGBA, GL_UNSIGNED_BYTE, 0.0}},
      {"glTexParameterf", {GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT}},
      {"glTexParameterf", {GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT}},
      {"glTexParameterf", {GL_TEXTURE_2D, GL_TEXTURE_WRAP_R, GL_REPEAT}},
      {"glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR}},
      {"glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}},
      {"glBindTexture", {GL_TEXTURE_2D, 0.0}},
      {"glActiveTexture", {GL_TEXTURE0}},
  };
  const std::vector<GLCall> redraw =
      Redraw(plugin.copyFramebuffer, texture, 77, 0.625, 0.9375, 320, 240, 6);
  expected.insert(expected.end(), redraw.begin(), redraw.end());
  EXPECT_EQ(gl.Calls(), expected) << gl.Transcript();
}

TEST_F(InputCopyTest, LaterCopiesOnlyRedraw) {
  const TextureRecord record{640, 480, 640, 480, 78};
  GLuint texture = 0;
  Copy(record, texture, GL_TEXTURE0, 0);
  const GLuint made = texture;
  const GLuint framebuffer = plugin.copyFramebuffer;
  gl.ClearCalls();
  Copy(record, texture, GL_TEXTURE0, 0);
  EXPECT_EQ(texture, made);
  EXPECT_EQ(plugin.copyFramebuffer, framebuffer);
  EXPECT_EQ(gl.Calls(), Redraw(framebuffer, made, 78, 1.0, 1.0, 640, 480, 0)) << gl.Transcript();
}

TEST_F(InputCopyTest, SecondInputIsSetUpOnUnitOne) {
  const TextureRecord record{100, 50, 128, 64, 79};
  GLuint texture = 0;
  Copy(record, texture, GL_TEXTURE1, 3);
  const std::vector<GLCall> units = gl.CallsNamed("glActiveTexture");
  ASSERT_EQ(units.size(), 2u) << gl.Transcript();
  EXPECT_EQ(units[0], (GLCall{"glActiveTexture", {GL_TEXTURE1}}));
  EXPECT_EQ(units[1], (GLCall{"glActiveTexture", {GL_TEXTURE0}}));
  // Unit 0 is active again before the framebuffer is bound.
  const std::vector<std::string> names = gl.CallNames();
  size_t lastUnit = 0;
  size_t firstBind = names.size();
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == "glActiveTexture") lastUnit = i;
    if (names[i] == "glBindFramebufferEXT" && firstBind == names.size()) firstBind = i;
  }
  EXPECT_LT(lastUnit, firstBind);
}

}  // namespace
