// A CPU rendering of the ring-and-spoke picture, for comparing what the GPU drew.
#pragma once

#include <array>
#include <cstdint>

// What the fragment program is fed, by parameter meaning.
struct PatternParams {
  float time = 0.0f;   // rotation phase
  float time2 = 0.0f;  // vortex phase
  float vortexFrequency = 0.0f;
  float linesSoftness = 0.0f;
  float circlesSoftness = 0.0f;
  float size = 0.2f;
  float evenCirclesOffset = 0.5f;
  float oddCirclesOffset = 0.5f;
  float alphaMode = 0.0f;
  int32_t linearScale = 0;
};

// The eleven parameter values, in index order, that give a host instance these settings; the
// two speeds are not part of a still picture, so they are given apart.
std::array<float, 11> ParameterValues(const PatternParams& params, float speed, float vortexSpeed);

// Grey level in [0, 1] at window position (fx, fy) of a width x height viewport at (0, 0).
float ReferenceColour(const PatternParams& params, float fx, float fy, float width, float height);

// The 8-bit grey and alpha of pixel (x, y), row 0 at the bottom, sampled at the pixel centre.
uint8_t ReferenceGrey(const PatternParams& params, int x, int y, int width, int height);
uint8_t ReferenceAlpha(const PatternParams& params, int x, int y, int width, int height);

// How far a read-back RGBA picture (rows bottom first) is from the reference.
struct PictureDifference {
  int worst = 0;    // largest channel difference in levels of 255
  int beyond = 0;   // pixels with a channel more than the tolerance away
  int firstX = -1;  // first pixel beyond the tolerance, or -1
  int firstY = -1;
  int firstGot = 0;  // its grey as read and as expected
  int firstWanted = 0;
};
PictureDifference CompareWithReference(const PatternParams& params, const uint8_t* rgba, int width,
                                       int height, int tolerance);
