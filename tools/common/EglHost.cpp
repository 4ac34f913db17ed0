#include "common/EglHost.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vtool {
namespace {

bool HasExtension(const char* list, const char* name) {
  if (list == nullptr) return false;
  const size_t length = std::strlen(name);
  for (const char* at = list; (at = std::strstr(at, name)) != nullptr; at += length) {
    const bool starts = at == list || at[-1] == ' ';
    const bool ends = at[length] == '\0' || at[length] == ' ';
    if (starts && ends) return true;
  }
  return false;
}

std::string Hex(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", value);
  return text;
}

template <typename Function>
Function Load(const char* name) {
  return reinterpret_cast<Function>(eglGetProcAddress(name));
}

// The core framebuffer-object functions, fetched for the current context.
struct FramebufferFunctions {
  PFNGLGENFRAMEBUFFERSPROC gen = Load<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers");
  PFNGLBINDFRAMEBUFFERPROC bind = Load<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
  PFNGLFRAMEBUFFERTEXTURE2DPROC attach =
      Load<PFNGLFRAMEBUFFERTEXTURE2DPROC>("glFramebufferTexture2D");
  PFNGLCHECKFRAMEBUFFERSTATUSPROC check =
      Load<PFNGLCHECKFRAMEBUFFERSTATUSPROC>("glCheckFramebufferStatus");
  PFNGLDELETEFRAMEBUFFERSPROC remove = Load<PFNGLDELETEFRAMEBUFFERSPROC>("glDeleteFramebuffers");

  bool Complete() const {
    return gen != nullptr && bind != nullptr && attach != nullptr && check != nullptr &&
           remove != nullptr;
  }
};

// A device display that initialises, or EGL_NO_DISPLAY. With anyVendor false, devices that
// Mesa drives are passed over: Mesa is reached through the surfaceless platform instead.
EGLDisplay FindDeviceDisplay(bool anyVendor, std::string* why) {
  const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (!HasExtension(client, "EGL_EXT_platform_device") ||
      !(HasExtension(client, "EGL_EXT_device_enumeration") ||
        HasExtension(client, "EGL_EXT_device_base"))) {
    *why = "EGL has no device platform (EGL_EXT_platform_device, EGL_EXT_device_enumeration)";
    return EGL_NO_DISPLAY;
  }
  auto queryDevices = Load<PFNEGLQUERYDEVICESEXTPROC>("eglQueryDevicesEXT");
  auto queryDeviceString = Load<PFNEGLQUERYDEVICESTRINGEXTPROC>("eglQueryDeviceStringEXT");
  EGLint count = 0;
  if (queryDevices == nullptr || queryDeviceString == nullptr ||
      !queryDevices(0, nullptr, &count) || count <= 0) {
    *why = "eglQueryDevicesEXT found no device (EGL error " + Hex(eglGetError()) + ")";
    return EGL_NO_DISPLAY;
  }
  std::vector<EGLDeviceEXT> devices(static_cast<size_t>(count));
  if (!queryDevices(count, devices.data(), &count)) {
    *why = "eglQueryDevicesEXT (EGL error " + Hex(eglGetError()) + ")";
    return EGL_NO_DISPLAY;
  }
  *why = "no usable EGL device";
  for (EGLint i = 0; i < count; ++i) {
    const char* extensions = queryDeviceString(devices[i], EGL_EXTENSIONS);
    if (!anyVendor && HasExtension(extensions, "EGL_MESA_device_software")) continue;
    EGLDisplay display = eglGetPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr);
    if (display == EGL_NO_DISPLAY) continue;
    if (!eglInitialize(display, nullptr, nullptr)) {
      *why = "eglInitialize on device " + std::to_string(i) + " (EGL error " + Hex(eglGetError()) +
             ")";
      continue;
    }
    const char* vendor = eglQueryString(display, EGL_VENDOR);
    if (!anyVendor && vendor != nullptr && std::strstr(vendor, "Mesa") != nullptr) continue;
    return display;
  }
  return EGL_NO_DISPLAY;
}

}  // namespace

bool EglPlatformFromEnvironment(EglPlatform* platform, std::string* error) {
  const char* value = std::getenv("VANTOREL_EGL_PLATFORM");
  const std::string text = value != nullptr ? value : "";
  if (text.empty() || text == "auto") {
    *platform = EglPlatform::Automatic;
  } else if (text == "surfaceless") {
    *platform = EglPlatform::Surfaceless;
  } else if (text == "device") {
    *platform = EglPlatform::Device;
  } else {
    *error = "VANTOREL_EGL_PLATFORM: \"" + text + "\" is not one of auto, surfaceless, device";
    return false;
  }
  return true;
}

EglHost::EglHost(int width, int height, EglPlatform platform) {
  if (Open(platform)) MakeTarget(width, height);
}

EglHost::EglHost(int width, int height) {
  EglPlatform platform = EglPlatform::Automatic;
  if (!EglPlatformFromEnvironment(&platform, &error_)) return;
  if (Open(platform)) MakeTarget(width, height);
}

EglHost::~EglHost() {
  auto display = static_cast<EGLDisplay>(display_);
  auto context = static_cast<EGLContext>(context_);
  if (context == EGL_NO_CONTEXT) return;
  if (eglGetCurrentContext() == context) {
    FramebufferFunctions framebuffers;
    if (framebuffers.Complete()) {
      framebuffers.bind(GL_FRAMEBUFFER, 0);
      if (framebuffer_ != 0) framebuffers.remove(1, &framebuffer_);
    }
    if (colorTexture_ != 0) glDeleteTextures(1, &colorTexture_);
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  }
  // The display stays initialised: other hosts in this process may share it.
  eglDestroyContext(display, context);
  eglReleaseThread();
}

bool EglHost::Fail(const std::string& step) {
  error_ = step + " failed (EGL error " + Hex(static_cast<unsigned>(eglGetError())) + ")";
  return false;
}

bool EglHost::FailGl(const std::string& step, unsigned glError) {
  error_ = step + " failed (OpenGL error " + Hex(glError) + ")";
  return false;
}

bool EglHost::Open(EglPlatform platform) {
  const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (client == nullptr) return Fail("eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS)");

  EGLDisplay display = EGL_NO_DISPLAY;
  std::string deviceWhy;
  if (platform != EglPlatform::Surfaceless) {
    display = FindDeviceDisplay(platform == EglPlatform::Device, &deviceWhy);
    if (display == EGL_NO_DISPLAY && platform == EglPlatform::Device) {
      error_ = "choosing an EGL device: " + deviceWhy;
      return false;
    }
    if (display != EGL_NO_DISPLAY) platformName_ = "device";
  }
  if (display == EGL_NO_DISPLAY) {
    if (!HasExtension(client, "EGL_MESA_platform_surfaceless")) {
      error_ = "eglGetPlatformDisplay: EGL lacks EGL_MESA_platform_surfaceless";
      if (!deviceWhy.empty()) error_ += "; and " + deviceWhy;
      return false;
    }
    display = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) return Fail("eglGetPlatformDisplay(surfaceless)");
    if (!eglInitialize(display, nullptr, nullptr)) return Fail("eglInitialize(surfaceless)");
    platformName_ = "surfaceless";
  }
  display_ = display;

  if (!eglBindAPI(EGL_OPENGL_API)) return Fail("eglBindAPI(EGL_OPENGL_API)");
  const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE, EGL_DONT_CARE,
                           EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  if (!eglChooseConfig(display, wanted, &config, 1, &count)) return Fail("eglChooseConfig");
  if (count < 1) {
    if (!HasExtension(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_no_config_context")) {
      error_ = "eglChooseConfig: no configuration renders desktop OpenGL";
      return false;
    }
    config = EGL_NO_CONFIG_KHR;
  }
  // The plugin draws with the fixed-function pipeline: a compatibility profile is needed.
  const EGLint compatibility[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                  EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, compatibility);
  if (context == EGL_NO_CONTEXT) return Fail("eglCreateContext(OpenGL, compatibility profile)");
  context_ = context;
  if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
    return Fail("eglMakeCurrent without a surface");
  }
  return true;
}

bool EglHost::MakeTarget(int width, int height) {
  if (width <= 0 || height <= 0) {
    error_ = "making the render target: size " + std::to_string(width) + " x " +
             std::to_string(height) + " is empty";
    return false;
  }
  FramebufferFunctions framebuffers;
  if (!framebuffers.Complete()) {
    error_ = "making the render target: the context has no framebuffer objects";
    return false;
  }
  for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; ++i) {
  }
  if (colorTexture_ == 0) glGenTextures(1, &colorTexture_);
  glBindTexture(GL_TEXTURE_2D, colorTexture_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  if (GLenum glError = glGetError(); glError != GL_NO_ERROR) {
    return FailGl("glTexImage2D(" + std::to_string(width) + " x " + std::to_string(height) + ")",
                  glError);
  }
  if (framebuffer_ == 0) framebuffers.gen(1, &framebuffer_);
  framebuffers.bind(GL_FRAMEBUFFER, framebuffer_);
  framebuffers.attach(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture_, 0);
  const GLenum status = framebuffers.check(GL_FRAMEBUFFER);
  if (status != GL_FRAMEBUFFER_COMPLETE) {
    error_ = "making the render target: framebuffer incomplete (status " + Hex(status) + ")";
    return false;
  }
  width_ = width;
  height_ = height;
  glViewport(0, 0, width_, height_);
  return true;
}

std::string EglHost::Vendor() const {
  const auto* text = reinterpret_cast<const char*>(glGetString(GL_VENDOR));
  return text != nullptr ? text : "";
}

std::string EglHost::Renderer() const {
  const auto* text = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  return text != nullptr ? text : "";
}

bool EglHost::BindTarget() {
  if (!Ready()) return false;
  auto display = static_cast<EGLDisplay>(display_);
  auto context = static_cast<EGLContext>(context_);
  if (eglGetCurrentContext() != context &&
      !eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
    return Fail("eglMakeCurrent without a surface");
  }
  FramebufferFunctions framebuffers;
  framebuffers.bind(GL_FRAMEBUFFER, framebuffer_);
  glViewport(0, 0, width_, height_);
  return true;
}

bool EglHost::Resize(int width, int height) {
  if (!BindTarget()) return false;
  return MakeTarget(width, height);
}

void EglHost::Clear(float red, float green, float blue, float alpha) {
  if (!BindTarget()) return;
  glClearColor(red, green, blue, alpha);
  glClear(GL_COLOR_BUFFER_BIT);
}

std::vector<uint8_t> EglHost::ReadPixels() {
  if (!BindTarget()) return {};
  std::vector<uint8_t> pixels(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

std::vector<uint8_t> EglHost::Pixel(int x, int y) {
  std::vector<uint8_t> pixel(4, 0);
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || !BindTarget()) return pixel;
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
  return pixel;
}

void* EglHost::ProcAddress(const char* name) const {
  return reinterpret_cast<void*>(eglGetProcAddress(name));
}

}  // namespace vtool
