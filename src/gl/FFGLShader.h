// One GLSL program object with its vertex and fragment shader objects, driven through the
// shader-object entry points of an extension table.
#pragma once

#include <cstdint>

#include "gl/FFGLExtensionTable.h"

class FFGLShader {
 public:
  FFGLShader() = default;
  // Makes no OpenGL call: the owner releases the objects first with ReleaseObjects.
  virtual ~FFGLShader();
  // A copy would delete the same OpenGL objects twice.
  FFGLShader(const FFGLShader&) = delete;
  FFGLShader& operator=(const FFGLShader&) = delete;

  // Stores the table whose entry points every later operation calls; not owned.
  void SetExtensionTable(FFGLExtensionTable* extensions);

  // Creates missing objects, compiles the fragment then the vertex text (null or empty texts
  // are skipped), attaches each stage that compiled and links when one did. Answers the new
  // linkStatus (1: linked), or 0 without any call when no usable table is attached.
  int CompileAndLink(const char* vertexSource, const char* fragmentSource);

  // Creates whichever of the program and the two shader objects is missing.
  void CreateObjects();

  // Location of the named uniform in the program; -1 when it has none.
  int32_t UniformLocation(const char* name);

  // 1 when the program was made current, 0 when no call was made.
  int Bind();
  // 1 when no program was made current, 0 when no call was made.
  int Unbind();

  // Deletes the fragment object, the vertex object and the program, zeroing each handle.
  void ReleaseObjects();

  // All three objects exist and the last link succeeded.
  bool IsProgramReady() const;

  FFGLExtensionTable* table = nullptr;
  GLhandleARB program = 0;
  GLhandleARB vertexObject = 0;
  GLhandleARB fragmentObject = 0;
  int32_t linkStatus = 0;  // as OpenGL reported it at the last link; 0 when nothing was linked
};
