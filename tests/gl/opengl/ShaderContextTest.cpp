#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EglContext.h"
#include "gl/FFGLShader.h"

namespace {

constexpr const char* kVertex = "void main() { gl_Position = gl_Vertex; }";
constexpr const char* kFragment =
    "uniform vec4 colour;\n"
    "uniform float unused;\n"
    "void main() { gl_FragColor = colour; }\n";
constexpr const char* kBrokenFragment = "void main() { gl_FragColor = vec4(1.0) }";
constexpr const char* kBrokenVertex = "void main() { gl_Position = gl_Vertex }";

class ShaderContextTest : public EglContextTest {
 protected:
  void SetUp() override {
    EglContextTest::SetUp();
    if (HasFatalFailure()) return;
    table.ResolveAll();
    ASSERT_EQ(table.hasShaderObjects, 1) << Host().Renderer();
    shader.SetExtensionTable(&table);
  }

  void TearDown() override {
    shader.ReleaseObjects();
    EglContextTest::TearDown();
  }

  void DrawQuad() {
    glBegin(GL_QUADS);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
  }

  FFGLExtensionTable table;
  FFGLShader shader;
};

TEST_F(ShaderContextTest, CompilesLinksBindsAndDrawsWithItsUniforms) {
  ASSERT_EQ(shader.CompileAndLink(kVertex, kFragment), 1);
  ASSERT_TRUE(shader.IsProgramReady());
  ASSERT_EQ(shader.Bind(), 1);
  const int32_t colour = shader.UniformLocation("colour");
  EXPECT_GE(colour, 0);
  EXPECT_EQ(shader.UniformLocation("unused"), -1) << "an inactive uniform has no location";
  EXPECT_EQ(shader.UniformLocation("absent"), -1);

  Host().Clear(0.0f, 0.0f, 0.0f, 0.0f);
  table.glUniform4fARB(colour, 1.0f, 0.5f, 0.0f, 1.0f);
  DrawQuad();
  EXPECT_EQ(shader.Unbind(), 1);
  const std::vector<uint8_t> expected = {255, 128, 0, 255};
  const std::vector<uint8_t> centre = Pixel(TargetWidth() / 2, TargetHeight() / 2);
  ASSERT_EQ(centre.size(), 4u);
  for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(centre[i], expected[i], 1) << "channel " << i;
  EXPECT_EQ(TakeGlError(), 0u);
}

TEST_F(ShaderContextTest, BrokenTextsDecideReadiness) {
  struct Case {
    const char* what;
    const char* vertex;
    const char* fragment;
    int result;
    bool ready;
  };
  const Case kCases[] = {
      {"broken fragment", kVertex, kBrokenFragment, 0, false},
      {"both broken", kBrokenVertex, kBrokenFragment, 0, false},
      {"broken vertex links the fragment alone", kBrokenVertex, kFragment, 1, true},
      {"fragment alone", nullptr, kFragment, 1, true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    FFGLShader fresh;
    fresh.SetExtensionTable(&table);
    EXPECT_EQ(fresh.CompileAndLink(c.vertex, c.fragment), c.result);
    EXPECT_EQ(fresh.IsProgramReady(), c.ready);
    fresh.ReleaseObjects();
    EXPECT_EQ(TakeGlError(), 0u);
  }
}

TEST_F(ShaderContextTest, ReleaseDeletesTheObjects) {
  ASSERT_EQ(shader.CompileAndLink(kVertex, kFragment), 1);
  const GLhandleARB program = shader.program;
  shader.ReleaseObjects();
  EXPECT_EQ(shader.program, 0u);
  EXPECT_EQ(TakeGlError(), 0u);
  // A deleted, unused program is gone: asking about it is an invalid value.
  GLint status = 0;
  table.glGetObjectParameterivARB(program, GL_OBJECT_LINK_STATUS_ARB, &status);
  EXPECT_EQ(TakeGlError(), static_cast<unsigned>(GL_INVALID_VALUE));
}

}  // namespace
