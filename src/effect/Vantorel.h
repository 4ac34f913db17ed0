// The ring-and-spoke pattern generator: the library's one plugin class.
#pragma once

#include <cstdint>
#include <string>

#include "effect/FrameClock.h"
#include "effect/InputCopy.h"
#include "effect/UniformSlots.h"
#include "framework/CFreeFrameGLPlugin.h"
#include "gl/FFGLExtensionTable.h"
#include "gl/FFGLShader.h"
#include "gl/OpenGL.h"

class Vantorel : public CFreeFrameGLPlugin {
 public:
  Vantorel();
  ~Vantorel() override = default;

  // The registration's factory: one new instance into *instance, 0; or null and -1.
  static int32_t createInstance(CFreeFrameGLPlugin** instance);

  int32_t StartGL(const ViewportRecord* viewport) override;
  int32_t StopGL() override;
  int32_t SetParameterFloat(uint32_t index, float value) override;
  float GetParameterFloat(uint32_t index) override;
  int32_t DrawFrame(const ProcessFrameRecord* frame) override;

  // Completes the source when it lacks the plugin's declarations, compiles it with the pattern's
  // vertex program and finds its uniforms. True when the program is ready to draw.
  bool prepareShader(std::string fragmentSource);

  // Redraws one input into copyTexture (made when 0) through framebuffer (made when 0), then
  // binds the host's framebuffer again.
  void copyInputTexture(TextureRecord texture, TexCoordScale scale, GLuint& copyTexture,
                        GLenum textureUnit, GLuint& framebuffer, GLuint hostFramebuffer);

  // The instance's state; public so that tests and tools can look at a live instance.
  float speed;
  float vortexSpeed;
  float vortexFrequency;
  float linesSoftness;
  float mouseZ;
  float mouseW;
  float circlesSoftness;
  float size;
  float evenCirclesOffset;
  float oddCirclesOffset;
  int32_t linearScale;
  int32_t invertSpeed;
  float alphaMode;
  bool shaderReady;
  GLuint copyTextures[4];
  GLuint copyFramebuffer;
  float viewportWidth = 0.0f;  // written by StartGL and every frame
  float viewportHeight = 0.0f;
  double clockNow;
  double clockPrevious;
  FrameClock clock;
  float time;
  float time2;
  float date[4];
  float channelTime[4];
  float channelResolution[4][3];
  float mouseVector[4];
  FFGLExtensionTable extensions;
  FFGLShader shader;
  UniformSlots uniforms = kNoUniforms;

 private:
  void reset();
};
