// One frame: inputs, clock, phases, date, uniform uploads, the quad and the restores.
#include <cstdint>
#include <ctime>

#include "effect/FloatConversion.h"
#include "effect/TexturedQuad.h"
#include "effect/Vantorel.h"
#include "gl/OpenGL.h"
#include "platform/Platform.h"

namespace {

// No OpenGL implementation holds a wider 2D texture: a larger picture is a broken record, and
// some drivers crash on such a size instead of refusing it.
constexpr uint32_t kLargestTextureSide = 65536;

}  // namespace

int32_t Vantorel::DrawFrame(const ProcessFrameRecord* frame) {
  if (!shaderReady) return 0;

  GLfloat viewport[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  glGetFloatv(GL_VIEWPORT, viewport);
  viewportWidth = viewport[2];
  viewportHeight = viewport[3];

  const int32_t slots[2] = {uniforms.channel0, uniforms.channel1};
  TextureRecord inputs[2] = {};  // handle 0: not taken
  if (frame != nullptr && (slots[0] >= 0 || slots[1] >= 0)) {
    for (uint32_t i = 0; i < 2; ++i) {
      if (slots[i] < 0 || frame->inputCount <= i || frame->inputTextures == nullptr) continue;
      const TextureRecord* record = frame->inputTextures[i];
      if (record == nullptr) continue;
      // Without framebuffer objects, without an allocation size or with a picture larger than
      // any texture, the input cannot be copied.
      if (extensions.hasFramebufferObject == 0 || record->hardwareWidth == 0 ||
          record->hardwareHeight == 0 || record->width > kLargestTextureSide ||
          record->height > kLargestTextureSide) {
        continue;
      }
      inputs[i] = *record;
      const TexCoordScale scale = getTexCoordScale(inputs[i]);

      const int32_t recordedWidth = TruncateToInt32(channelResolution[i][0]);
      const int32_t recordedHeight = TruncateToInt32(channelResolution[i][1]);
      if ((recordedWidth != static_cast<int32_t>(inputs[i].width) ||
           recordedHeight != static_cast<int32_t>(inputs[i].height)) &&
          copyTextures[i] != 0) {
        glDeleteTextures(1, &copyTextures[i]);
        copyTextures[i] = 0;
      }
      channelResolution[i][0] = static_cast<float>(inputs[i].width);
      channelResolution[i][1] = static_cast<float>(inputs[i].height);

      copyInputTexture(inputs[i], scale, copyTextures[i], GL_TEXTURE0 + i, copyFramebuffer,
                       frame->hostFramebuffer);
    }
  }

  clockPrevious = clockNow;
  clockNow = clock.elapsedMs() / 1000.0;

  const float sign = static_cast<float>(invertSpeed != 0 ? -1 : 1);
  const float dt = static_cast<float>(clockNow - clockPrevious);
  time = ((sign * dt) * speed) * 2.0f + time;
  time2 = ((sign * dt) * vortexSpeed) * 2.0f + time2;
  for (float& value : channelTime) value = time;

  std::tm local{};
  platform::LocalTime(std::time(nullptr), &local);
  date[0] = static_cast<float>(local.tm_year);
  date[1] = static_cast<float>(local.tm_mon) + 1.0f;
  date[2] = static_cast<float>(local.tm_mday);
  date[3] = static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);

  shader.Bind();

  const bool hasInput0 = inputs[0].handle != 0;
  const bool hasInput1 = inputs[1].handle != 0;
  if (uniforms.channel0 >= 0 && hasInput0) extensions.glUniform1iARB(uniforms.channel0, 0);
  if (uniforms.channel1 >= 0 && hasInput1) extensions.glUniform1iARB(uniforms.channel1, 1);
  if (uniforms.time >= 0) extensions.glUniform1fARB(uniforms.time, time);
  if (uniforms.time2 >= 0) extensions.glUniform1fARB(uniforms.time2, time2);
  if (uniforms.resolution >= 0) {
    extensions.glUniform2fARB(uniforms.resolution, viewportWidth, viewportHeight);
  }
  if (uniforms.mouse >= 0) {
    mouseVector[0] = vortexFrequency;
    mouseVector[1] = linesSoftness;
    extensions.glUniform2fARB(uniforms.mouse, mouseVector[0], mouseVector[1]);
  }
  if (uniforms.surfaceSize >= 0) {
    mouseVector[2] = mouseZ * viewportWidth;
    mouseVector[3] = mouseW * viewportHeight;
    extensions.glUniform2fARB(uniforms.surfaceSize, mouseVector[2], mouseVector[3]);
  }
  if (uniforms.but1 >= 0) extensions.glUniform1iARB(uniforms.but1, linearScale);
  if (uniforms.alphaMode >= 0) extensions.glUniform1fARB(uniforms.alphaMode, alphaMode);
  if (uniforms.iMouse >= 0) {
    mouseVector[0] = vortexFrequency * viewportWidth;
    mouseVector[1] = linesSoftness * viewportHeight;
    mouseVector[2] = mouseZ * viewportWidth;
    mouseVector[3] = mouseW * viewportHeight;
    extensions.glUniform4fARB(uniforms.iMouse, mouseVector[0], mouseVector[1], mouseVector[2],
                              mouseVector[3]);
  }
  if (uniforms.iResolution >= 0) {
    extensions.glUniform3fARB(uniforms.iResolution, viewportWidth, viewportHeight, 1.0f);
  }
  if (uniforms.channelResolution >= 0) {
    for (int entry = 2; entry < 4; ++entry) {
      channelResolution[entry][0] = viewportWidth;
      channelResolution[entry][1] = viewportHeight;
      channelResolution[entry][2] = 1.0f;
    }
    extensions.glUniform3fvARB(uniforms.channelResolution, 4, &channelResolution[0][0]);
  }
  if (uniforms.date >= 0) {
    extensions.glUniform4fARB(uniforms.date, date[0], date[1], date[2], date[3]);
  }
  if (uniforms.channelTime >= 0) extensions.glUniform1fvARB(uniforms.channelTime, 4, channelTime);
  if (uniforms.inputColour >= 0) {
    extensions.glUniform4fARB(uniforms.inputColour, circlesSoftness, size, evenCirclesOffset,
                              oddCirclesOffset);
  }

  const bool bound0 = uniforms.channel0 >= 0 && hasInput0;
  const bool bound1 = uniforms.channel1 >= 0 && hasInput1;
  if (bound0) {
    extensions.glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, copyTextures[0] != 0 ? copyTextures[0] : inputs[0].handle);
  }
  if (bound1) {
    extensions.glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, copyTextures[1] != 0 ? copyTextures[1] : inputs[1].handle);
  }

  glEnable(GL_TEXTURE_2D);
  DrawTexturedQuad(1.0f, 1.0f);
  glDisable(GL_TEXTURE_2D);

  if (bound1) {
    extensions.glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, 0);
  }
  extensions.glActiveTexture(GL_TEXTURE0);
  if (bound0) glBindTexture(GL_TEXTURE_2D, 0);
  shader.Unbind();
  return 0;
}
