// A mainImage program that samples iChannel0, fed a padded host input on a real context.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "EglContext.h"
#include "effect/Vantorel.h"
#include "gl/OpenGL.h"

namespace {

constexpr int kPictureWidth = 320;
constexpr int kPictureHeight = 240;
constexpr int kAllocationWidth = 512;
constexpr int kAllocationHeight = 256;
// Blue marks the picture; the padding is pure blue-255 magenta.
constexpr uint8_t kPictureBlue = 64;

const char kSampler[] =
    "void mainImage(out vec4 fragColor, in vec2 fragCoord) {\n"
    "  fragColor = texture2D(iChannel0, fragCoord / iResolution.xy);\n"
    "}\n";

// Picture texel (x, y): red and green ramps over the picture, blue the picture mark.
std::vector<uint8_t> PictureTexel(int x, int y) {
  return {static_cast<uint8_t>(x * 255 / (kPictureWidth - 1)),
          static_cast<uint8_t>(y * 255 / (kPictureHeight - 1)), kPictureBlue, 255};
}

class InputCopyPictureTest : public EglContextTest {
 protected:
  int TargetWidth() const override { return 200; }
  int TargetHeight() const override { return 150; }

  void TearDown() override {
    plugin_.StopGL();
    if (input_ != 0) glDeleteTextures(1, &input_);
    EglContextTest::TearDown();
  }

  // The host's input: the picture at the origin of a larger allocation, padding around it.
  void MakeInput() {
    std::vector<uint8_t> texels(static_cast<size_t>(kAllocationWidth) * kAllocationHeight * 4);
    for (int y = 0; y < kAllocationHeight; ++y) {
      for (int x = 0; x < kAllocationWidth; ++x) {
        uint8_t* texel = &texels[(static_cast<size_t>(y) * kAllocationWidth + x) * 4];
        const bool inside = x < kPictureWidth && y < kPictureHeight;
        const std::vector<uint8_t> value =
            inside ? PictureTexel(x, y) : std::vector<uint8_t>{255, 0, 255, 255};
        for (int c = 0; c < 4; ++c) texel[c] = value[c];
      }
    }
    glGenTextures(1, &input_);
    glBindTexture(GL_TEXTURE_2D, input_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kAllocationWidth, kAllocationHeight, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    record_ =
        TextureRecord{kPictureWidth, kPictureHeight, kAllocationWidth, kAllocationHeight, input_};
  }

  void Prepare() {
    const ViewportRecord viewport{0, 0, static_cast<uint32_t>(TargetWidth()),
                                  static_cast<uint32_t>(TargetHeight())};
    ASSERT_EQ(plugin_.StartGL(&viewport), 0) << "StartGL failed on " << Host().Renderer();
    ASSERT_TRUE(plugin_.prepareShader(kSampler)) << "the mainImage program did not build";
    // A second preparation attaches the same shader objects again, which OpenGL refuses.
    TakeGlError();
    ASSERT_GE(plugin_.uniforms.channel0, 0) << "iChannel0 not found";
    MakeInput();
  }

  // One frame with the input at the given host viewport; answers the viewport after it.
  std::vector<GLint> DrawAt(const std::vector<GLint>& viewport) {
    Host().BindTarget();
    Host().Clear(0.0f, 0.0f, 0.0f, 1.0f);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    TextureRecord* inputs[1] = {&record_};
    const ProcessFrameRecord frame{1, inputs, Host().Framebuffer()};
    EXPECT_EQ(plugin_.DrawFrame(&frame), 0);
    EXPECT_EQ(TakeGlError(), 0u) << "OpenGL error after the frame";
    std::vector<GLint> after(4, -1);
    glGetIntegerv(GL_VIEWPORT, after.data());
    return after;
  }

  // The copy texture's size and texels, read straight from it.
  void ExpectCopyHoldsThePicture() {
    const GLuint copy = plugin_.copyTextures[0];
    ASSERT_NE(copy, 0u) << "no copy was made";
    glBindTexture(GL_TEXTURE_2D, copy);
    GLint width = 0;
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, kPictureWidth);
    EXPECT_EQ(height, kPictureHeight);
    ASSERT_EQ(width * height, kPictureWidth * kPictureHeight);
    std::vector<uint8_t> texels(static_cast<size_t>(width) * height * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    int wrong = 0;
    std::string first;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const uint8_t* got = &texels[(static_cast<size_t>(y) * width + x) * 4];
        const std::vector<uint8_t> wanted = PictureTexel(x, y);
        for (int c = 0; c < 4; ++c) {
          if (std::abs(got[c] - wanted[c]) > 1) {
            if (wrong++ == 0) {
              first = "texel (" + std::to_string(x) + ", " + std::to_string(y) + ") channel " +
                      std::to_string(c) + " is " + std::to_string(got[c]) + ", wanted " +
                      std::to_string(wanted[c]);
            }
            break;
          }
        }
      }
    }
    EXPECT_EQ(wrong, 0) << wrong << " copy texels differ from the picture; first " << first;
  }

  Vantorel plugin_;
  GLuint input_ = 0;
  TextureRecord record_{};
};

TEST_F(InputCopyPictureTest, CopyIsThePictureWhateverTheHostViewport) {
  Prepare();
  const std::vector<GLint> kViewports[] = {
      {0, 0, TargetWidth(), TargetHeight()}, {7, 9, 150, 100}, {0, 0, 640, 480}};
  for (const std::vector<GLint>& viewport : kViewports) {
    SCOPED_TRACE("host viewport " + std::to_string(viewport[0]) + ", " +
                 std::to_string(viewport[1]) + ", " + std::to_string(viewport[2]) + " x " +
                 std::to_string(viewport[3]));
    // A fresh copy each time: the old one goes with a new preparation.
    ASSERT_TRUE(plugin_.prepareShader(kSampler));
    TakeGlError();
    EXPECT_EQ(DrawAt(viewport), viewport) << "the host's viewport was not restored";
    ExpectCopyHoldsThePicture();
    EXPECT_EQ(plugin_.viewportWidth, static_cast<float>(viewport[2]));
  }
}

TEST_F(InputCopyPictureTest, ProgramSeesThePictureAndNoPadding) {
  Prepare();
  DrawAt({0, 0, TargetWidth(), TargetHeight()});
  const std::vector<uint8_t> pixels = Host().ReadPixels();
  const int width = TargetWidth();
  const int height = TargetHeight();
  ASSERT_EQ(pixels.size(), static_cast<size_t>(width) * height * 4);
  int padding = 0;
  int off = 0;
  std::string first;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* got = &pixels[(static_cast<size_t>(y) * width + x) * 4];
      if (got[2] != kPictureBlue) ++padding;
      // Where the fragment's coordinate lands in the picture, filtered linearly between texels.
      const double u = (x + 0.5) / width * kPictureWidth - 0.5;
      const double v = (y + 0.5) / height * kPictureHeight - 0.5;
      const double red =
          std::min(std::max(u, 0.0), kPictureWidth - 1.0) * 255 / (kPictureWidth - 1);
      const double green =
          std::min(std::max(v, 0.0), kPictureHeight - 1.0) * 255 / (kPictureHeight - 1);
      if (std::abs(got[0] - red) > 2.5 || std::abs(got[1] - green) > 2.5) {
        if (off++ == 0) {
          first = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                  std::to_string(got[0]) + ", " + std::to_string(got[1]) + ", wanted about " +
                  std::to_string(red) + ", " + std::to_string(green);
        }
      }
    }
  }
  EXPECT_EQ(padding, 0) << "pixels without the picture's mark: the program saw the padding";
  EXPECT_EQ(off, 0) << off << " pixels sample the wrong place; first " << first;
  EXPECT_EQ(plugin_.channelResolution[0][0], 320.0f);
  EXPECT_EQ(plugin_.channelResolution[0][1], 240.0f);
}

}  // namespace
