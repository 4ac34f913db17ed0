#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingGL.h"
#include "gl/FFGLShader.h"

namespace {

constexpr const char* kVertex = "vertex text";
constexpr const char* kFragment = "fragment text";
// Handles the recording hands out on a fresh start: program, vertex, fragment.
constexpr GLuint kProgram = 1;
constexpr GLuint kVertexObject = 2;
constexpr GLuint kFragmentObject = 3;

class ShaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gl.Reset();
    table.ResolveAll();
    ASSERT_EQ(table.hasShaderObjects, 1);
    gl.ClearCalls();
  }

  // A shader with its three objects made and linked, and a clean call list.
  void Prepare(FFGLShader& shader) {
    shader.SetExtensionTable(&table);
    ASSERT_EQ(shader.CompileAndLink(kVertex, kFragment), 1) << gl.Transcript();
    gl.ClearCalls();
  }

  RecordingGL& gl = RecordingGL::Instance();
  FFGLExtensionTable table;
};

TEST_F(ShaderTest, FreshShaderCreatesCompilesFragmentThenVertexAndLinks) {
  FFGLShader shader;
  shader.SetExtensionTable(&table);
  EXPECT_EQ(shader.CompileAndLink(kVertex, kFragment), 1);

  const std::vector<GLCall> expected = {
      {"glCreateProgramObjectARB", {}},
      {"glCreateShaderObjectARB", {GL_VERTEX_SHADER_ARB}},
      {"glCreateShaderObjectARB", {GL_FRAGMENT_SHADER_ARB}},
      {"glShaderSourceARB", {kFragmentObject, 1, kFragment, 0}},
      {"glCompileShaderARB", {kFragmentObject}},
      {"glGetObjectParameterivARB", {kFragmentObject, GL_OBJECT_COMPILE_STATUS_ARB}},
      {"glAttachObjectARB", {kProgram, kFragmentObject}},
      {"glShaderSourceARB", {kVertexObject, 1, kVertex, 0}},
      {"glCompileShaderARB", {kVertexObject}},
      {"glGetObjectParameterivARB", {kVertexObject, GL_OBJECT_COMPILE_STATUS_ARB}},
      {"glAttachObjectARB", {kProgram, kVertexObject}},
      {"glLinkProgramARB", {kProgram}},
      {"glGetObjectParameterivARB", {kProgram, GL_OBJECT_LINK_STATUS_ARB}},
  };
  EXPECT_EQ(gl.Calls(), expected) << gl.Transcript();
  EXPECT_EQ(shader.table, &table);
  EXPECT_EQ(shader.program, kProgram);
  EXPECT_EQ(shader.vertexObject, kVertexObject);
  EXPECT_EQ(shader.fragmentObject, kFragmentObject);
  EXPECT_EQ(shader.linkStatus, 1);
  EXPECT_TRUE(shader.IsProgramReady());
}

TEST_F(ShaderTest, CompileAndLinkWithoutTableChangesNothing) {
  FFGLShader shader;
  shader.linkStatus = 7;
  EXPECT_EQ(shader.CompileAndLink(kVertex, kFragment), 0);
  EXPECT_EQ(shader.linkStatus, 7);
  EXPECT_TRUE(gl.Calls().empty()) << gl.Transcript();
}

TEST_F(ShaderTest, StagesAndStatusesDecideTheLink) {
  struct Case {
    const char* what;
    const char* vertex;
    const char* fragment;
    GLint vertexCompiles;
    GLint fragmentCompiles;
    GLint linkAnswer;
    int result;
    bool ready;
    std::vector<std::string> calls;  // after the three creations
  };
  const std::vector<std::string> fragmentOnly = {
      "glShaderSourceARB", "glCompileShaderARB", "glGetObjectParameterivARB",
      "glAttachObjectARB", "glLinkProgramARB",   "glGetObjectParameterivARB"};
  const std::vector<std::string> bothCompiledOnly = {
      "glShaderSourceARB", "glCompileShaderARB", "glGetObjectParameterivARB",
      "glShaderSourceARB", "glCompileShaderARB", "glGetObjectParameterivARB"};
  const std::vector<std::string> fragmentAttachedVertexFailed = {
      "glShaderSourceARB",         "glCompileShaderARB", "glGetObjectParameterivARB",
      "glAttachObjectARB",         "glShaderSourceARB",  "glCompileShaderARB",
      "glGetObjectParameterivARB", "glLinkProgramARB",   "glGetObjectParameterivARB"};
  const std::vector<std::string> vertexAttachedFragmentFailed = {
      "glShaderSourceARB", "glCompileShaderARB", "glGetObjectParameterivARB",
      "glShaderSourceARB", "glCompileShaderARB", "glGetObjectParameterivARB",
      "glAttachObjectARB"};
  const Case kCases[] = {
      {"null vertex text", nullptr, kFragment, 1, 1, 1, 1, true, fragmentOnly},
      {"empty vertex text", "", kFragment, 1, 1, 1, 1, true, fragmentOnly},
      {"both fail to compile", kVertex, kFragment, 0, 0, 1, 0, false, bothCompiledOnly},
      {"compile status 2 is not success", kVertex, kFragment, 2, 2, 1, 0, false, bothCompiledOnly},
      {"vertex fails: linked with the fragment alone", kVertex, kFragment, 0, 1, 1, 1, true,
       fragmentAttachedVertexFailed},
      {"fragment fails: not linked with the vertex alone", kVertex, kFragment, 1, 0, 1, 0, false,
       vertexAttachedFragmentFailed},
      {"link fails", nullptr, kFragment, 1, 1, 0, 0, false, fragmentOnly},
      {"link status 2 is not ready", nullptr, kFragment, 1, 1, 2, 2, false, fragmentOnly},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    gl.Reset();
    gl.SetCompileStatus(GL_VERTEX_SHADER_ARB, c.vertexCompiles);
    gl.SetCompileStatus(GL_FRAGMENT_SHADER_ARB, c.fragmentCompiles);
    gl.SetLinkStatus(c.linkAnswer);
    FFGLShader shader;
    shader.SetExtensionTable(&table);
    EXPECT_EQ(shader.CompileAndLink(c.vertex, c.fragment), c.result);
    EXPECT_EQ(shader.linkStatus, c.result);
    EXPECT_EQ(shader.IsProgramReady(), c.ready);
    std::vector<std::string> expected = {"glCreateProgramObjectARB", "glCreateShaderObjectARB",
                                         "glCreateShaderObjectARB"};
    expected.insert(expected.end(), c.calls.begin(), c.calls.end());
    EXPECT_EQ(gl.CallNames(), expected) << gl.Transcript();
  }
}

TEST_F(ShaderTest, ProgramThatCannotBeCreatedIsRetriedOnTheNextCompile) {
  gl.QueueObjectNames(GLObjectKind::Program, {0});
  FFGLShader shader;
  shader.SetExtensionTable(&table);
  EXPECT_EQ(shader.CompileAndLink(kVertex, kFragment), 0);
  EXPECT_EQ(shader.program, 0u);
  EXPECT_FALSE(shader.IsProgramReady());
  const std::vector<std::string> creationsOnly = {
      "glCreateProgramObjectARB", "glCreateShaderObjectARB", "glCreateShaderObjectARB"};
  EXPECT_EQ(gl.CallNames(), creationsOnly) << gl.Transcript();

  gl.ClearCalls();
  EXPECT_EQ(shader.CompileAndLink(kVertex, kFragment), 1);
  EXPECT_TRUE(shader.IsProgramReady());
  ASSERT_FALSE(gl.Calls().empty());
  EXPECT_EQ(gl.Calls()[0], (GLCall{"glCreateProgramObjectARB", {}})) << gl.Transcript();
  EXPECT_EQ(gl.CallsNamed("glCreateShaderObjectARB").size(), 0u) << "shaders made twice";
  EXPECT_EQ(gl.Live(GLObjectKind::Shader), 2u);
}

TEST_F(ShaderTest, RecompileReusesObjectsAndAttachesAgain) {
  FFGLShader shader;
  Prepare(shader);
  EXPECT_EQ(shader.CompileAndLink("other vertex", "other fragment"), 1);
  EXPECT_TRUE(gl.CallsNamed("glCreateProgramObjectARB").empty()) << gl.Transcript();
  EXPECT_TRUE(gl.CallsNamed("glCreateShaderObjectARB").empty()) << gl.Transcript();
  const std::vector<GLCall> sources = gl.CallsNamed("glShaderSourceARB");
  ASSERT_EQ(sources.size(), 2u) << gl.Transcript();
  EXPECT_EQ(sources[0], (GLCall{"glShaderSourceARB", {kFragmentObject, 1, "other fragment", 0}}));
  EXPECT_EQ(sources[1], (GLCall{"glShaderSourceARB", {kVertexObject, 1, "other vertex", 0}}));
  EXPECT_EQ(gl.CallsNamed("glAttachObjectARB").size(), 2u) << gl.Transcript();
  EXPECT_EQ(gl.CallsNamed("glDetachObjectARB").size(), 0u) << gl.Transcript();
  EXPECT_EQ(gl.CallsNamed("glLinkProgramARB").size(), 1u) << gl.Transcript();
}

TEST_F(ShaderTest, ReleaseDeletesFragmentVertexProgramOnce) {
  FFGLShader shader;
  Prepare(shader);
  shader.ReleaseObjects();
  const std::vector<GLCall> expected = {
      {"glDeleteObjectARB", {kFragmentObject}},
      {"glDeleteObjectARB", {kVertexObject}},
      {"glDeleteObjectARB", {kProgram}},
  };
  EXPECT_EQ(gl.Calls(), expected) << gl.Transcript();
  EXPECT_EQ(shader.program, 0u);
  EXPECT_EQ(shader.vertexObject, 0u);
  EXPECT_EQ(shader.fragmentObject, 0u);
  EXPECT_EQ(shader.linkStatus, 1) << "release resets the link status";
  EXPECT_FALSE(shader.IsProgramReady());
  EXPECT_EQ(gl.Live(GLObjectKind::Program) + gl.Live(GLObjectKind::Shader), 0u);
  EXPECT_EQ(gl.StrayDeletes(), 0u);

  gl.ClearCalls();
  shader.ReleaseObjects();
  EXPECT_TRUE(gl.Calls().empty()) << "second release called\n" << gl.Transcript();

  // After a release the next compile starts over with fresh objects.
  EXPECT_EQ(shader.CompileAndLink(kVertex, kFragment), 1);
  EXPECT_EQ(gl.CallsNamed("glCreateShaderObjectARB").size(), 2u) << gl.Transcript();
  EXPECT_TRUE(shader.IsProgramReady());
}

TEST_F(ShaderTest, ReleaseWithoutTableTouchesNothing) {
  FFGLShader shader;
  shader.program = 5;
  shader.vertexObject = 6;
  shader.fragmentObject = 7;
  shader.ReleaseObjects();
  EXPECT_TRUE(gl.Calls().empty()) << gl.Transcript();
  EXPECT_EQ(shader.program, 5u);
  EXPECT_EQ(shader.vertexObject, 6u);
  EXPECT_EQ(shader.fragmentObject, 7u);
}

TEST_F(ShaderTest, BindAndUnbindCallOnlyWithShaderObjectsAndAProgram) {
  struct Case {
    const char* what;
    bool attachTable;
    int32_t hasShaderObjects;
    bool prepared;
    int bindResult;
    std::vector<GLCall> bindCalls;
    int unbindResult;
    std::vector<GLCall> unbindCalls;
  };
  const Case kCases[] = {
      {"prepared",
       true,
       1,
       true,
       1,
       {{"glUseProgramObjectARB", {kProgram}}},
       1,
       {{"glUseProgramObjectARB", {0}}}},
      {"flag 0", true, 0, true, 0, {}, 0, {}},
      {"no program", true, 1, false, 0, {}, 1, {{"glUseProgramObjectARB", {0}}}},
      {"no table", false, 1, false, 0, {}, 0, {}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    FFGLExtensionTable local = table;
    FFGLShader shader;
    if (c.prepared) {
      shader.SetExtensionTable(&local);
      ASSERT_EQ(shader.CompileAndLink(kVertex, kFragment), 1);
    }
    shader.SetExtensionTable(c.attachTable ? &local : nullptr);
    local.hasShaderObjects = c.hasShaderObjects;
    gl.ClearCalls();
    EXPECT_EQ(shader.Bind(), c.bindResult);
    EXPECT_EQ(gl.Calls(), c.bindCalls) << gl.Transcript();
    gl.ClearCalls();
    EXPECT_EQ(shader.Unbind(), c.unbindResult);
    EXPECT_EQ(gl.Calls(), c.unbindCalls) << gl.Transcript();
    gl.Reset();
  }
}

TEST_F(ShaderTest, UniformLocationAnswersWhatOpenGLReports) {
  FFGLShader shader;
  Prepare(shader);
  gl.SetUniformLocation("time", 4);
  EXPECT_EQ(shader.UniformLocation("time"), 4);
  EXPECT_EQ(shader.UniformLocation("absent"), -1);
  const std::vector<GLCall> expected = {
      {"glGetUniformLocationARB", {kProgram, "time"}},
      {"glGetUniformLocationARB", {kProgram, "absent"}},
  };
  EXPECT_EQ(gl.Calls(), expected) << gl.Transcript();
}

TEST_F(ShaderTest, DestructionMakesNoCallAndLeavesTheObjectsAlive) {
  {
    FFGLShader shader;
    Prepare(shader);
  }
  EXPECT_TRUE(gl.Calls().empty()) << "destructor called\n" << gl.Transcript();
  EXPECT_EQ(gl.Live(GLObjectKind::Program), 1u);
  EXPECT_EQ(gl.Live(GLObjectKind::Shader), 2u);
}

// Operations reached without a usable table answer failure instead of calling through null.
TEST_F(ShaderTest, NoNullEntryPointIsEverCalled) {
  FFGLExtensionTable empty;
  FFGLShader shader;
  EXPECT_EQ(shader.Unbind(), 0);
  EXPECT_EQ(shader.UniformLocation("time"), -1);
  shader.SetExtensionTable(&empty);
  empty.hasShaderObjects = 1;  // a flag that lies about the addresses
  EXPECT_EQ(shader.CompileAndLink(kVertex, kFragment), 0);
  EXPECT_EQ(shader.Bind(), 0);
  EXPECT_EQ(shader.Unbind(), 0);
  EXPECT_EQ(shader.UniformLocation("time"), -1);
  shader.program = 9;
  shader.ReleaseObjects();
  EXPECT_EQ(shader.program, 9u) << "handle zeroed without a delete";
  EXPECT_TRUE(gl.Calls().empty()) << gl.Transcript();
}

}  // namespace
