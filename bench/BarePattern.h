// The pattern drawn without the plugin: the same two program texts and the same uniforms, set
// straight through OpenGL 2.0, with the program kept bound and one rectangle per frame. The
// fastest way this context has to draw the same picture.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <string>

namespace vtool {
class EglHost;
}

namespace bench {

// The values the pattern's uniforms take, from the plugin's parameters.
struct PatternValues {
  float speed = 0.0f;
  float vortexSpeed = 0.0f;
  float mouse[2] = {0.0f, 0.0f};
  float inputColour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  float alphaMode = 0.0f;
  int but1 = 0;
};

class BarePattern {
 public:
  // Compiles and links the program in the host's current context; Error() says why it failed.
  BarePattern(const vtool::EglHost& host, const PatternValues& values);
  ~BarePattern();
  BarePattern(const BarePattern&) = delete;
  BarePattern& operator=(const BarePattern&) = delete;

  const std::string& Error() const { return error_; }

  // Makes the program current; the plugin unbinds its own after every frame.
  void Bind();
  void Unbind();
  // One frame at the given clock reading in seconds: phases, uniforms, one rectangle.
  void Draw(double seconds, float width, float height);

 private:
  bool Load(const vtool::EglHost& host);
  GLuint Compile(GLenum type, const char* source);

  PatternValues values_;
  std::string error_;
  GLuint program_ = 0;
  GLint time_ = -1, time2_ = -1, but1_ = -1, alphaMode_ = -1, mouse_ = -1, resolution_ = -1,
        inputColour_ = -1;
  double previous_ = 0.0;
  float phase_ = 0.0f;
  float phase2_ = 0.0f;

  PFNGLCREATESHADERPROC createShader_ = nullptr;
  PFNGLSHADERSOURCEPROC shaderSource_ = nullptr;
  PFNGLCOMPILESHADERPROC compileShader_ = nullptr;
  PFNGLGETSHADERIVPROC getShaderiv_ = nullptr;
  PFNGLDELETESHADERPROC deleteShader_ = nullptr;
  PFNGLCREATEPROGRAMPROC createProgram_ = nullptr;
  PFNGLATTACHSHADERPROC attachShader_ = nullptr;
  PFNGLLINKPROGRAMPROC linkProgram_ = nullptr;
  PFNGLGETPROGRAMIVPROC getProgramiv_ = nullptr;
  PFNGLDELETEPROGRAMPROC deleteProgram_ = nullptr;
  PFNGLUSEPROGRAMPROC useProgram_ = nullptr;
  PFNGLGETUNIFORMLOCATIONPROC getUniformLocation_ = nullptr;
  PFNGLUNIFORM1FPROC uniform1f_ = nullptr;
  PFNGLUNIFORM2FPROC uniform2f_ = nullptr;
  PFNGLUNIFORM4FPROC uniform4f_ = nullptr;
  PFNGLUNIFORM1IPROC uniform1i_ = nullptr;
};

}  // namespace bench
