#include "RecordingGL.h"

#include <cstdio>
#include <sstream>

#include "gl/FFGLExtensionTable.h"

bool GLArg::operator==(const GLArg& other) const {
  if (isText != other.isText) return false;
  return isText ? text == other.text : number == other.number;
}

bool GLCall::operator==(const GLCall& other) const {
  return name == other.name && args == other.args;
}

std::string ToString(const GLArg& arg) {
  if (arg.isText) return "\"" + arg.text + "\"";
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", arg.number);
  return text;
}

std::string ToString(const GLCall& call) {
  std::string text = call.name + "(";
  for (size_t i = 0; i < call.args.size(); ++i) {
    if (i > 0) text += ", ";
    text += ToString(call.args[i]);
  }
  return text + ")";
}

std::string ToString(const std::vector<GLCall>& calls) {
  if (calls.empty()) return "(no OpenGL calls)\n";
  std::string text;
  for (const GLCall& call : calls) text += "  " + ToString(call) + "\n";
  return text;
}

std::ostream& operator<<(std::ostream& out, const GLCall& call) {
  return out << ToString(call);
}
std::ostream& operator<<(std::ostream& out, const GLArg& arg) {
  return out << ToString(arg);
}

RecordingGL& RecordingGL::Instance() {
  static RecordingGL instance;
  return instance;
}

const std::vector<std::string>& RecordingGL::ExtensionNames() {
#define RECORDING_NAME(type, name) #name,
  static const std::vector<std::string> names = {
      FFGL_MULTITEXTURE_ENTRY_POINTS(RECORDING_NAME) FFGL_SHADER_OBJECT_ENTRY_POINTS(RECORDING_NAME)
          FFGL_FRAMEBUFFER_OBJECT_ENTRY_POINTS(RECORDING_NAME)
              FFGL_SWAP_CONTROL_ENTRY_POINTS(RECORDING_NAME)};
#undef RECORDING_NAME
  return names;
}

void RecordingGL::Reset() {
  calls_.clear();
  lookups_.clear();
  available_ = std::set<std::string>(ExtensionNames().begin(), ExtensionNames().end());
  quiet_ = false;
  books_.clear();
  books_[GLObjectKind::Program].nextName = 1;
  books_[GLObjectKind::Shader].nextName = 1;
  books_[GLObjectKind::Texture].nextName = 101;
  books_[GLObjectKind::Framebuffer].nextName = 201;
  strayDeletes_ = 0;
  compileStatusByType_.clear();
  linkStatus_ = 1;
  shaderTypes_.clear();
  compiled_.clear();
  linked_.clear();
  uniformLocations_.clear();
  integers_.clear();
  floats_.clear();
  integers_[GL_VIEWPORT] = {0, 0, 0, 0};
  floats_[GL_VIEWPORT] = {0, 0, 0, 0};
  framebufferStatus_ = GL_FRAMEBUFFER_COMPLETE_EXT;
}

void RecordingGL::SetAvailableNames(const std::set<std::string>& names) {
  available_ = names;
}
void RecordingGL::MakeMissing(const std::string& name) {
  available_.erase(name);
}
void RecordingGL::MakeAvailable(const std::string& name) {
  available_.insert(name);
}
void RecordingGL::NoteLookup(const char* name) {
  if (!quiet_) lookups_.emplace_back(name != nullptr ? name : "(null)");
}

std::vector<std::string> RecordingGL::CallNames() const {
  std::vector<std::string> names;
  for (const GLCall& call : calls_) names.push_back(call.name);
  return names;
}

std::vector<GLCall> RecordingGL::CallsNamed(const std::string& name) const {
  std::vector<GLCall> found;
  for (const GLCall& call : calls_) {
    if (call.name == name) found.push_back(call);
  }
  return found;
}

void RecordingGL::Record(const char* name, std::vector<GLArg> args) {
  if (!quiet_) calls_.push_back(GLCall{name, std::move(args)});
}

void RecordingGL::QueueObjectNames(GLObjectKind kind, const std::vector<GLuint>& names) {
  std::vector<GLuint>& queued = Book(kind).queued;
  queued.insert(queued.end(), names.begin(), names.end());
}

void RecordingGL::SetCompileStatus(GLenum shaderType, GLint status) {
  compileStatusByType_[shaderType] = status;
}
void RecordingGL::SetLinkStatus(GLint status) {
  linkStatus_ = status;
}
void RecordingGL::SetUniformLocation(const std::string& name, GLint location) {
  uniformLocations_[name] = location;
}

void RecordingGL::SetViewport(GLint x, GLint y, GLint width, GLint height) {
  integers_[GL_VIEWPORT] = {x, y, width, height};
  floats_[GL_VIEWPORT] = {static_cast<GLfloat>(x), static_cast<GLfloat>(y),
                          static_cast<GLfloat>(width), static_cast<GLfloat>(height)};
}

void RecordingGL::SetIntegers(GLenum pname, const std::vector<GLint>& values) {
  integers_[pname] = values;
}
void RecordingGL::SetFloats(GLenum pname, const std::vector<GLfloat>& values) {
  floats_[pname] = values;
}
void RecordingGL::SetFramebufferStatus(GLenum status) {
  framebufferStatus_ = status;
}

RecordingGL::ObjectBook& RecordingGL::Book(GLObjectKind kind) {
  return books_[kind];
}
const RecordingGL::ObjectBook& RecordingGL::Book(GLObjectKind kind) const {
  return books_.at(kind);
}

size_t RecordingGL::Created(GLObjectKind kind) const {
  return Book(kind).created;
}
size_t RecordingGL::Deleted(GLObjectKind kind) const {
  return Book(kind).deleted;
}
size_t RecordingGL::Live(GLObjectKind kind) const {
  return Book(kind).live.size();
}
std::set<GLuint> RecordingGL::LiveNames(GLObjectKind kind) const {
  return Book(kind).live;
}

bool RecordingGL::IsLive(GLObjectKind kind, GLuint name) const {
  return Book(kind).live.count(name) != 0;
}

GLuint RecordingGL::NewObject(GLObjectKind kind) {
  ObjectBook& book = Book(kind);
  GLuint name = 0;
  if (!book.queued.empty()) {
    name = book.queued.front();
    book.queued.erase(book.queued.begin());
  } else {
    // Programs and shaders share one handle space.
    const bool handle = kind == GLObjectKind::Program || kind == GLObjectKind::Shader;
    ObjectBook& counter = handle ? Book(GLObjectKind::Program) : book;
    do {
      name = counter.nextName++;
    } while (handle && (IsLive(GLObjectKind::Program, name) || IsLive(GLObjectKind::Shader, name)));
  }
  if (name != 0) {
    book.live.insert(name);
    ++book.created;
  }
  return name;
}

void RecordingGL::DeleteObject(GLObjectKind kind, GLuint name) {
  ObjectBook& book = Book(kind);
  if (book.live.erase(name) != 0) {
    ++book.deleted;
  } else {
    ++strayDeletes_;
  }
}

void RecordingGL::CompileShader(GLuint shader) {
  auto type = shaderTypes_.find(shader);
  GLint status = 0;
  if (type != shaderTypes_.end()) {
    auto configured = compileStatusByType_.find(type->second);
    status = configured != compileStatusByType_.end() ? configured->second : 1;
  }
  compiled_[shader] = status;
}

void RecordingGL::LinkProgram(GLuint program) {
  linked_[program] = linkStatus_;
}

GLint RecordingGL::CompileStatusOf(GLuint shader) const {
  auto found = compiled_.find(shader);
  return found != compiled_.end() ? found->second : 0;
}

GLint RecordingGL::LinkStatusOf(GLuint program) const {
  auto found = linked_.find(program);
  return found != linked_.end() ? found->second : 0;
}

GLint RecordingGL::UniformLocation(const std::string& name) const {
  auto found = uniformLocations_.find(name);
  return found != uniformLocations_.end() ? found->second : -1;
}

bool RecordingGL::GetIntegers(GLenum pname, GLint* out) const {
  auto found = integers_.find(pname);
  if (found == integers_.end() || out == nullptr) return false;
  for (size_t i = 0; i < found->second.size(); ++i) out[i] = found->second[i];
  return true;
}

bool RecordingGL::GetFloats(GLenum pname, GLfloat* out) const {
  auto found = floats_.find(pname);
  if (found == floats_.end() || out == nullptr) return false;
  for (size_t i = 0; i < found->second.size(); ++i) out[i] = found->second[i];
  return true;
}
