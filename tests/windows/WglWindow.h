// A plain Win32 window with a current WGL context and an offscreen target of an exact size.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class WglWindow {
 public:
  WglWindow() = default;
  WglWindow(const WglWindow&) = delete;
  WglWindow& operator=(const WglWindow&) = delete;
  ~WglWindow();

  // Opens the window, makes its context current and resolves the framebuffer-object entry
  // points through wglGetProcAddress; on failure says which step failed in *error.
  bool Open(std::string* error);
  // A framebuffer object with a width x height RGBA texture, bound, with the viewport on it
  // and identity transformations; on failure says why in *error.
  bool MakeTarget(int width, int height, std::string* error);

  uint32_t Framebuffer() const { return framebuffer; }
  void Clear(float r, float g, float b, float a) const;
  // The target's pixels, RGBA, rows bottom first.
  std::vector<uint8_t> ReadPixels() const;
  uint32_t TakeError() const;
  std::string Renderer() const;

 private:
  void DropTarget();

  HWND window = nullptr;
  HDC dc = nullptr;
  HGLRC context = nullptr;
  uint32_t framebuffer = 0;
  uint32_t texture = 0;
  int width = 0;
  int height = 0;

  using GenFramebuffers = void(APIENTRY*)(int, unsigned*);
  using DeleteFramebuffers = void(APIENTRY*)(int, const unsigned*);
  using BindFramebuffer = void(APIENTRY*)(unsigned, unsigned);
  using FramebufferTexture2D = void(APIENTRY*)(unsigned, unsigned, unsigned, unsigned, int);
  using CheckFramebufferStatus = unsigned(APIENTRY*)(unsigned);
  GenFramebuffers genFramebuffers = nullptr;
  DeleteFramebuffers deleteFramebuffers = nullptr;
  BindFramebuffer bindFramebuffer = nullptr;
  FramebufferTexture2D framebufferTexture2D = nullptr;
  CheckFramebufferStatus checkFramebufferStatus = nullptr;
};
