// Redrawing a host input, picture only, into a plugin-owned texture of the picture's size.
#include "effect/InputCopy.h"

#include "effect/TexturedQuad.h"
#include "effect/Vantorel.h"
#include "gl/OpenGL.h"

TexCoordScale getTexCoordScale(TextureRecord texture) {
  return TexCoordScale{
      static_cast<double>(texture.width) / static_cast<double>(texture.hardwareWidth),
      static_cast<double>(texture.height) / static_cast<double>(texture.hardwareHeight)};
}

void Vantorel::copyInputTexture(TextureRecord texture, TexCoordScale scale, GLuint& copyTexture,
                                GLenum textureUnit, GLuint& framebuffer, GLuint hostFramebuffer) {
  if (framebuffer == 0) extensions.glGenFramebuffersEXT(1, &framebuffer);

  if (copyTexture == 0) {
    glGenTextures(1, &copyTexture);
    extensions.glActiveTexture(textureUnit);
    glBindTexture(GL_TEXTURE_2D, copyTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(texture.width),
                 static_cast<GLsizei>(texture.height), 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_REPEAT));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(GL_REPEAT));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_R, static_cast<GLfloat>(GL_REPEAT));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    extensions.glActiveTexture(GL_TEXTURE0);
  }

  extensions.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
  // Binding to GL_FRAMEBUFFER_EXT set both targets, so this attaches to the draw target too.
  extensions.glFramebufferTexture2DEXT(GL_READ_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT,
                                       GL_TEXTURE_2D, copyTexture, 0);
  glBindTexture(GL_TEXTURE_2D, texture.handle);

  // The quad must cover the whole copy, whatever viewport the host set.
  GLint hostViewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, hostViewport);
  glViewport(0, 0, static_cast<GLsizei>(texture.width), static_cast<GLsizei>(texture.height));

  glEnable(GL_TEXTURE_2D);
  DrawTexturedQuad(static_cast<GLfloat>(scale.s), static_cast<GLfloat>(scale.t));
  glViewport(hostViewport[0], hostViewport[1], hostViewport[2], hostViewport[3]);
  glDisable(GL_TEXTURE_2D);

  glBindTexture(GL_TEXTURE_2D, 0);
  extensions.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, hostFramebuffer);
}
