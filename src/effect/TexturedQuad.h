// The one quad the frame and the input copy draw: the whole viewport in normalised device
// coordinates, texture coordinates from (0, 0) to (s, t).
#pragma once

#include "gl/OpenGL.h"

inline void DrawTexturedQuad(GLfloat s, GLfloat t) {
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex2f(-1.0f, -1.0f);
  glTexCoord2f(0.0f, t);
  glVertex2f(-1.0f, 1.0f);
  glTexCoord2f(s, t);
  glVertex2f(1.0f, 1.0f);
  glTexCoord2f(s, 0.0f);
  glVertex2f(1.0f, -1.0f);
  glEnd();
}
