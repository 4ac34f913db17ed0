// Asynchronous read-back of the host framebuffer through a ring of pixel-buffer objects, so
// that drawing the next frame need not wait for the copy of the last.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace vtool {

struct GlFunctions;

// Looks an OpenGL entry point up for the current context; null when missing.
using GlLookup = std::function<void*(const char*)>;

// Throws ToolError when width or height is 0 or above the current driver's limits
// (GL_MAX_RENDERBUFFER_SIZE, GL_MAX_TEXTURE_SIZE, GL_MAX_VIEWPORT_DIMS).
void CheckSizeLimit(uint32_t width, uint32_t height);

class PixelReadback {
 public:
  // Needs a current context. Throws ToolError when an entry point or the buffers are missing.
  PixelReadback(const GlLookup& lookup, uint32_t width, uint32_t height, size_t ringSize);
  ~PixelReadback();
  PixelReadback(const PixelReadback&) = delete;
  PixelReadback& operator=(const PixelReadback&) = delete;

  // Starts copying the bound framebuffer's colour into the next pixel buffer. Call only while
  // a slot is free (Pending() < RingSize()).
  void StartReadback();
  size_t Pending() const { return pending_; }
  size_t RingSize() const { return ringSize_; }
  // Waits for the oldest copy and writes it upright (top row first) into rgba.
  void FinishOldest(uint8_t* rgba);

 private:
  std::unique_ptr<GlFunctions> gl_;
  uint32_t width_;
  uint32_t height_;
  size_t ringSize_;
  uint32_t buffers_[8] = {};
  void* fences_[8] = {};
  size_t next_ = 0;
  size_t pending_ = 0;
};

}  // namespace vtool
