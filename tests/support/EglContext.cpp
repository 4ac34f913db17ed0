#include "EglContext.h"

#include <GL/gl.h>

void EglContextTest::SetUp() {
  host_ = std::make_unique<vtool::EglHost>(TargetWidth(), TargetHeight());
  ASSERT_TRUE(host_->Ready()) << "no OpenGL context for this test: " << host_->Error();
}

void EglContextTest::TearDown() {
  host_.reset();
}

unsigned EglContextTest::TakeGlError() {
  const GLenum first = glGetError();
  // A lost context may answer an error forever; the bound keeps this from spinning.
  for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; ++i) {
  }
  return first;
}
