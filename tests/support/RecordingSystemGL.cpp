// The OpenGL 1.1 functions the plugin takes from the system library, recorded instead.
#if defined(_WIN32)
#define _GDI32_  // declares the functions below as defined here rather than imported
#endif

#include <vector>

#include "RecordingGL.h"

namespace {

RecordingGL& Gl() {
  return RecordingGL::Instance();
}

double Pointer(const void* pointer) {
  return pointer != nullptr ? 1.0 : 0.0;
}

// Names an object list holds, spread after its count.
std::vector<GLArg> CountAndNames(GLsizei count, const GLuint* names) {
  std::vector<GLArg> args{count};
  for (GLsizei i = 0; names != nullptr && i < count; ++i) args.emplace_back(names[i]);
  return args;
}

}  // namespace

extern "C" {

void APIENTRY glGetFloatv(GLenum pname, GLfloat* params) {
  Gl().GetFloats(pname, params);
  if (!Gl().Quiet()) Gl().Record("glGetFloatv", {pname});
}

void APIENTRY glGetIntegerv(GLenum pname, GLint* params) {
  Gl().GetIntegers(pname, params);
  if (!Gl().Quiet()) Gl().Record("glGetIntegerv", {pname});
}

GLenum APIENTRY glGetError(void) {
  if (!Gl().Quiet()) Gl().Record("glGetError", {});
  return GL_NO_ERROR;
}

void APIENTRY glGenTextures(GLsizei n, GLuint* textures) {
  for (GLsizei i = 0; textures != nullptr && i < n; ++i) {
    textures[i] = Gl().NewObject(GLObjectKind::Texture);
  }
  if (!Gl().Quiet()) Gl().Record("glGenTextures", CountAndNames(n, textures));
}

void APIENTRY glDeleteTextures(GLsizei n, const GLuint* textures) {
  for (GLsizei i = 0; textures != nullptr && i < n; ++i) {
    if (textures[i] != 0) Gl().DeleteObject(GLObjectKind::Texture, textures[i]);
  }
  if (!Gl().Quiet()) Gl().Record("glDeleteTextures", CountAndNames(n, textures));
}

void APIENTRY glBindTexture(GLenum target, GLuint texture) {
  if (!Gl().Quiet()) Gl().Record("glBindTexture", {target, texture});
}

void APIENTRY glTexImage2D(GLenum target, GLint level, GLint internalformat, GLsizei width,
                           GLsizei height, GLint border, GLenum format, GLenum type,
                           const GLvoid* pixels) {
  if (Gl().Quiet()) return;
  Gl().Record("glTexImage2D", {target, level, internalformat, width, height, border, format, type,
                               Pointer(pixels)});
}

void APIENTRY glTexParameterf(GLenum target, GLenum pname, GLfloat param) {
  if (!Gl().Quiet()) Gl().Record("glTexParameterf", {target, pname, param});
}

void APIENTRY glTexParameteri(GLenum target, GLenum pname, GLint param) {
  if (!Gl().Quiet()) Gl().Record("glTexParameteri", {target, pname, param});
}

void APIENTRY glEnable(GLenum cap) {
  if (!Gl().Quiet()) Gl().Record("glEnable", {cap});
}

void APIENTRY glDisable(GLenum cap) {
  if (!Gl().Quiet()) Gl().Record("glDisable", {cap});
}

void APIENTRY glBegin(GLenum mode) {
  if (!Gl().Quiet()) Gl().Record("glBegin", {mode});
}

void APIENTRY glTexCoord2f(GLfloat s, GLfloat t) {
  if (!Gl().Quiet()) Gl().Record("glTexCoord2f", {s, t});
}

void APIENTRY glVertex2f(GLfloat x, GLfloat y) {
  if (!Gl().Quiet()) Gl().Record("glVertex2f", {x, y});
}

void APIENTRY glEnd(void) {
  if (!Gl().Quiet()) Gl().Record("glEnd", {});
}

// Like OpenGL, a later viewport query answers what was set here.
void APIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  Gl().SetViewport(x, y, width, height);
  if (!Gl().Quiet()) Gl().Record("glViewport", {x, y, width, height});
}

}  // extern "C"

#if defined(_WIN32)
// Callers compiled against the import declarations reach each function through an import
// pointer; these stand in for the ones opengl32's import library would supply.
#if defined(_WIN64)
#define RECORDING_IMPORT_NAME(name, argumentBytes) "__imp_" #name
#else
#define RECORDING_IMPORT_NAME(name, argumentBytes) "__imp__" #name "@" #argumentBytes
#endif
#define RECORDING_IMPORT(name, argumentBytes)                                                  \
  extern "C" void* recordingImport_##name __asm__(RECORDING_IMPORT_NAME(name, argumentBytes)); \
  void* recordingImport_##name = reinterpret_cast<void*>(&name);

RECORDING_IMPORT(glGetFloatv, 8)
RECORDING_IMPORT(glGetIntegerv, 8)
RECORDING_IMPORT(glGetError, 0)
RECORDING_IMPORT(glGenTextures, 8)
RECORDING_IMPORT(glDeleteTextures, 8)
RECORDING_IMPORT(glBindTexture, 8)
RECORDING_IMPORT(glTexImage2D, 36)
RECORDING_IMPORT(glTexParameterf, 12)
RECORDING_IMPORT(glTexParameteri, 12)
RECORDING_IMPORT(glEnable, 4)
RECORDING_IMPORT(glDisable, 4)
RECORDING_IMPORT(glBegin, 4)
RECORDING_IMPORT(glTexCoord2f, 8)
RECORDING_IMPORT(glVertex2f, 8)
RECORDING_IMPORT(glEnd, 0)
RECORDING_IMPORT(glViewport, 16)
#endif
