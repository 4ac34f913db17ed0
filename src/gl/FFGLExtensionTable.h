// Per-instance table of OpenGL extension entry points, looked up by name for the current context.
#pragma once

#include <cstdint>

#include "gl/OpenGL.h"
#include "platform/Platform.h"

// Each list names its group's entry points once, in layout order, as X(pointer type, name); the
// field names and the looked-up strings both come from these lists. The multitexture types are
// the ARB ones: the same signatures, and Mesa's <GL/gl.h> hides most of the core ones.
#define FFGL_MULTITEXTURE_ENTRY_POINTS(X)                   \
  X(PFNGLACTIVETEXTUREARBPROC, glActiveTexture)             \
  X(PFNGLCLIENTACTIVETEXTUREARBPROC, glClientActiveTexture) \
  X(PFNGLMULTITEXCOORD1DARBPROC, glMultiTexCoord1d)         \
  X(PFNGLMULTITEXCOORD1DVARBPROC, glMultiTexCoord1dv)       \
  X(PFNGLMULTITEXCOORD1FARBPROC, glMultiTexCoord1f)         \
  X(PFNGLMULTITEXCOORD1FVARBPROC, glMultiTexCoord1fv)       \
  X(PFNGLMULTITEXCOORD1IARBPROC, glMultiTexCoord1i)         \
  X(PFNGLMULTITEXCOORD1IVARBPROC, glMultiTexCoord1iv)       \
  X(PFNGLMULTITEXCOORD1SARBPROC, glMultiTexCoord1s)         \
  X(PFNGLMULTITEXCOORD1SVARBPROC, glMultiTexCoord1sv)       \
  X(PFNGLMULTITEXCOORD2DARBPROC, glMultiTexCoord2d)         \
  X(PFNGLMULTITEXCOORD2DVARBPROC, glMultiTexCoord2dv)       \
  X(PFNGLMULTITEXCOORD2FARBPROC, glMultiTexCoord2f)         \
  X(PFNGLMULTITEXCOORD2FVARBPROC, glMultiTexCoord2fv)       \
  X(PFNGLMULTITEXCOORD2IARBPROC, glMultiTexCoord2i)         \
  X(PFNGLMULTITEXCOORD2IVARBPROC, glMultiTexCoord2iv)       \
  X(PFNGLMULTITEXCOORD2SARBPROC, glMultiTexCoord2s)         \
  X(PFNGLMULTITEXCOORD2SVARBPROC, glMultiTexCoord2sv)       \
  X(PFNGLMULTITEXCOORD3DARBPROC, glMultiTexCoord3d)         \
  X(PFNGLMULTITEXCOORD3DVARBPROC, glMultiTexCoord3dv)       \
  X(PFNGLMULTITEXCOORD3FARBPROC, glMultiTexCoord3f)         \
  X(PFNGLMULTITEXCOORD3FVARBPROC, glMultiTexCoord3fv)       \
  X(PFNGLMULTITEXCOORD3IARBPROC, glMultiTexCoord3i)         \
  X(PFNGLMULTITEXCOORD3IVARBPROC, glMultiTexCoord3iv)       \
  X(PFNGLMULTITEXCOORD3SARBPROC, glMultiTexCoord3s)         \
  X(PFNGLMULTITEXCOORD3SVARBPROC, glMultiTexCoord3sv)       \
  X(PFNGLMULTITEXCOORD4DARBPROC, glMultiTexCoord4d)         \
  X(PFNGLMULTITEXCOORD4DVARBPROC, glMultiTexCoord4dv)       \
  X(PFNGLMULTITEXCOORD4FARBPROC, glMultiTexCoord4f)         \
  X(PFNGLMULTITEXCOORD4FVARBPROC, glMultiTexCoord4fv)       \
  X(PFNGLMULTITEXCOORD4IARBPROC, glMultiTexCoord4i)         \
  X(PFNGLMULTITEXCOORD4IVARBPROC, glMultiTexCoord4iv)       \
  X(PFNGLMULTITEXCOORD4SARBPROC, glMultiTexCoord4s)         \
  X(PFNGLMULTITEXCOORD4SVARBPROC, glMultiTexCoord4sv)

#define FFGL_SHADER_OBJECT_ENTRY_POINTS(X)                       \
  X(PFNGLDELETEOBJECTARBPROC, glDeleteObjectARB)                 \
  X(PFNGLGETHANDLEARBPROC, glGetHandleARB)                       \
  X(PFNGLDETACHOBJECTARBPROC, glDetachObjectARB)                 \
  X(PFNGLCREATESHADEROBJECTARBPROC, glCreateShaderObjectARB)     \
  X(PFNGLSHADERSOURCEARBPROC, glShaderSourceARB)                 \
  X(PFNGLCOMPILESHADERARBPROC, glCompileShaderARB)               \
  X(PFNGLCREATEPROGRAMOBJECTARBPROC, glCreateProgramObjectARB)   \
  X(PFNGLATTACHOBJECTARBPROC, glAttachObjectARB)                 \
  X(PFNGLLINKPROGRAMARBPROC, glLinkProgramARB)                   \
  X(PFNGLUSEPROGRAMOBJECTARBPROC, glUseProgramObjectARB)         \
  X(PFNGLVALIDATEPROGRAMARBPROC, glValidateProgramARB)           \
  X(PFNGLUNIFORM1FARBPROC, glUniform1fARB)                       \
  X(PFNGLUNIFORM2FARBPROC, glUniform2fARB)                       \
  X(PFNGLUNIFORM3FARBPROC, glUniform3fARB)                       \
  X(PFNGLUNIFORM4FARBPROC, glUniform4fARB)                       \
  X(PFNGLUNIFORM1IARBPROC, glUniform1iARB)                       \
  X(PFNGLUNIFORM2IARBPROC, glUniform2iARB)                       \
  X(PFNGLUNIFORM3IARBPROC, glUniform3iARB)                       \
  X(PFNGLUNIFORM4IARBPROC, glUniform4iARB)                       \
  X(PFNGLUNIFORM1FVARBPROC, glUniform1fvARB)                     \
  X(PFNGLUNIFORM2FVARBPROC, glUniform2fvARB)                     \
  X(PFNGLUNIFORM3FVARBPROC, glUniform3fvARB)                     \
  X(PFNGLUNIFORM4FVARBPROC, glUniform4fvARB)                     \
  X(PFNGLUNIFORM1IVARBPROC, glUniform1ivARB)                     \
  X(PFNGLUNIFORM2IVARBPROC, glUniform2ivARB)                     \
  X(PFNGLUNIFORM3IVARBPROC, glUniform3ivARB)                     \
  X(PFNGLUNIFORM4IVARBPROC, glUniform4ivARB)                     \
  X(PFNGLUNIFORMMATRIX2FVARBPROC, glUniformMatrix2fvARB)         \
  X(PFNGLUNIFORMMATRIX3FVARBPROC, glUniformMatrix3fvARB)         \
  X(PFNGLUNIFORMMATRIX4FVARBPROC, glUniformMatrix4fvARB)         \
  X(PFNGLGETOBJECTPARAMETERFVARBPROC, glGetObjectParameterfvARB) \
  X(PFNGLGETOBJECTPARAMETERIVARBPROC, glGetObjectParameterivARB) \
  X(PFNGLGETINFOLOGARBPROC, glGetInfoLogARB)                     \
  X(PFNGLGETATTACHEDOBJECTSARBPROC, glGetAttachedObjectsARB)     \
  X(PFNGLGETUNIFORMLOCATIONARBPROC, glGetUniformLocationARB)     \
  X(PFNGLGETACTIVEUNIFORMARBPROC, glGetActiveUniformARB)         \
  X(PFNGLGETUNIFORMFVARBPROC, glGetUniformfvARB)                 \
  X(PFNGLGETUNIFORMIVARBPROC, glGetUniformivARB)                 \
  X(PFNGLGETSHADERSOURCEARBPROC, glGetShaderSourceARB)

#define FFGL_FRAMEBUFFER_OBJECT_ENTRY_POINTS(X)                                                \
  X(PFNGLBINDFRAMEBUFFEREXTPROC, glBindFramebufferEXT)                                         \
  X(PFNGLBINDRENDERBUFFEREXTPROC, glBindRenderbufferEXT)                                       \
  X(PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC, glCheckFramebufferStatusEXT)                           \
  X(PFNGLDELETEFRAMEBUFFERSEXTPROC, glDeleteFramebuffersEXT)                                   \
  X(PFNGLDELETERENDERBUFFERSEXTPROC, glDeleteRenderbuffersEXT)                                 \
  X(PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC, glFramebufferRenderbufferEXT)                         \
  X(PFNGLFRAMEBUFFERTEXTURE1DEXTPROC, glFramebufferTexture1DEXT)                               \
  X(PFNGLFRAMEBUFFERTEXTURE2DEXTPROC, glFramebufferTexture2DEXT)                               \
  X(PFNGLFRAMEBUFFERTEXTURE3DEXTPROC, glFramebufferTexture3DEXT)                               \
  X(PFNGLGENFRAMEBUFFERSEXTPROC, glGenFramebuffersEXT)                                         \
  X(PFNGLGENRENDERBUFFERSEXTPROC, glGenRenderbuffersEXT)                                       \
  X(PFNGLGENERATEMIPMAPEXTPROC, glGenerateMipmapEXT)                                           \
  X(PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVEXTPROC, glGetFramebufferAttachmentParameterivEXT) \
  X(PFNGLGETRENDERBUFFERPARAMETERIVEXTPROC, glGetRenderbufferParameterivEXT)                   \
  X(PFNGLISFRAMEBUFFEREXTPROC, glIsFramebufferEXT)                                             \
  X(PFNGLISRENDERBUFFEREXTPROC, glIsRenderbufferEXT)                                           \
  X(PFNGLRENDERBUFFERSTORAGEEXTPROC, glRenderbufferStorageEXT)

#define FFGL_SWAP_CONTROL_ENTRY_POINTS(X)          \
  X(PFNWGLSWAPINTERVALEXTPROC, wglSwapIntervalEXT) \
  X(PFNWGLGETSWAPINTERVALEXTPROC, wglGetSwapIntervalEXT)

// Thrown by ResolveEntryPoint for a name the context lacks; caught by the group operations.
struct FFGLMissingEntryPoint {};

#define FFGL_DECLARE_ENTRY_POINT(type, name) type name = nullptr;

// Four groups, each led by a flag that is 1 once every entry point of the group was found. An
// entry point may be called only while its group's flag is 1.
struct FFGLExtensionTable {
  int32_t hasMultitexture = 0;
  FFGL_MULTITEXTURE_ENTRY_POINTS(FFGL_DECLARE_ENTRY_POINT)

  int32_t hasShaderObjects = 0;
  FFGL_SHADER_OBJECT_ENTRY_POINTS(FFGL_DECLARE_ENTRY_POINT)

  int32_t hasFramebufferObject = 0;
  FFGL_FRAMEBUFFER_OBJECT_ENTRY_POINTS(FFGL_DECLARE_ENTRY_POINT)

  int32_t hasSwapControl = 0;
  FFGL_SWAP_CONTROL_ENTRY_POINTS(FFGL_DECLARE_ENTRY_POINT)

  // Resolves swap control, multitexture, shader objects and framebuffer object, in that order;
  // one group's failure does not stop the others. Never throws; needs the context current.
  void ResolveAll();

  // Each stores the group's addresses as they are found and sets the flag at the end: 1 when
  // every name was found, else 0 with the failing name and those after it left untouched.
  void ResolveSwapControl();
  void ResolveMultitexture();
  void ResolveShaderObjects();
  void ResolveFramebufferObject();

  // Non-null address of the named entry point; throws FFGLMissingEntryPoint when there is none.
  static platform::ProcAddress ResolveEntryPoint(const char* name);
};

#undef FFGL_DECLARE_ENTRY_POINT
