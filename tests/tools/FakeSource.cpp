// A small source plugin for the host tools' tests: it paints the upper half of the viewport in
// a colour made of its parameters and the lower half opaque black, so that a test can check
// orientation, alpha, parameter delivery and, in the timed build, the host time (and a failure
// from 100 s of host time on).
#include <GL/gl.h>

#include <cstdio>
#include <cstring>

#include "host/FreeFrame.h"

namespace {

#ifdef FAKE_ACCEPTS_HOST_TIME
constexpr bool kAcceptsHostTime = true;
#else
constexpr bool kAcceptsHostTime = false;
#endif

struct Parameter {
  char name[16];
  uint32_t type;
  float fallback;
};

// "Blue Channel Val" fills all 16 bytes: the host reads it without a terminator.
const Parameter kParameters[] = {
    {{'R', 'e', 'd'}, FF_TYPE_STANDARD, 1.0f},
    {{'G', 'r', 'e', 'e', 'n'}, FF_TYPE_STANDARD, 0.2f},
    {{'B', 'l', 'u', 'e', ' ', 'C', 'h', 'a', 'n', 'n', 'e', 'l', ' ', 'V', 'a', 'l'},
     FF_TYPE_STANDARD,
     0.0f},
    {{'A', 'l', 'p', 'h', 'a'}, FF_TYPE_STANDARD, 0.6f},
    {{'S', 'p', 'l', 'i', 't'}, FF_TYPE_BOOLEAN, 1.0f},
};
constexpr uint32_t kCount = sizeof kParameters / sizeof kParameters[0];

PluginInfoRecord info = {
    1, 6, {'Q', 'F', 'A', 'K'}, {'F', 'a', 'k', 'e', ' ', 'S', 'o', 'u', 'r', 'c', 'e'}, 1};
char description[] = "Test source";
char about[] = "Host tool tests";
ExtendedInfoRecord extended = {2, 3, description, about, 0, nullptr};

struct Instance {
  uint32_t width;
  uint32_t height;
  float values[kCount];
  double time;
  char display[32];
};

uint32_t Bits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

float FromBits(uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

FFResult Draw(Instance* instance, const ProcessFrameRecord* frame) {
  // A host must have the framebuffer it names bound.
  GLint bound = -1;
  glGetIntegerv(0x8CA6 /* GL_FRAMEBUFFER_BINDING */, &bound);
  if (static_cast<uint32_t>(bound) != frame->hostFramebuffer) return FF_FAIL;
  // The timed build fails from 100 s on, so that a test can break a run midway.
  if (kAcceptsHostTime && instance->time >= 100.0) return FF_FAIL;
  const float* v = instance->values;
  const float blue = kAcceptsHostTime ? static_cast<float>(instance->time) : v[2];
  const GLsizei half = static_cast<GLsizei>(instance->height / 2);
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, 0, static_cast<GLsizei>(instance->width), half);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  const GLint top = v[4] != 0.0f ? half : 0;
  glScissor(0, top, static_cast<GLsizei>(instance->width),
            static_cast<GLsizei>(instance->height) - top);
  glClearColor(v[0], v[1], blue, v[3]);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  return FF_SUCCESS;
}

}  // namespace

extern "C" FF_EXPORT FFResult FF_CALL plugMain(uint32_t code, FFMixed input, FFInstanceID id) {
  auto* instance = reinterpret_cast<Instance*>(id);
  const uint32_t index = input.UIntValue;
  switch (code) {
    case FF_GETINFO:
      return reinterpret_cast<FFResult>(&info);
    case FF_GETEXTENDEDINFO:
      return reinterpret_cast<FFResult>(&extended);
    case FF_INITIALISE:
    case FF_DEINITIALISE:
      return FF_SUCCESS;
    case FF_GETNUMPARAMETERS:
      return kCount;
    case FF_GETPARAMETERNAME:
      return index < kCount ? reinterpret_cast<FFResult>(kParameters[index].name) : 0;
    case FF_GETPARAMETERTYPE:
      return index < kCount ? kParameters[index].type : FF_FAIL;
    case FF_GETPARAMETERDEFAULT:
      return index < kCount ? Bits(kParameters[index].fallback) : FF_FAIL;
    case FF_GETPLUGINCAPS:
      if (index == FF_CAP_OPENGL) return 1;
      if (index == FF_CAP_SETTIME) return kAcceptsHostTime ? 1 : 0;
      if (index == FF_CAP_MAXIMUMINPUTFRAMES) return 0;
      return 0;
    case FF_INSTANTIATEGL: {
      const auto* viewport = static_cast<const ViewportRecord*>(input.PointerValue);
      if (viewport == nullptr || viewport->width == 0 || viewport->height == 0) return FF_FAIL;
      auto* made = new Instance{};
      made->width = viewport->width;
      made->height = viewport->height;
      for (uint32_t i = 0; i < kCount; ++i) made->values[i] = kParameters[i].fallback;
      return reinterpret_cast<FFResult>(made);
    }
    case FF_DEINSTANTIATEGL:
      if (instance == nullptr) return FF_FAIL;
      delete instance;
      return FF_SUCCESS;
    case FF_SETPARAMETER: {
      const auto* pair = static_cast<const ParameterPair*>(input.PointerValue);
      if (instance == nullptr || pair == nullptr || pair->index >= kCount) return FF_FAIL;
      instance->values[pair->index] = FromBits(pair->value.UIntValue);
      return FF_SUCCESS;
    }
    case FF_GETPARAMETER:
      if (instance == nullptr || index >= kCount) return FF_FAIL;
      return Bits(instance->values[index]);
    case FF_GETPARAMETERDISPLAY:
      if (instance == nullptr || index >= kCount) return 0;
      snprintf(instance->display, sizeof instance->display, "%.3f",
               static_cast<double>(instance->values[index]));
      return reinterpret_cast<FFResult>(instance->display);
    case FF_PROCESSOPENGL:
      if (instance == nullptr || input.PointerValue == nullptr) return FF_FAIL;
      return Draw(instance, static_cast<const ProcessFrameRecord*>(input.PointerValue));
    case FF_SETTIME:
      if (!kAcceptsHostTime || instance == nullptr || input.PointerValue == nullptr) {
        return FF_FAIL;
      }
      instance->time = *static_cast<const double*>(input.PointerValue);
      return FF_SUCCESS;
    default:
      return FF_FAIL;
  }
}
