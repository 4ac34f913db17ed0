#include "BarePattern.h"

#include "common/EglHost.h"
#include "effect/PatternSources.h"

namespace bench {
namespace {

template <typename Function>
bool Resolve(const vtool::EglHost& host, Function* slot, const char* name, std::string* error) {
  *slot = reinterpret_cast<Function>(host.ProcAddress(name));
  if (*slot == nullptr && error->empty()) *error = std::string("the context lacks ") + name;
  return *slot != nullptr;
}

}  // namespace

BarePattern::BarePattern(const vtool::EglHost& host, const PatternValues& values)
    : values_(values) {
  if (!Load(host)) return;
  const GLuint vertex = Compile(GL_VERTEX_SHADER, patternVertexSource);
  const GLuint fragment = Compile(GL_FRAGMENT_SHADER, patternFragmentSource);
  if (vertex == 0 || fragment == 0) return;
  program_ = createProgram_();
  attachShader_(program_, vertex);
  attachShader_(program_, fragment);
  linkProgram_(program_);
  deleteShader_(vertex);
  deleteShader_(fragment);
  GLint linked = 0;
  getProgramiv_(program_, GL_LINK_STATUS, &linked);
  if (linked == 0) {
    error_ = "the pattern program does not link";
    return;
  }
  time_ = getUniformLocation_(program_, "time");
  time2_ = getUniformLocation_(program_, "time2");
  but1_ = getUniformLocation_(program_, "but1");
  alphaMode_ = getUniformLocation_(program_, "alphaMode");
  mouse_ = getUniformLocation_(program_, "mouse");
  resolution_ = getUniformLocation_(program_, "resolution");
  inputColour_ = getUniformLocation_(program_, "inputColour");
}

BarePattern::~BarePattern() {
  if (program_ != 0) deleteProgram_(program_);
}

bool BarePattern::Load(const vtool::EglHost& host) {
  std::string* e = &error_;
  Resolve(host, &createShader_, "glCreateShader", e);
  Resolve(host, &shaderSource_, "glShaderSource", e);
  Resolve(host, &compileShader_, "glCompileShader", e);
  Resolve(host, &getShaderiv_, "glGetShaderiv", e);
  Resolve(host, &deleteShader_, "glDeleteShader", e);
  Resolve(host, &createProgram_, "glCreateProgram", e);
  Resolve(host, &attachShader_, "glAttachShader", e);
  Resolve(host, &linkProgram_, "glLinkProgram", e);
  Resolve(host, &getProgramiv_, "glGetProgramiv", e);
  Resolve(host, &deleteProgram_, "glDeleteProgram", e);
  Resolve(host, &useProgram_, "glUseProgram", e);
  Resolve(host, &getUniformLocation_, "glGetUniformLocation", e);
  Resolve(host, &uniform1f_, "glUniform1f", e);
  Resolve(host, &uniform2f_, "glUniform2f", e);
  Resolve(host, &uniform4f_, "glUniform4f", e);
  Resolve(host, &uniform1i_, "glUniform1i", e);
  return error_.empty();
}

GLuint BarePattern::Compile(GLenum type, const char* source) {
  const GLuint shader = createShader_(type);
  shaderSource_(shader, 1, &source, nullptr);
  compileShader_(shader);
  GLint compiled = 0;
  getShaderiv_(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled != 0) return shader;
  deleteShader_(shader);
  error_ = type == GL_VERTEX_SHADER ? "the vertex program does not compile"
                                    : "the fragment program does not compile";
  return 0;
}

void BarePattern::Bind() {
  useProgram_(program_);
}

void BarePattern::Unbind() {
  useProgram_(0);
}

void BarePattern::Draw(double seconds, float width, float height) {
  const auto dt = static_cast<float>(seconds - previous_);
  previous_ = seconds;
  phase_ += dt * values_.speed * 2.0f;
  phase2_ += dt * values_.vortexSpeed * 2.0f;
  uniform1f_(time_, phase_);
  uniform1f_(time2_, phase2_);
  uniform2f_(resolution_, width, height);
  uniform2f_(mouse_, values_.mouse[0], values_.mouse[1]);
  uniform1i_(but1_, values_.but1);
  uniform1f_(alphaMode_, values_.alphaMode);
  const float* colour = values_.inputColour;
  uniform4f_(inputColour_, colour[0], colour[1], colour[2], colour[3]);
  glRectf(-1.0f, -1.0f, 1.0f, 1.0f);
}

}  // namespace bench
