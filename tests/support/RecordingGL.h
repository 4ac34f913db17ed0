// A recording stand-in for OpenGL in unit tests. Test programs link the `recording_gl` target
// instead of the system OpenGL library and of `platform_lookup`: it defines the OpenGL 1.1
// functions the plugin calls and platform::LookupEntryPoint, whose answers are recording
// functions for the extension entry points the plugin calls and no-op stubs for the rest.
//
//   RecordingGL& gl = RecordingGL::Instance();
//   gl.Reset();
//   ... run the code under test ...
//   EXPECT_EQ(gl.CallNames(), expected) << gl.Transcript();
#pragma once

#include <cstddef>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "gl/OpenGL.h"

// One recorded argument: a number (integers, enumerants, handles, floats; a pointer argument
// that is neither a text nor an array as 0 when null and 1 otherwise) or a text.
// Floats are kept exactly, so compare them with float literals (0.1f, not 0.1).
struct GLArg {
  // Implicit, so expectations read {1, 0.5f, "x"}.
  template <typename Number, typename = std::enable_if_t<std::is_arithmetic_v<Number>>>
  GLArg(Number value) : number(static_cast<double>(value)) {}                      // NOLINT
  GLArg(const char* value) : isText(true), text(value != nullptr ? value : "") {}  // NOLINT
  GLArg(std::string value) : isText(true), text(std::move(value)) {}               // NOLINT

  bool isText = false;
  double number = 0.0;
  std::string text;

  bool operator==(const GLArg& other) const;
  bool operator!=(const GLArg& other) const { return !(*this == other); }
};

// One recorded call: the OpenGL name and its arguments in order. Output pointers are not
// recorded; arrays the call reads or fills are spread out in place of their pointer (for
// example glGenTextures(n, names) records n and then the names handed out, glUniform3fvARB
// records location, count and 3 * count values, glShaderSourceARB records the object, the
// count, each text and then the length array as a pointer).
struct GLCall {
  std::string name;
  std::vector<GLArg> args;

  bool operator==(const GLCall& other) const;
  bool operator!=(const GLCall& other) const { return !(*this == other); }
};

// "name(arg, arg, ...)", texts quoted; the list form puts one call per line.
std::string ToString(const GLArg& arg);
std::string ToString(const GLCall& call);
std::string ToString(const std::vector<GLCall>& calls);
std::ostream& operator<<(std::ostream& out, const GLCall& call);
std::ostream& operator<<(std::ostream& out, const GLArg& arg);

// Programs and shaders share one handle space, as in the shader-object extension.
enum class GLObjectKind { Program, Shader, Texture, Framebuffer };

class RecordingGL {
 public:
  static RecordingGL& Instance();

  // Back to the start: no calls, lookups or objects, every answer at its default, every name of
  // the four extension groups available, recording on.
  void Reset();

  // --- Entry-point lookup ---
  // Every name of the four extension groups, in the table's layout order.
  static const std::vector<std::string>& ExtensionNames();
  // Replaces the set of names LookupEntryPoint finds (the default is ExtensionNames()).
  void SetAvailableNames(const std::set<std::string>& names);
  // LookupEntryPoint answers null for this name from now on.
  void MakeMissing(const std::string& name);
  void MakeAvailable(const std::string& name);
  // Every name asked of LookupEntryPoint, in order, found or not.
  const std::vector<std::string>& Lookups() const { return lookups_; }

  // --- Recorded calls ---
  const std::vector<GLCall>& Calls() const { return calls_; }
  std::vector<std::string> CallNames() const;
  std::vector<GLCall> CallsNamed(const std::string& name) const;
  std::string Transcript() const { return ToString(calls_); }
  void ClearCalls() { calls_.clear(); }
  // While quiet, calls record nothing; queries still answer and objects are still counted, so
  // the code under test behaves as usual (for benchmarks).
  void SetQuiet(bool quiet) { quiet_ = quiet; }

  // --- Answers ---
  // Names handed out before the automatic ones for this kind; a 0 makes that creation fail.
  // Automatic names: shader-object handles from 1, textures from 101, framebuffers from 201.
  void QueueObjectNames(GLObjectKind kind, const std::vector<GLuint>& names);
  // Compile status a shader of this type (GL_VERTEX_SHADER_ARB, GL_FRAGMENT_SHADER_ARB) gets
  // when compiled; 1 by default. A shader never compiled reports 0.
  void SetCompileStatus(GLenum shaderType, GLint status);
  // Link status every link gives; 1 by default. A program never linked reports 0.
  void SetLinkStatus(GLint status);
  // Location answered for a uniform name; names not set answer -1.
  void SetUniformLocation(const std::string& name, GLint location);
  // What glGetIntegerv and glGetFloatv write for GL_VIEWPORT; 0 0 0 0 by default.
  void SetViewport(GLint x, GLint y, GLint width, GLint height);
  // What glGetIntegerv / glGetFloatv write for another name; names not set write nothing.
  void SetIntegers(GLenum pname, const std::vector<GLint>& values);
  void SetFloats(GLenum pname, const std::vector<GLfloat>& values);
  // Answer of glCheckFramebufferStatusEXT; GL_FRAMEBUFFER_COMPLETE_EXT by default.
  void SetFramebufferStatus(GLenum status);

  // --- Objects made through the stand-in ---
  size_t Created(GLObjectKind kind) const;
  size_t Deleted(GLObjectKind kind) const;
  size_t Live(GLObjectKind kind) const;
  std::set<GLuint> LiveNames(GLObjectKind kind) const;
  // Deletions of names that were not live (never made, already deleted, or 0 for a shader or
  // program handle; 0 in a texture or framebuffer list is ignored, as OpenGL does).
  size_t StrayDeletes() const { return strayDeletes_; }

  // --- Used by the stand-in's own functions ---
  bool Quiet() const { return quiet_; }
  void Record(const char* name, std::vector<GLArg> args);
  bool IsAvailable(const std::string& name) const { return available_.count(name) != 0; }
  void NoteLookup(const char* name);
  GLuint NewObject(GLObjectKind kind);
  void DeleteObject(GLObjectKind kind, GLuint name);
  bool IsLive(GLObjectKind kind, GLuint name) const;
  void NoteShaderType(GLuint shader, GLenum type) { shaderTypes_[shader] = type; }
  void CompileShader(GLuint shader);
  void LinkProgram(GLuint program);
  GLint CompileStatusOf(GLuint shader) const;
  GLint LinkStatusOf(GLuint program) const;
  GLint UniformLocation(const std::string& name) const;
  // Writes the answer for pname into out; false when there is none.
  bool GetIntegers(GLenum pname, GLint* out) const;
  bool GetFloats(GLenum pname, GLfloat* out) const;
  GLenum FramebufferStatus() const { return framebufferStatus_; }

 private:
  RecordingGL() { Reset(); }

  struct ObjectBook {
    std::vector<GLuint> queued;
    GLuint nextName = 1;
    std::set<GLuint> live;
    size_t created = 0;
    size_t deleted = 0;
  };
  ObjectBook& Book(GLObjectKind kind);
  const ObjectBook& Book(GLObjectKind kind) const;

  std::vector<GLCall> calls_;
  std::vector<std::string> lookups_;
  std::set<std::string> available_;
  bool quiet_ = false;
  std::map<GLObjectKind, ObjectBook> books_;
  size_t strayDeletes_ = 0;
  std::map<GLenum, GLint> compileStatusByType_;
  GLint linkStatus_ = 1;
  std::map<GLuint, GLenum> shaderTypes_;
  std::map<GLuint, GLint> compiled_;
  std::map<GLuint, GLint> linked_;
  std::map<std::string, GLint> uniformLocations_;
  std::map<GLenum, std::vector<GLint>> integers_;
  std::map<GLenum, std::vector<GLfloat>> floats_;
  GLenum framebufferStatus_ = GL_FRAMEBUFFER_COMPLETE_EXT;
};
