#include "framework/CFreeFrameGLPlugin.h"

#include <cstdio>

namespace {

// Shared by every instance; overwritten by each float display. "%f" of the most negative float
// takes 47 characters, so 64 leaves room for NaN, infinities and the terminator.
char displayBuffer[64];

}  // namespace

int32_t CFreeFrameGLPlugin::StartGL(const ViewportRecord*) {
  return 0;
}

int32_t CFreeFrameGLPlugin::StopGL() {
  return 0;
}

const char* CFreeFrameGLPlugin::FormatParameter(uint32_t index) {
  if (parameterSource == nullptr) return nullptr;
  const uint32_t type = parameterSource->GetParameterType(index);
  if (type == 0xFFFFFFFFu) return nullptr;
  if (type == Text) return parameterSource->GetParameterText(index);
  const double value = parameterSource->GetParameterFloat(index);
  std::snprintf(displayBuffer, sizeof displayBuffer, "%f", value);
  return displayBuffer;
}

int32_t CFreeFrameGLPlugin::SetParameterFloat(uint32_t, float) {
  return -1;
}

int32_t CFreeFrameGLPlugin::SetParameterText(uint32_t, const char*) {
  return -1;
}

float CFreeFrameGLPlugin::GetParameterFloat(uint32_t) {
  return 0.0f;
}

const char* CFreeFrameGLPlugin::GetParameterText(uint32_t) {
  return kNoText;
}

int32_t CFreeFrameGLPlugin::DrawFrame(const ProcessFrameRecord*) {
  return -1;
}

int32_t CFreeFrameGLPlugin::SetHostTime(double) {
  return -1;
}

int32_t CFreeFrameGLPlugin::GetInputState(uint32_t inputIndex) {
  // A negative maximum means no inputs, as capability 11 reports it, not every index.
  const int32_t maximum = GetMaximumInputs();
  if (maximum <= 0) return -1;
  return inputIndex < static_cast<uint32_t>(maximum) ? 1 : -1;
}
