// The registered plugin driven through plugMain on the recording OpenGL stand-in, quiet so that
// its calls do nothing and record nothing.
#pragma once

#include <cstdint>
#include <cstring>

#include "host/FreeFrame.h"

namespace bench {

inline uint32_t Bits(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

inline FFMixed Value(uint32_t value) {
  FFMixed input;
  input.PointerValue = nullptr;
  input.UIntValue = value;
  return input;
}

inline FFMixed Record(const void* record) {
  FFMixed input;
  input.PointerValue = const_cast<void*>(record);
  return input;
}

// Resets the stand-in to a 1280 x 720 viewport whose program has the pattern's seven uniforms,
// initialises the library and makes one instance with code 18. Answers its identifier; exits
// with a message when the plugin refuses.
FFInstanceID MakeRecordingInstance();

}  // namespace bench
