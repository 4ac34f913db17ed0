#include "PixelReadback.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "ToolError.h"

namespace vtool {

// Entry points beyond OpenGL 1.1, looked up for the current context.
struct GlFunctions {
  PFNGLGENBUFFERSPROC genBuffers;
  PFNGLDELETEBUFFERSPROC deleteBuffers;
  PFNGLBINDBUFFERPROC bindBuffer;
  PFNGLBUFFERDATAPROC bufferData;
  PFNGLMAPBUFFERRANGEPROC mapBufferRange;
  PFNGLUNMAPBUFFERPROC unmapBuffer;
  PFNGLFENCESYNCPROC fenceSync;
  PFNGLCLIENTWAITSYNCPROC clientWaitSync;
  PFNGLDELETESYNCPROC deleteSync;
};

namespace {

template <typename Function>
void Resolve(const GlLookup& lookup, Function* slot, const char* name) {
  *slot = reinterpret_cast<Function>(lookup(name));
  if (*slot == nullptr) {
    throw ToolError("preparing read-back",
                    std::string("the driver lacks ") + name + " (OpenGL 3.2 or later is needed)");
  }
}

std::unique_ptr<GlFunctions> LoadFunctions(const GlLookup& lookup) {
  auto gl = std::make_unique<GlFunctions>();
  Resolve(lookup, &gl->genBuffers, "glGenBuffers");
  Resolve(lookup, &gl->deleteBuffers, "glDeleteBuffers");
  Resolve(lookup, &gl->bindBuffer, "glBindBuffer");
  Resolve(lookup, &gl->bufferData, "glBufferData");
  Resolve(lookup, &gl->mapBufferRange, "glMapBufferRange");
  Resolve(lookup, &gl->unmapBuffer, "glUnmapBuffer");
  Resolve(lookup, &gl->fenceSync, "glFenceSync");
  Resolve(lookup, &gl->clientWaitSync, "glClientWaitSync");
  Resolve(lookup, &gl->deleteSync, "glDeleteSync");
  return gl;
}

}  // namespace

void CheckSizeLimit(uint32_t width, uint32_t height) {
  GLint renderbuffer = 0, texture = 0, viewport[2] = {0, 0};
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
  const GLint limit = std::min({renderbuffer, texture, viewport[0], viewport[1]});
  if (width == 0 || height == 0 || limit <= 0 || width > static_cast<uint32_t>(limit) ||
      height > static_cast<uint32_t>(limit)) {
    throw ToolError("checking size", std::to_string(width) + "x" + std::to_string(height) +
                                         " is beyond the driver's limit (1 to " +
                                         std::to_string(limit) + " on each side)");
  }
}

PixelReadback::PixelReadback(const GlLookup& lookup, uint32_t width, uint32_t height,
                             size_t ringSize)
    : gl_(LoadFunctions(lookup)),
      width_(width),
      height_(height),
      ringSize_(std::clamp<size_t>(ringSize, 2, 8)) {
  while (glGetError() != GL_NO_ERROR) {
  }
  const size_t frameBytes = static_cast<size_t>(width) * height * 4;
  gl_->genBuffers(static_cast<GLsizei>(ringSize_), buffers_);
  for (size_t i = 0; i < ringSize_; ++i) {
    gl_->bindBuffer(GL_PIXEL_PACK_BUFFER, buffers_[i]);
    gl_->bufferData(GL_PIXEL_PACK_BUFFER, static_cast<GLsizeiptr>(frameBytes), nullptr,
                    GL_STREAM_READ);
  }
  gl_->bindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR) {
    gl_->deleteBuffers(static_cast<GLsizei>(ringSize_), buffers_);
    char detail[64];
    snprintf(detail, sizeof detail, "OpenGL error 0x%04X", error);
    throw ToolError("preparing read-back", std::to_string(ringSize_) + " pixel buffers of " +
                                               std::to_string(frameBytes) + " bytes: " + detail);
  }
}

PixelReadback::~PixelReadback() {
  for (void*& fence : fences_) {
    if (fence != nullptr) gl_->deleteSync(static_cast<GLsync>(fence));
  }
  gl_->deleteBuffers(static_cast<GLsizei>(ringSize_), buffers_);
}

void PixelReadback::StartReadback() {
  const size_t slot = (next_ + pending_) % ringSize_;
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  gl_->bindBuffer(GL_PIXEL_PACK_BUFFER, buffers_[slot]);
  glReadPixels(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_), GL_RGBA,
               GL_UNSIGNED_BYTE, nullptr);
  gl_->bindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  fences_[slot] = gl_->fenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
  glFlush();
  ++pending_;
}

void PixelReadback::FinishOldest(uint8_t* rgba) {
  const size_t slot = next_;
  auto fence = static_cast<GLsync>(fences_[slot]);
  while (gl_->clientWaitSync(fence, GL_SYNC_FLUSH_COMMANDS_BIT, 1000000000u) ==
         GL_TIMEOUT_EXPIRED) {
  }
  gl_->deleteSync(fence);
  fences_[slot] = nullptr;
  next_ = (next_ + 1) % ringSize_;
  --pending_;
  const size_t stride = static_cast<size_t>(width_) * 4;
  const size_t frameBytes = stride * height_;
  gl_->bindBuffer(GL_PIXEL_PACK_BUFFER, buffers_[slot]);
  const auto* pixels = static_cast<const uint8_t*>(gl_->mapBufferRange(
      GL_PIXEL_PACK_BUFFER, 0, static_cast<GLsizeiptr>(frameBytes), GL_MAP_READ_BIT));
  if (pixels == nullptr) {
    gl_->bindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    throw ToolError("reading frame", "glMapBufferRange failed");
  }
  // OpenGL's rows run bottom to top.
  for (uint32_t y = 0; y < height_; ++y) {
    std::memcpy(rgba + y * stride, pixels + (height_ - 1 - y) * stride, stride);
  }
  gl_->unmapBuffer(GL_PIXEL_PACK_BUFFER);
  gl_->bindBuffer(GL_PIXEL_PACK_BUFFER, 0);
}

}  // namespace vtool
