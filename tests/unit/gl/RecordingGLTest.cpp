// The stand-in other tests rely on: its answers, its object books and its quiet switch.
#include <gtest/gtest.h>

#include "RecordingGL.h"
#include "gl/FFGLExtensionTable.h"

namespace {

class RecordingGLTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gl.Reset();
    table.ResolveAll();
    gl.ClearCalls();
  }

  RecordingGL& gl = RecordingGL::Instance();
  FFGLExtensionTable table;
};

TEST_F(RecordingGLTest, ViewportQueriesAnswerWhatWasSetLast) {
  gl.SetViewport(1, 2, 640, 480);
  GLint integers[4] = {};
  glGetIntegerv(GL_VIEWPORT, integers);
  EXPECT_EQ(integers[2], 640);
  glViewport(0, 0, 32, 16);
  GLfloat floats[4] = {};
  glGetFloatv(GL_VIEWPORT, floats);
  EXPECT_EQ(floats[2], 32.0f);
  EXPECT_EQ(floats[3], 16.0f);
}

TEST_F(RecordingGLTest, BooksCountEveryKindAndStrayDeletes) {
  const GLhandleARB program = table.glCreateProgramObjectARB();
  const GLhandleARB shader = table.glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
  EXPECT_NE(program, shader) << "shader-object handles share one space";
  GLuint textures[2] = {};
  glGenTextures(2, textures);
  GLuint framebuffer = 0;
  table.glGenFramebuffersEXT(1, &framebuffer);
  EXPECT_EQ(gl.Live(GLObjectKind::Program), 1u);
  EXPECT_EQ(gl.Live(GLObjectKind::Shader), 1u);
  EXPECT_EQ(gl.Live(GLObjectKind::Texture), 2u);
  EXPECT_EQ(gl.Live(GLObjectKind::Framebuffer), 1u);

  table.glDeleteObjectARB(shader);
  table.glDeleteObjectARB(shader);
  glDeleteTextures(2, textures);
  table.glDeleteFramebuffersEXT(1, &framebuffer);
  EXPECT_EQ(gl.Live(GLObjectKind::Shader), 0u);
  EXPECT_EQ(gl.Live(GLObjectKind::Texture), 0u);
  EXPECT_EQ(gl.Live(GLObjectKind::Framebuffer), 0u);
  EXPECT_EQ(gl.Live(GLObjectKind::Program), 1u);
  EXPECT_EQ(gl.StrayDeletes(), 1u) << "the second delete of the shader";
}

TEST_F(RecordingGLTest, QuietRecordsNothingButStillAnswers) {
  gl.SetQuiet(true);
  gl.SetUniformLocation("time", 3);
  const GLhandleARB program = table.glCreateProgramObjectARB();
  EXPECT_NE(program, 0u);
  EXPECT_EQ(table.glGetUniformLocationARB(program, "time"), 3);
  glEnable(GL_TEXTURE_2D);
  EXPECT_TRUE(gl.Calls().empty()) << gl.Transcript();
  gl.SetQuiet(false);
  glEnable(GL_TEXTURE_2D);
  EXPECT_EQ(gl.Calls(), (std::vector<GLCall>{{"glEnable", {GL_TEXTURE_2D}}}));
}

TEST_F(RecordingGLTest, ArraysAreSpreadIntoTheRecordedArguments) {
  const GLfloat values[6] = {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f};
  table.glUniform3fvARB(7, 2, values);
  const GLcharARB* texts[2] = {"abc", "defgh"};
  const GLint lengths[2] = {2, -1};
  table.glShaderSourceARB(4, 2, texts, lengths);
  const std::vector<GLCall> expected = {
      {"glUniform3fvARB", {7, 2, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f}},
      {"glShaderSourceARB", {4, 2, "ab", "defgh", 1}},
  };
  EXPECT_EQ(gl.Calls(), expected) << gl.Transcript();
}

}  // namespace
