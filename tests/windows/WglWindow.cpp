#include "tests/windows/WglWindow.h"

#include <GL/gl.h>

namespace {

constexpr unsigned kFramebuffer = 0x8D40;          // GL_FRAMEBUFFER_EXT
constexpr unsigned kColourAttachment0 = 0x8CE0;    // GL_COLOR_ATTACHMENT0_EXT
constexpr unsigned kFramebufferComplete = 0x8CD5;  // GL_FRAMEBUFFER_COMPLETE_EXT
const char kClassName[] = "VantorelWglWindow";

std::string LastError(const char* step) {
  return std::string(step) + " failed, error " + std::to_string(GetLastError());
}

template <typename Function>
bool Resolve(const char* name, Function* out, std::string* error) {
  PROC address = wglGetProcAddress(name);
  if (address == nullptr) {
    *error = std::string("wglGetProcAddress(\"") + name + "\") found nothing";
    return false;
  }
  *out = reinterpret_cast<Function>(reinterpret_cast<void*>(address));
  return true;
}

}  // namespace

WglWindow::~WglWindow() {
  DropTarget();
  if (context != nullptr) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
  }
  if (dc != nullptr) ReleaseDC(window, dc);
  if (window != nullptr) DestroyWindow(window);
}

bool WglWindow::Open(std::string* error) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  if (RegisterClassA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    *error = LastError("RegisterClass");
    return false;
  }
  // A small window: the picture goes to an offscreen target whatever the client area is.
  window = CreateWindowExA(0, kClassName, "Vantorel render test", WS_OVERLAPPEDWINDOW, 0, 0, 64, 48,
                           nullptr, nullptr, instance, nullptr);
  if (window == nullptr) {
    *error = LastError("CreateWindowEx");
    return false;
  }
  dc = GetDC(window);
  PIXELFORMATDESCRIPTOR format{};
  format.nSize = sizeof format;
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 32;
  format.cAlphaBits = 8;
  format.cDepthBits = 24;
  format.iLayerType = PFD_MAIN_PLANE;
  const int chosen = ChoosePixelFormat(dc, &format);
  if (chosen == 0) {
    *error = LastError("ChoosePixelFormat");
    return false;
  }
  if (!SetPixelFormat(dc, chosen, &format)) {
    *error = LastError("SetPixelFormat");
    return false;
  }
  context = wglCreateContext(dc);
  if (context == nullptr) {
    *error = LastError("wglCreateContext");
    return false;
  }
  if (!wglMakeCurrent(dc, context)) {
    *error = LastError("wglMakeCurrent");
    return false;
  }
  return Resolve("glGenFramebuffersEXT", &genFramebuffers, error) &&
         Resolve("glDeleteFramebuffersEXT", &deleteFramebuffers, error) &&
         Resolve("glBindFramebufferEXT", &bindFramebuffer, error) &&
         Resolve("glFramebufferTexture2DEXT", &framebufferTexture2D, error) &&
         Resolve("glCheckFramebufferStatusEXT", &checkFramebufferStatus, error);
}

bool WglWindow::MakeTarget(int targetWidth, int targetHeight, std::string* error) {
  DropTarget();
  width = targetWidth;
  height = targetHeight;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  genFramebuffers(1, &framebuffer);
  bindFramebuffer(kFramebuffer, framebuffer);
  framebufferTexture2D(kFramebuffer, kColourAttachment0, GL_TEXTURE_2D, texture, 0);
  const unsigned status = checkFramebufferStatus(kFramebuffer);
  if (status != kFramebufferComplete) {
    *error = "the " + std::to_string(width) + " x " + std::to_string(height) +
             " framebuffer is incomplete, status " + std::to_string(status);
    return false;
  }
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  return true;
}

void WglWindow::Clear(float r, float g, float b, float a) const {
  bindFramebuffer(kFramebuffer, framebuffer);
  glClearColor(r, g, b, a);
  glClear(GL_COLOR_BUFFER_BIT);
}

std::vector<uint8_t> WglWindow::ReadPixels() const {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  bindFramebuffer(kFramebuffer, framebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

uint32_t WglWindow::TakeError() const {
  uint32_t first = 0;
  for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
    if (first == 0) first = error;
  }
  return first;
}

std::string WglWindow::Renderer() const {
  const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  return std::string(renderer ? renderer : "?") + ", OpenGL " + (version ? version : "?");
}

void WglWindow::DropTarget() {
  if (context == nullptr) return;
  if (framebuffer != 0) {
    bindFramebuffer(kFramebuffer, 0);
    deleteFramebuffers(1, &framebuffer);
    framebuffer = 0;
  }
  if (texture != 0) {
    glDeleteTextures(1, &texture);
    texture = 0;
  }
}
