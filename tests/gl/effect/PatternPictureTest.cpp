// The pattern as a host gets it through plugMain on a real context, against the CPU reference.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "EglContext.h"
#include "HostCalls.h"
#include "PatternReference.h"
#include "effect/Vantorel.h"

namespace {

// Levels of 255 a smooth pixel may be off, and the share of pixels (hard edges, where a sine
// crosses zero within a pixel) that may be further off.
constexpr int kTolerance = 3;
constexpr double kEdgeShare = 0.005;

std::string Describe(const PictureDifference& d, int pixels) {
  return "worst difference " + std::to_string(d.worst) + ", " + std::to_string(d.beyond) + " of " +
         std::to_string(pixels) + " pixels beyond " + std::to_string(kTolerance) + "; first at (" +
         std::to_string(d.firstX) + ", " + std::to_string(d.firstY) + ") grey " +
         std::to_string(d.firstGot) + ", wanted " + std::to_string(d.firstWanted);
}

class PatternPictureTest : public EglContextTest {
 protected:
  int TargetWidth() const override { return 160; }
  int TargetHeight() const override { return 96; }

  void TearDown() override {
    for (FFInstanceID id : instances_) Call(FF_DEINSTANTIATEGL, 0, id);
    Call(FF_DEINITIALISE);
    EglContextTest::TearDown();
  }

  FFInstanceID Instantiate() {
    const ViewportRecord viewport{0, 0, static_cast<uint32_t>(TargetWidth()),
                                  static_cast<uint32_t>(TargetHeight())};
    const FFResult id = CallWith(FF_INSTANTIATEGL, &viewport);
    EXPECT_NE(id, FF_FAIL) << "code 18 failed on " << Host().Renderer();
    if (id == FF_FAIL || id == 0) return 0;
    instances_.push_back(id);
    EXPECT_TRUE(Plugin(id)->shaderReady) << "the pattern program did not build";
    return id;
  }

  static Vantorel* Plugin(FFInstanceID id) {
    return static_cast<Vantorel*>(reinterpret_cast<CFreeFrameGLPlugin*>(id));
  }

  // Sends every parameter the picture depends on; speed and vortex speed as given.
  static void Apply(FFInstanceID id, const PatternParams& p, float speed = 0.0f,
                    float vortexSpeed = 0.0f) {
    const std::array<float, 11> values = ParameterValues(p, speed, vortexSpeed);
    for (uint32_t index = 0; index < 11; ++index) {
      EXPECT_EQ(SetParameter(id, index, values[index]), 0u) << "parameter " << index;
    }
  }

  std::vector<uint8_t> Draw(FFInstanceID id) {
    Host().BindTarget();
    Host().Clear(0.2f, 0.4f, 0.6f, 0.8f);
    const ProcessFrameRecord frame{0, nullptr, Host().Framebuffer()};
    EXPECT_EQ(CallWith(FF_PROCESSOPENGL, &frame, id), 0u);
    EXPECT_EQ(TakeGlError(), 0u) << "OpenGL error after the frame";
    return Host().ReadPixels();
  }

  void ExpectMatches(const PatternParams& params, const std::vector<uint8_t>& pixels) {
    const int width = TargetWidth();
    const int height = TargetHeight();
    ASSERT_EQ(pixels.size(), static_cast<size_t>(width) * height * 4);
    const PictureDifference d =
        CompareWithReference(params, pixels.data(), width, height, kTolerance);
    EXPECT_LE(d.beyond, static_cast<int>(kEdgeShare * width * height))
        << Describe(d, width * height);
  }

  std::vector<FFInstanceID> instances_;
};

struct PictureCase {
  const char* what;
  PatternParams params;
};

PatternParams With(void (*change)(PatternParams&)) {
  PatternParams params;
  change(params);
  return params;
}

const PictureCase kPictures[] = {
    {"defaults", PatternParams{}},
    {"size 0.7", With([](PatternParams& p) { p.size = 0.7f; })},
    {"size 0, two spokes", With([](PatternParams& p) { p.size = 0.0f; })},
    {"size 1", With([](PatternParams& p) { p.size = 1.0f; })},
    {"lines softness 0.3", With([](PatternParams& p) { p.linesSoftness = 0.3f; })},
    {"circles softness 0.25", With([](PatternParams& p) { p.circlesSoftness = 0.25f; })},
    {"both softness 1", With([](PatternParams& p) { p.linesSoftness = p.circlesSoftness = 1.0f; })},
    {"vortex frequence 0.8", With([](PatternParams& p) { p.vortexFrequency = 0.8f; })},
    {"vortex frequence 1, soft lines", With([](PatternParams& p) {
       p.vortexFrequency = 1.0f;
       p.linesSoftness = 0.15f;
     })},
    {"unequal offsets", With([](PatternParams& p) {
       p.evenCirclesOffset = 0.1f;
       p.oddCirclesOffset = 0.85f;
       p.circlesSoftness = 0.1f;
     })},
    {"linear scale, size 0.33", With([](PatternParams& p) {
       p.linearScale = 1;
       p.size = 0.33f;
       p.linesSoftness = 0.2f;
     })},
    {"alpha mode 0.5, soft", With([](PatternParams& p) {
       p.alphaMode = 0.5f;
       p.linesSoftness = 0.2f;
       p.circlesSoftness = 0.2f;
     })},
    {"alpha mode 1", With([](PatternParams& p) { p.alphaMode = 1.0f; })},
};

TEST_F(PatternPictureTest, StillPicturesMatchTheReference) {
  const FFInstanceID id = Instantiate();
  ASSERT_NE(id, 0u);
  for (const PictureCase& c : kPictures) {
    SCOPED_TRACE(c.what);
    Apply(id, c.params);
    const std::vector<uint8_t> pixels = Draw(id);
    ASSERT_EQ(Plugin(id)->time, 0.0f) << "Speed 0 must keep the phase";
    ExpectMatches(c.params, pixels);
  }
}

// Draws until the plugin's own clock has moved, so a phase can change.
void LetTimePass() {
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

TEST_F(PatternPictureTest, MovingPictureFollowsThePhaseAndInvertReversesIt) {
  const FFInstanceID id = Instantiate();
  ASSERT_NE(id, 0u);
  PatternParams params;
  params.linesSoftness = 0.3f;
  params.vortexFrequency = 0.7f;
  Apply(id, params, 0.0f, 0.0f);
  const std::vector<uint8_t> still = Draw(id);

  Apply(id, params, 1.0f, 0.5f);
  LetTimePass();
  const std::vector<uint8_t> moved = Draw(id);
  Vantorel* plugin = Plugin(id);
  ASSERT_GT(plugin->time, 0.0f);
  ASSERT_GT(plugin->time2, 0.0f);
  EXPECT_NE(moved, still) << "the picture did not move";
  params.time = plugin->time;
  params.time2 = plugin->time2;
  ExpectMatches(params, moved);

  // Invert Speed: both phases run back from where they were, by this frame's step only.
  const float before = plugin->time;
  const float before2 = plugin->time2;
  ASSERT_EQ(SetParameter(id, 10, 1.0f), 0u);
  LetTimePass();
  const std::vector<uint8_t> back = Draw(id);
  const float dt = static_cast<float>(plugin->clockNow - plugin->clockPrevious);
  EXPECT_LT(plugin->time, before);
  EXPECT_LT(plugin->time2, before2);
  EXPECT_EQ(plugin->time, ((-1.0f * dt) * 1.0f) * 2.0f + before) << "the phase jumped";
  EXPECT_EQ(plugin->time2, ((-1.0f * dt) * 0.5f) * 2.0f + before2) << "the phase jumped";
  params.time = plugin->time;
  params.time2 = plugin->time2;
  ExpectMatches(params, back);
}

TEST_F(PatternPictureTest, TwoInstancesAnimateIndependently) {
  const FFInstanceID turning = Instantiate();
  const FFInstanceID resting = Instantiate();
  ASSERT_NE(turning, 0u);
  ASSERT_NE(resting, 0u);
  PatternParams restingParams;
  restingParams.size = 0.6f;
  PatternParams turningParams;
  turningParams.circlesSoftness = 0.2f;
  Apply(turning, turningParams, 0.8f, 0.0f);
  Apply(resting, restingParams, 0.0f, 0.0f);
  for (int frame = 0; frame < 3; ++frame) {
    LetTimePass();
    Draw(turning);
    Draw(resting);
  }
  EXPECT_GT(Plugin(turning)->time, 0.0f);
  EXPECT_EQ(Plugin(resting)->time, 0.0f) << "one instance's speed moved the other";
  const std::vector<uint8_t> turned = Draw(turning);
  turningParams.time = Plugin(turning)->time;
  ExpectMatches(turningParams, turned);
  ExpectMatches(restingParams, Draw(resting));
}

}  // namespace

// Odd sizes put one fragment exactly on the centre, where the angle needs its guard.
class OddPatternPictureTest : public PatternPictureTest {
 protected:
  int TargetWidth() const override { return 75; }
  int TargetHeight() const override { return 51; }
};

TEST_F(OddPatternPictureTest, CentreFragmentHasTheReferenceValue) {
  const FFInstanceID id = Instantiate();
  ASSERT_NE(id, 0u);
  const PatternParams kCentres[] = {
      PatternParams{},
      With([](PatternParams& p) { p.oddCirclesOffset = 0.0f; }),
      With([](PatternParams& p) { p.linesSoftness = 0.5f; }),
  };
  for (const PatternParams& params : kCentres) {
    Apply(id, params);
    const std::vector<uint8_t> pixels = Draw(id);
    ExpectMatches(params, pixels);
    const int x = TargetWidth() / 2;
    const int y = TargetHeight() / 2;
    const uint8_t* centre = &pixels[(static_cast<size_t>(y) * TargetWidth() + x) * 4];
    EXPECT_NEAR(centre[0], ReferenceGrey(params, x, y, TargetWidth(), TargetHeight()), kTolerance)
        << "centre pixel, odd offset " << params.oddCirclesOffset << ", lines softness "
        << params.linesSoftness;
  }
}
