// The entry-point lookup for unit tests: the extension functions the plugin calls are recorded,
// every other known name answers a stub that does nothing.
#include <map>
#include <string>
#include <vector>

#include "RecordingGL.h"
#include "platform/Platform.h"

namespace {

RecordingGL& Gl() {
  return RecordingGL::Instance();
}
bool Quiet() {
  return RecordingGL::Instance().Quiet();
}

double Pointer(const void* pointer) {
  return pointer != nullptr ? 1.0 : 0.0;
}

GLObjectKind HandleKind(GLhandleARB handle) {
  return Gl().IsLive(GLObjectKind::Shader, handle) ? GLObjectKind::Shader : GLObjectKind::Program;
}

void APIENTRY ActiveTexture(GLenum texture) {
  if (!Quiet()) Gl().Record("glActiveTexture", {texture});
}

GLhandleARB APIENTRY CreateProgramObject() {
  const GLhandleARB program = Gl().NewObject(GLObjectKind::Program);
  if (!Quiet()) Gl().Record("glCreateProgramObjectARB", {});
  return program;
}

GLhandleARB APIENTRY CreateShaderObject(GLenum type) {
  const GLhandleARB shader = Gl().NewObject(GLObjectKind::Shader);
  if (shader != 0) Gl().NoteShaderType(shader, type);
  if (!Quiet()) Gl().Record("glCreateShaderObjectARB", {type});
  return shader;
}

void APIENTRY ShaderSource(GLhandleARB shader, GLsizei count, const GLcharARB** texts,
                           const GLint* lengths) {
  if (Quiet()) return;
  std::vector<GLArg> args{shader, count};
  for (GLsizei i = 0; texts != nullptr && i < count; ++i) {
    if (texts[i] == nullptr) {
      args.emplace_back(std::string("(null)"));
    } else if (lengths != nullptr && lengths[i] >= 0) {
      args.emplace_back(std::string(texts[i], static_cast<size_t>(lengths[i])));
    } else {
      args.emplace_back(texts[i]);
    }
  }
  args.emplace_back(Pointer(lengths));
  Gl().Record("glShaderSourceARB", std::move(args));
}

void APIENTRY CompileShader(GLhandleARB shader) {
  Gl().CompileShader(shader);
  if (!Quiet()) Gl().Record("glCompileShaderARB", {shader});
}

void APIENTRY GetObjectParameteriv(GLhandleARB object, GLenum pname, GLint* params) {
  if (params != nullptr) {
    if (pname == GL_OBJECT_COMPILE_STATUS_ARB) {
      *params = Gl().CompileStatusOf(object);
    } else if (pname == GL_OBJECT_LINK_STATUS_ARB) {
      *params = Gl().LinkStatusOf(object);
    } else {
      *params = 0;
    }
  }
  if (!Quiet()) Gl().Record("glGetObjectParameterivARB", {object, pname});
}

void APIENTRY AttachObject(GLhandleARB program, GLhandleARB shader) {
  if (!Quiet()) Gl().Record("glAttachObjectARB", {program, shader});
}

void APIENTRY DetachObject(GLhandleARB program, GLhandleARB shader) {
  if (!Quiet()) Gl().Record("glDetachObjectARB", {program, shader});
}

void APIENTRY LinkProgram(GLhandleARB program) {
  Gl().LinkProgram(program);
  if (!Quiet()) Gl().Record("glLinkProgramARB", {program});
}

void APIENTRY UseProgramObject(GLhandleARB program) {
  if (!Quiet()) Gl().Record("glUseProgramObjectARB", {program});
}

GLint APIENTRY GetUniformLocation(GLhandleARB program, const GLcharARB* name) {
  const GLint location = Gl().UniformLocation(name != nullptr ? name : "");
  if (!Quiet()) Gl().Record("glGetUniformLocationARB", {program, name});
  return location;
}

void APIENTRY DeleteObject(GLhandleARB object) {
  Gl().DeleteObject(HandleKind(object), object);
  if (!Quiet()) Gl().Record("glDeleteObjectARB", {object});
}

void APIENTRY GetInfoLog(GLhandleARB object, GLsizei maxLength, GLsizei* length, GLcharARB* log) {
  if (length != nullptr) *length = 0;
  if (log != nullptr && maxLength > 0) log[0] = '\0';
  if (!Quiet()) Gl().Record("glGetInfoLogARB", {object, maxLength});
}

void APIENTRY Uniform1f(GLint location, GLfloat v0) {
  if (!Quiet()) Gl().Record("glUniform1fARB", {location, v0});
}

void APIENTRY Uniform2f(GLint location, GLfloat v0, GLfloat v1) {
  if (!Quiet()) Gl().Record("glUniform2fARB", {location, v0, v1});
}

void APIENTRY Uniform3f(GLint location, GLfloat v0, GLfloat v1, GLfloat v2) {
  if (!Quiet()) Gl().Record("glUniform3fARB", {location, v0, v1, v2});
}

void APIENTRY Uniform4f(GLint location, GLfloat v0, GLfloat v1, GLfloat v2, GLfloat v3) {
  if (!Quiet()) Gl().Record("glUniform4fARB", {location, v0, v1, v2, v3});
}

void APIENTRY Uniform1i(GLint location, GLint v0) {
  if (!Quiet()) Gl().Record("glUniform1iARB", {location, v0});
}

// Location, count, then the count * width values read.
void RecordVector(const char* name, GLint location, GLsizei count, const GLfloat* values,
                  GLsizei width) {
  std::vector<GLArg> args{location, count};
  for (GLsizei i = 0; values != nullptr && i < count * width; ++i) args.emplace_back(values[i]);
  Gl().Record(name, std::move(args));
}

void APIENTRY Uniform1fv(GLint location, GLsizei count, const GLfloat* values) {
  if (!Quiet()) RecordVector("glUniform1fvARB", location, count, values, 1);
}

void APIENTRY Uniform3fv(GLint location, GLsizei count, const GLfloat* values) {
  if (!Quiet()) RecordVector("glUniform3fvARB", location, count, values, 3);
}

void APIENTRY GenFramebuffers(GLsizei n, GLuint* framebuffers) {
  for (GLsizei i = 0; framebuffers != nullptr && i < n; ++i) {
    framebuffers[i] = Gl().NewObject(GLObjectKind::Framebuffer);
  }
  if (Quiet()) return;
  std::vector<GLArg> args{n};
  for (GLsizei i = 0; framebuffers != nullptr && i < n; ++i) args.emplace_back(framebuffers[i]);
  Gl().Record("glGenFramebuffersEXT", std::move(args));
}

void APIENTRY DeleteFramebuffers(GLsizei n, const GLuint* framebuffers) {
  for (GLsizei i = 0; framebuffers != nullptr && i < n; ++i) {
    if (framebuffers[i] != 0) Gl().DeleteObject(GLObjectKind::Framebuffer, framebuffers[i]);
  }
  if (Quiet()) return;
  std::vector<GLArg> args{n};
  for (GLsizei i = 0; framebuffers != nullptr && i < n; ++i) args.emplace_back(framebuffers[i]);
  Gl().Record("glDeleteFramebuffersEXT", std::move(args));
}

void APIENTRY BindFramebuffer(GLenum target, GLuint framebuffer) {
  if (!Quiet()) Gl().Record("glBindFramebufferEXT", {target, framebuffer});
}

void APIENTRY FramebufferTexture2D(GLenum target, GLenum attachment, GLenum textarget,
                                   GLuint texture, GLint level) {
  if (!Quiet()) {
    Gl().Record("glFramebufferTexture2DEXT", {target, attachment, textarget, texture, level});
  }
}

GLenum APIENTRY CheckFramebufferStatus(GLenum target) {
  if (!Quiet()) Gl().Record("glCheckFramebufferStatusEXT", {target});
  return Gl().FramebufferStatus();
}

// What every name without a recording function answers; never meant to be called.
void APIENTRY DoNothing() {}

template <typename Function>
platform::ProcAddress Address(Function function) {
  return reinterpret_cast<platform::ProcAddress>(function);
}

const std::map<std::string, platform::ProcAddress>& RecordingFunctions() {
  static const std::map<std::string, platform::ProcAddress> functions = {
      {"glActiveTexture", Address(&ActiveTexture)},
      {"glCreateProgramObjectARB", Address(&CreateProgramObject)},
      {"glCreateShaderObjectARB", Address(&CreateShaderObject)},
      {"glShaderSourceARB", Address(&ShaderSource)},
      {"glCompileShaderARB", Address(&CompileShader)},
      {"glGetObjectParameterivARB", Address(&GetObjectParameteriv)},
      {"glAttachObjectARB", Address(&AttachObject)},
      {"glDetachObjectARB", Address(&DetachObject)},
      {"glLinkProgramARB", Address(&LinkProgram)},
      {"glUseProgramObjectARB", Address(&UseProgramObject)},
      {"glGetUniformLocationARB", Address(&GetUniformLocation)},
      {"glDeleteObjectARB", Address(&DeleteObject)},
      {"glGetInfoLogARB", Address(&GetInfoLog)},
      {"glUniform1fARB", Address(&Uniform1f)},
      {"glUniform2fARB", Address(&Uniform2f)},
      {"glUniform3fARB", Address(&Uniform3f)},
      {"glUniform4fARB", Address(&Uniform4f)},
      {"glUniform1iARB", Address(&Uniform1i)},
      {"glUniform1fvARB", Address(&Uniform1fv)},
      {"glUniform3fvARB", Address(&Uniform3fv)},
      {"glGenFramebuffersEXT", Address(&GenFramebuffers)},
      {"glDeleteFramebuffersEXT", Address(&DeleteFramebuffers)},
      {"glBindFramebufferEXT", Address(&BindFramebuffer)},
      {"glFramebufferTexture2DEXT", Address(&FramebufferTexture2D)},
      {"glCheckFramebufferStatusEXT", Address(&CheckFramebufferStatus)},
  };
  return functions;
}

}  // namespace

namespace platform {

ProcAddress LookupEntryPoint(const char* name) {
  RecordingGL& gl = RecordingGL::Instance();
  gl.NoteLookup(name);
  if (name == nullptr || !gl.IsAvailable(name)) return nullptr;
  const auto& functions = RecordingFunctions();
  auto found = functions.find(name);
  return found != functions.end() ? found->second : Address(&DoNothing);
}

}  // namespace platform
