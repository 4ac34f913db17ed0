// Renders the pattern through the built DLL in a real WGL context, as a Windows host does, and
// compares the picture with the CPU reference.
// Usage: render_test [path of Vantorel.dll]; by default the plugin folder beside the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "PatternReference.h"
#include "host/FreeFrame.h"
#include "tests/windows/PluginLoader.h"
#include "tests/windows/WglWindow.h"

namespace {

std::string g_dllPath;

// Levels of 255 a smooth pixel may be off, and the share of pixels (hard edges, where a sine
// crosses zero within a pixel) that may be further off.
constexpr int kTolerance = 3;
constexpr double kEdgeShare = 0.005;

FFMixed Value(uint32_t value) {
  FFMixed mixed{};
  mixed.UIntValue = value;
  return mixed;
}

FFMixed Address(const void* record) {
  FFMixed mixed{};
  mixed.PointerValue = const_cast<void*>(record);
  return mixed;
}

uint32_t Bits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(window.Open(&error)) << "no WGL context: " << error;
    ASSERT_TRUE(plugin.Load(g_dllPath, &error)) << error;
    ASSERT_EQ(Call(FF_INITIALISE, Value(0)), FF_SUCCESS);
  }

  void TearDown() override {
    if (!plugin.Loaded()) return;
    if (instance != 0) Call(FF_DEINSTANTIATEGL, Value(0), instance);
    Call(FF_DEINITIALISE, Value(0));
  }

  FFResult Call(uint32_t code, FFMixed input, FFInstanceID id = 0) {
    return plugin.Call(code, input, id);
  }

  // A target of exactly width x height and an instance that draws into it.
  void Start(int width, int height) {
    std::string error;
    ASSERT_TRUE(window.MakeTarget(width, height, &error)) << error;
    const ViewportRecord viewport{0, 0, static_cast<uint32_t>(width),
                                  static_cast<uint32_t>(height)};
    const FFResult id = Call(FF_INSTANTIATEGL, Address(&viewport));
    ASSERT_NE(id, FF_FAIL) << "code 18 failed on " << window.Renderer();
    instance = id;
  }

  void Set(uint32_t index, float value) {
    ParameterPair pair{};
    pair.index = index;
    pair.value.UIntValue = Bits(value);
    EXPECT_EQ(Call(FF_SETPARAMETER, Address(&pair), instance), FF_SUCCESS) << "parameter " << index;
  }

  // Every parameter the picture depends on; the two speeds as given.
  void Apply(const PatternParams& p, float speed, float vortexSpeed) {
    const std::array<float, 11> values = ParameterValues(p, speed, vortexSpeed);
    for (uint32_t index = 0; index < 11; ++index) Set(index, values[index]);
  }

  std::vector<uint8_t> Draw() {
    window.Clear(0.2f, 0.4f, 0.6f, 0.8f);
    const ProcessFrameRecord frame{0, nullptr, window.Framebuffer()};
    EXPECT_EQ(Call(FF_PROCESSOPENGL, Address(&frame), instance), FF_SUCCESS);
    EXPECT_EQ(window.TakeError(), 0u) << "OpenGL error after the frame";
    return window.ReadPixels();
  }

  PluginLoader plugin;
  WglWindow window;
  FFInstanceID instance = 0;
};

struct PictureCase {
  const char* what;
  int width;
  int height;
  PatternParams params;
};

PatternParams With(void (*change)(PatternParams&)) {
  PatternParams params;
  change(params);
  return params;
}

// Targets larger and smaller than the 64 x 48 window, none of its shape.
const PictureCase kPictures[] = {
    {"defaults", 160, 96, PatternParams{}},
    {"odd size, size 0.7", 97, 61, With([](PatternParams& p) { p.size = 0.7f; })},
    {"soft edges, vortex", 120, 200, With([](PatternParams& p) {
       p.linesSoftness = 0.3f;
       p.circlesSoftness = 0.25f;
       p.vortexFrequency = 0.8f;
     })},
    {"linear scale, alpha mode", 33, 21, With([](PatternParams& p) {
       p.linearScale = 1;
       p.size = 0.33f;
       p.alphaMode = 1.0f;
     })},
};

TEST_F(RenderTest, PicturesMatchTheReference) {
  for (const PictureCase& c : kPictures) {
    SCOPED_TRACE(c.what);
    Start(c.width, c.height);
    Apply(c.params, 0.0f, 0.0f);
    const std::vector<uint8_t> pixels = Draw();
    const PictureDifference d =
        CompareWithReference(c.params, pixels.data(), c.width, c.height, kTolerance);
    EXPECT_LE(d.beyond, static_cast<int>(kEdgeShare * c.width * c.height))
        << "worst difference " << d.worst << ", " << d.beyond << " of " << c.width * c.height
        << " pixels beyond " << kTolerance << "; first at (" << d.firstX << ", " << d.firstY
        << ") grey " << d.firstGot << ", wanted " << d.firstWanted << ", on " << window.Renderer();
    Call(FF_DEINSTANTIATEGL, Value(0), instance);
    instance = 0;
  }
}

// The phases run on the performance counter: with a speed set, time passing moves the picture.
TEST_F(RenderTest, PictureMovesWithTheCounter) {
  Start(96, 96);
  PatternParams params;
  params.linesSoftness = 0.3f;
  Apply(params, 0.0f, 0.0f);
  const std::vector<uint8_t> still = Draw();
  Apply(params, 1.0f, 0.5f);
  std::vector<uint8_t> moved = still;
  for (int attempt = 0; attempt < 50 && moved == still; ++attempt) {
    Sleep(20);
    moved = Draw();
  }
  EXPECT_NE(moved, still) << "the picture did not move in a second of frames";
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  g_dllPath = argc > 1 ? argv[1] : PluginLoader::DefaultPath();
  return RUN_ALL_TESTS();
}
