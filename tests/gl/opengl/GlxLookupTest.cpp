// A windowed host's context: GLX on an X display (the test runs under xvfb-run). EGL is loaded
// as well, as it may be in such a host, so the lookup has to find which of the two is current.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "TableFields.h"
#include "gl/FFGLExtensionTable.h"
#include "platform/Platform.h"

// Last: the X headers define macros (None, Bool, Status) that clash with other headers.
#include <GL/glx.h>
#include <X11/Xlib.h>

namespace {

class GlxLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    egl = dlopen("libEGL.so.1", RTLD_NOW | RTLD_GLOBAL);
    ASSERT_NE(egl, nullptr) << "loading libEGL.so.1: " << dlerror();
    const char* name = std::getenv("DISPLAY");
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "no X display (DISPLAY=" << (name != nullptr ? name : "unset")
                                << "); run this test under xvfb-run";
    const int wanted[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT, None};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, DefaultScreen(display), wanted, &count);
    ASSERT_TRUE(configs != nullptr && count > 0) << "glXChooseFBConfig: no pbuffer configuration";
    const GLXFBConfig config = configs[0];
    XFree(configs);
    const int size[] = {GLX_PBUFFER_WIDTH, 16, GLX_PBUFFER_HEIGHT, 16, None};
    pbuffer = glXCreatePbuffer(display, config, size);
    ASSERT_NE(pbuffer, 0u) << "glXCreatePbuffer failed";
    context = glXCreateNewContext(display, config, GLX_RGBA_TYPE, nullptr, True);
    ASSERT_NE(context, nullptr) << "glXCreateNewContext failed";
  }

  void TearDown() override {
    if (display == nullptr) return;
    glXMakeContextCurrent(display, None, None, nullptr);
    if (context != nullptr) glXDestroyContext(display, context);
    if (pbuffer != 0) glXDestroyPbuffer(display, pbuffer);
    XCloseDisplay(display);
  }

  void* egl = nullptr;
  Display* display = nullptr;
  GLXPbuffer pbuffer = 0;
  GLXContext context = nullptr;
};

TEST_F(GlxLookupTest, ResolvesThroughTheCurrentGlxContextOnly) {
  EXPECT_EQ(platform::LookupEntryPoint("glActiveTexture"), nullptr) << "before any context";

  ASSERT_TRUE(glXMakeContextCurrent(display, pbuffer, pbuffer, context));
  FFGLExtensionTable table;
  table.ResolveAll();
  const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  EXPECT_EQ(table.hasMultitexture, 1) << renderer;
  EXPECT_EQ(table.hasShaderObjects, 1) << renderer;
  EXPECT_EQ(table.hasFramebufferObject, 1) << renderer;
  for (const TableField& field : AllFields()) {
    if (field.group == Group::SwapControl) continue;
    EXPECT_NE(field.read(table), nullptr) << field.name;
  }
  // The addresses work on this context.
  table.glActiveTexture(GL_TEXTURE2);
  GLint active = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
  EXPECT_EQ(active, GL_TEXTURE2);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  glXMakeContextCurrent(display, None, None, nullptr);
  EXPECT_EQ(platform::LookupEntryPoint("glActiveTexture"), nullptr) << "after release";
}

}  // namespace
