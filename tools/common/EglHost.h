// A headless OpenGL host context made with EGL: desktop OpenGL, compatibility profile, drawing
// into a framebuffer object of a chosen size. Used by the renderer tool and by the tests that
// need a real context.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vtool {

// Where the EGL display comes from. Automatic takes the device platform when it finds a device
// that is not Mesa's (a GPU driver such as NVIDIA's), else Mesa's surfaceless platform.
enum class EglPlatform { Automatic, Surfaceless, Device };

// The platform named by VANTOREL_EGL_PLATFORM ("surfaceless", "device", "auto" or unset).
// False with a message for any other value.
bool EglPlatformFromEnvironment(EglPlatform* platform, std::string* error);

class EglHost {
 public:
  // Makes the context current on the calling thread with a width x height RGBA8 target bound
  // and the viewport set to it. On failure Ready() is false and Error() names the failed step
  // with its EGL or OpenGL error code.
  EglHost(int width, int height, EglPlatform platform);
  // As above, with the platform from the environment.
  EglHost(int width, int height);
  ~EglHost();
  EglHost(const EglHost&) = delete;
  EglHost& operator=(const EglHost&) = delete;

  bool Ready() const { return error_.empty(); }
  const std::string& Error() const { return error_; }

  // "surfaceless" or "device": the platform the display was taken from.
  const std::string& PlatformName() const { return platformName_; }
  // GL_VENDOR and GL_RENDERER of the context.
  std::string Vendor() const;
  std::string Renderer() const;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The target's framebuffer object and colour texture.
  unsigned Framebuffer() const { return framebuffer_; }
  unsigned ColorTexture() const { return colorTexture_; }

  // Makes the context current, binds the target and sets the viewport to it again (a plugin
  // may leave other bindings behind).
  bool BindTarget();
  // Reallocates the target at a new size and binds it; false with Error() set on failure.
  bool Resize(int width, int height);
  // Clears the target to the colour (components 0..1).
  void Clear(float red, float green, float blue, float alpha);

  // The target's pixels as RGBA8, width * height * 4 bytes, bottom row first as OpenGL reads
  // them; empty when the host is not ready.
  std::vector<uint8_t> ReadPixels();
  // One pixel, (0, 0) at the bottom left; {0, 0, 0, 0} outside the target.
  std::vector<uint8_t> Pixel(int x, int y);

  // Address of an OpenGL entry point through EGL; null when there is none.
  void* ProcAddress(const char* name) const;

 private:
  bool Open(EglPlatform platform);
  bool MakeTarget(int width, int height);
  bool Fail(const std::string& step);
  bool FailGl(const std::string& step, unsigned glError);

  std::string error_;
  std::string platformName_;
  void* display_ = nullptr;
  void* context_ = nullptr;
  unsigned framebuffer_ = 0;
  unsigned colorTexture_ = 0;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace vtool
