#include "PatternMatch.h"

#include <cstring>
#include <vector>

namespace {

constexpr int kTolerance = 3;
constexpr double kEdgeShare = 0.01;

}  // namespace

::testing::AssertionResult MatchesPattern(const PatternParams& params, const Picture& picture) {
  const int width = static_cast<int>(picture.width);
  const int height = static_cast<int>(picture.height);
  if (width == 0 || picture.rgba.size() != static_cast<size_t>(width) * height * 4) {
    return ::testing::AssertionFailure() << "no picture to compare";
  }
  // The reference counts rows from the bottom, as OpenGL does; files start at the top.
  const size_t stride = static_cast<size_t>(width) * 4;
  std::vector<uint8_t> bottomUp(picture.rgba.size());
  for (int y = 0; y < height; ++y) {
    std::memcpy(bottomUp.data() + y * stride, picture.rgba.data() + (height - 1 - y) * stride,
                stride);
  }
  const PictureDifference d =
      CompareWithReference(params, bottomUp.data(), width, height, kTolerance);
  const int allowed = static_cast<int>(kEdgeShare * width * height);
  if (d.beyond <= allowed) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << d.beyond << " of " << width * height << " pixels differ by more than " << kTolerance
         << " (worst " << d.worst << "); first at (" << d.firstX << ", " << d.firstY
         << ") from the bottom: grey " << d.firstGot << ", wanted " << d.firstWanted;
}
