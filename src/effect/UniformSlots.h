// Where the compiled program keeps each uniform the frame feeds; -1 when it has none.
#pragma once

#include <cstdint>

struct UniformSlots {
  int32_t channel0;
  int32_t channel1;
  int32_t channel2;  // located, never fed
  int32_t channel3;  // located, never fed
  int32_t time;
  int32_t time2;
  int32_t date;
  int32_t channelTime;
  int32_t channelResolution;
  int32_t mouse;
  int32_t iResolution;
  int32_t iMouse;
  int32_t resolution;
  int32_t surfaceSize;
  int32_t but1;
  int32_t alphaMode;
  int32_t inputColour;
};

// Every slot empty: what a preparation starts its lookups from.
inline constexpr UniformSlots kNoUniforms{-1, -1, -1, -1, -1, -1, -1, -1, -1,
                                          -1, -1, -1, -1, -1, -1, -1, -1};
