// plugMain as a host calls it, for the tests that drive the registered Vantorel.
#pragma once

#include <cstdint>
#include <cstring>

#include "host/FreeFrame.h"

inline uint32_t Bits(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

inline float FloatOf(uint32_t bits) {
  float value = 0.0f;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

inline FFResult Call(uint32_t code, uint32_t value = 0, FFInstanceID id = 0) {
  FFMixed input;
  input.PointerValue = nullptr;
  input.UIntValue = value;
  return plugMain(code, input, id);
}

inline FFResult CallWith(uint32_t code, const void* record, FFInstanceID id = 0) {
  FFMixed input;
  input.PointerValue = const_cast<void*>(record);
  return plugMain(code, input, id);
}

inline FFResult SetParameter(FFInstanceID id, uint32_t index, float value) {
  ParameterPair pair{};
  pair.index = index;
  pair.value.UIntValue = Bits(value);
  return CallWith(FF_SETPARAMETER, &pair, id);
}
