#include "PatternReference.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

float SmoothStep(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

// The soft edge, or the hard step it tends to when the softness is 0.
float Edge(float softness, float x) {
  if (softness == 0.0f) return x < 0.0f ? 0.0f : 1.0f;
  return SmoothStep(0.0f - softness, 0.0f + softness, x);
}

float Mix(float a, float b, float w) {
  return a * (1.0f - w) + b * w;
}

uint8_t ToByte(float value) {
  return static_cast<uint8_t>(std::lrint(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

float ReferenceColour(const PatternParams& params, float fx, float fy, float width, float height) {
  float px = fx / width - 0.5f;
  float py = fy / height - 0.5f;
  px = px * (width / height);
  const float zoom = 5.0f * (params.size + 0.1f);
  px *= zoom;
  py *= zoom;

  const float radius = std::sqrt(px * px + py * py);
  const float ripple = std::sin(radius * 5.0f * 20.0f * std::pow(params.vortexFrequency, 4.0f) +
                                params.time2 * 15.0f);
  const float angle =
      ((px == 0.0f && py == 0.0f) ? 0.0f : std::atan2(px, py)) + SmoothStep(0.1f, 1.2f, ripple);

  const float count = (params.size + 0.1f) * 20.0f;
  const float k = Mix(std::floor(count), count, static_cast<float>(params.linearScale));
  const float phase = params.time * 15.0f;
  const float lines1 =
      Edge(params.linesSoftness,
           std::sin(angle * k + phase + params.evenCirclesOffset * 3.1415f * 2.0f));
  const float lines2 =
      Edge(params.linesSoftness,
           std::sin(-angle * k + phase + params.oddCirclesOffset * 3.1415f * 2.0f));
  const float circle = Edge(params.circlesSoftness, std::sin(radius * 3.1415f * 5.0f));
  return Mix(lines1, lines2, circle);
}

uint8_t ReferenceGrey(const PatternParams& params, int x, int y, int width, int height) {
  return ToByte(ReferenceColour(params, static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f,
                                static_cast<float>(width), static_cast<float>(height)));
}

uint8_t ReferenceAlpha(const PatternParams& params, int x, int y, int width, int height) {
  const float colour =
      ReferenceColour(params, static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f,
                      static_cast<float>(width), static_cast<float>(height));
  return ToByte(Mix(1.0f, colour, params.alphaMode));
}

PictureDifference CompareWithReference(const PatternParams& params, const uint8_t* rgba, int width,
                                       int height, int tolerance) {
  PictureDifference result;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* pixel = rgba + (static_cast<size_t>(y) * width + x) * 4;
      const int grey = ReferenceGrey(params, x, y, width, height);
      const int alpha = ReferenceAlpha(params, x, y, width, height);
      int worst = std::abs(pixel[3] - alpha);
      for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(pixel[c] - grey));
      result.worst = std::max(result.worst, worst);
      if (worst > tolerance) {
        if (result.beyond == 0) {
          result.firstX = x;
          result.firstY = y;
          result.firstGot = pixel[0];
          result.firstWanted = grey;
        }
        ++result.beyond;
      }
    }
  }
  return result;
}

std::array<float, 11> ParameterValues(const PatternParams& p, float speed, float vortexSpeed) {
  return {speed,
          vortexSpeed,
          p.vortexFrequency,
          p.linesSoftness,
          p.circlesSoftness,
          p.size,
          p.evenCirclesOffset,
          p.oddCirclesOffset,
          p.alphaMode,
          static_cast<float>(p.linearScale),
          0.0f};
}
