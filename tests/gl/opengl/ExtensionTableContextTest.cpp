#include <gtest/gtest.h>

#include "EglContext.h"
#include "TableFields.h"
#include "gl/FFGLExtensionTable.h"
#include "platform/Platform.h"

namespace {

using ExtensionTableContextTest = EglContextTest;

TEST_F(ExtensionTableContextTest, DrawingGroupsResolveAndWindowsSwapControlDoesNot) {
  FFGLExtensionTable table;
  table.ResolveAll();
  const std::string where = Host().PlatformName() + ", " + Host().Renderer();
  EXPECT_EQ(table.hasMultitexture, 1) << where;
  EXPECT_EQ(table.hasShaderObjects, 1) << where;
  EXPECT_EQ(table.hasFramebufferObject, 1) << where;
  EXPECT_EQ(table.hasSwapControl, 0) << "a WGL name resolved on " << where;
  for (const TableField& field : AllFields()) {
    if (field.group == Group::SwapControl) continue;
    EXPECT_NE(field.read(table), nullptr) << field.name << " on " << where;
  }
  EXPECT_EQ(table.wglGetSwapIntervalEXT, nullptr) << "looked up after the first swap name failed";
}

TEST_F(ExtensionTableContextTest, ResolvedEntryPointsWorkOnTheContext) {
  FFGLExtensionTable table;
  table.ResolveAll();
  ASSERT_EQ(table.hasMultitexture, 1);
  ASSERT_EQ(table.hasFramebufferObject, 1);
  table.glActiveTexture(GL_TEXTURE1);
  GLint active = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
  EXPECT_EQ(active, GL_TEXTURE1);
  table.glActiveTexture(GL_TEXTURE0);

  GLuint framebuffer = 0;
  table.glGenFramebuffersEXT(1, &framebuffer);
  EXPECT_NE(framebuffer, 0u);
  table.glDeleteFramebuffersEXT(1, &framebuffer);
  EXPECT_EQ(TakeGlError(), 0u);
}

// With no context current nothing can answer for one.
TEST(EntryPointLookupTest, AnswersNullWithoutACurrentContext) {
  EXPECT_EQ(platform::LookupEntryPoint("glActiveTexture"), nullptr);
  EXPECT_EQ(platform::LookupEntryPoint(nullptr), nullptr);
}

}  // namespace
