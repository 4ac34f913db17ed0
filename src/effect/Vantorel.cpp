#include "effect/Vantorel.h"

#include <new>

#include "effect/FloatConversion.h"

Vantorel::Vantorel() : extensions(), shader() {
  SetMinimumInputs(0);
  SetMaximumInputs(2);

  DeclareParameter(0, "Speed", Standard, 0.1f);
  speed = 0.5f;
  DeclareParameter(1, "Vortex Speed", Standard, 0.0f);
  vortexSpeed = 0.5f;
  DeclareParameter(2, "Vortex Frequence", Standard, 0.0f);
  vortexFrequency = 0.5f;
  DeclareParameter(3, "Lines Softness", Standard, 0.0f);
  linesSoftness = 0.5f;
  DeclareParameter(4, "Circles Softness", Standard, 0.0f);
  circlesSoftness = 0.5f;
  DeclareParameter(5, "Size", Standard, 0.2f);
  size = 0.5f;
  DeclareParameter(6, "Even Circles Offset", Standard, 0.5f);
  evenCirclesOffset = 0.5f;
  DeclareParameter(7, "Odd Circles Offset", Standard, 0.5f);
  oddCirclesOffset = 0.5f;
  DeclareParameter(8, "Alpha Mode", Standard, 0.0f);
  alphaMode = 0.0f;
  DeclareParameter(9, "Linear Scale", Boolean, 0.0f);
  linearScale = 0;
  DeclareParameter(10, "Invert Speed", Boolean, 0.0f);
  invertSpeed = 0;

  reset();
  shaderReady = false;
}

void Vantorel::reset() {
  clockNow = 0.0;
  clockPrevious = 0.0;
  clock.ticksPerMs = 0.0;
  clock.startCount = 0;
  for (float& component : mouseVector) component = 0.5f;
  speed = 0.5f;
  vortexSpeed = 0.5f;
  vortexFrequency = 0.5f;
  linesSoftness = 0.5f;
  mouseZ = 0.5f;
  mouseW = 0.5f;
  linearScale = 0;
  invertSpeed = 0;
  alphaMode = 0.0f;
  time = 0.0f;
  time2 = 0.0f;
  for (float& value : date) value = 0.0f;
  for (float& value : channelTime) value = 0.0f;
  for (auto& entry : channelResolution) {
    entry[0] = 0.0f;
    entry[1] = 0.0f;
    entry[2] = 1.0f;
  }
  for (GLuint& name : copyTextures) name = 0;
  copyFramebuffer = 0;
}

int32_t Vantorel::createInstance(CFreeFrameGLPlugin** instance) {
  if (instance == nullptr) return -1;
  Vantorel* made = new (std::nothrow) Vantorel;
  // An instance with a parameter missing would answer the host wrongly: refuse it.
  if (made != nullptr && made->DeclarationFailed()) {
    delete made;
    made = nullptr;
  }
  *instance = made;
  return made != nullptr ? 0 : -1;
}

int32_t Vantorel::SetParameterFloat(uint32_t index, float value) {
  switch (index) {
    case 0:
      speed = value;
      break;
    case 1:
      vortexSpeed = value;
      break;
    case 2:
      vortexFrequency = value;
      break;
    case 3:
      linesSoftness = value;
      break;
    case 4:
      circlesSoftness = value;
      break;
    case 5:
      size = value;
      break;
    case 6:
      evenCirclesOffset = value;
      break;
    case 7:
      oddCirclesOffset = value;
      break;
    case 8:
      alphaMode = value;
      break;
    case 9:
      linearScale = TruncateToInt32(value);
      break;
    case 10:
      invertSpeed = TruncateToInt32(value);
      break;
    default:
      return -1;
  }
  return 0;
}

float Vantorel::GetParameterFloat(uint32_t index) {
  switch (index) {
    case 0:
      return speed;
    case 1:
      return vortexSpeed;
    case 2:
      return vortexFrequency;
    case 3:
      return linesSoftness;
    case 4:
      return circlesSoftness;
    case 5:
      return size;
    case 6:
      return evenCirclesOffset;
    case 7:
      return oddCirclesOffset;
    case 8:
      return alphaMode;
    case 9:
      return static_cast<float>(linearScale);
    case 10:
      return static_cast<float>(invertSpeed);
    default:
      return -1.0f;
  }
}
