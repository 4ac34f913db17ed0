// On a real context, every object name the plugin made is no longer an object after code 19.
// The names are found by asking the context which small names are objects of each kind before,
// during and after an instance's life.
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "EglContext.h"
#include "effect/Vantorel.h"
#include "host/FreeFrame.h"

namespace {

// A fresh context hands out small names; this bound covers many times what a test makes.
constexpr GLuint kHighestName = 512;

// Own convention, sampling both inputs: frames copy them into plugin textures.
constexpr char kSamplingSource[] =
    "uniform float time; uniform sampler2D tex0; uniform sampler2D tex1;"
    " void main() { vec2 p = gl_FragCoord.xy / 64.0;"
    " gl_FragColor = texture2D(tex0, p) * 0.5 + texture2D(tex1, p) * 0.5 + vec4(time * 0.0); }";
// mainImage convention: completed with declarations and a main.
constexpr char kMainImageSource[] =
    "void mainImage(out vec4 colour, in vec2 position) {"
    " colour = texture2D(iChannel0, position / iResolution.xy); }";

using IsObject = GLboolean(APIENTRYP)(GLuint);

struct Names {
  std::set<GLuint> textures, framebuffers, programs, shaders;
  bool operator==(const Names& other) const {
    return textures == other.textures && framebuffers == other.framebuffers &&
           programs == other.programs && shaders == other.shaders;
  }
};

std::string Describe(const Names& names) {
  std::string text;
  auto list = [&text](const char* label, const std::set<GLuint>& set) {
    text += label;
    for (GLuint name : set) text += " " + std::to_string(name);
    text += ";";
  };
  list(" textures", names.textures);
  list(" framebuffers", names.framebuffers);
  list(" programs", names.programs);
  list(" shaders", names.shaders);
  return text;
}

// What the instance's frames are given: input sizes per frame (0 x 0 is no input).
struct Case {
  const char* name;
  const char* source;  // null: the plugin's own pattern, as instantiated
  std::vector<std::vector<std::pair<uint32_t, uint32_t>>> frames;
  bool makesCopies;
};

const Case kCases[] = {
    {"pattern", nullptr, {{}, {{64, 64}}, {{32, 32}, {16, 16}}}, false},
    {"sampling_changing_sizes",
     kSamplingSource,
     {{{64, 64}, {64, 64}}, {{32, 64}, {64, 64}}, {{0, 0}, {17, 5}}, {{64, 64}, {1, 1}}, {}},
     true},
    {"main_image_inputs", kMainImageSource, {{{64, 64}}, {{48, 48}}, {{48, 48}, {8, 8}}}, true},
    // A picture no texture can hold is no input: Mesa crashes on a side of 2^25.
    {"picture_too_high_for_any_texture",
     kSamplingSource,
     {{{64, 64}, {32, 33554432}}, {{32, 2147483647}, {64, 64}}},
     true},
};

class ContextObjectBalance : public EglContextTest, public ::testing::WithParamInterface<size_t> {
 protected:
  void SetUp() override {
    EglContextTest::SetUp();
    if (HasFatalFailure()) return;
    isFramebuffer_ = reinterpret_cast<IsObject>(Host().ProcAddress("glIsFramebufferEXT"));
    isProgram_ = reinterpret_cast<IsObject>(Host().ProcAddress("glIsProgram"));
    isShader_ = reinterpret_cast<IsObject>(Host().ProcAddress("glIsShader"));
    ASSERT_TRUE(isFramebuffer_ && isProgram_ && isShader_)
        << "the context lacks glIsFramebufferEXT, glIsProgram or glIsShader";
    // Host textures: one whose picture fills it, one in a larger allocation.
    hostTextures_[0] = MakeTexture(64, 64);
    hostTextures_[1] = MakeTexture(128, 128);
  }

  void TearDown() override {
    glDeleteTextures(2, hostTextures_);
    EglContextTest::TearDown();
  }

  Names Snapshot() const {
    Names names;
    for (GLuint name = 1; name <= kHighestName; ++name) {
      if (glIsTexture(name)) names.textures.insert(name);
      if (isFramebuffer_(name)) names.framebuffers.insert(name);
      if (isProgram_(name)) names.programs.insert(name);
      if (isShader_(name)) names.shaders.insert(name);
    }
    return names;
  }

  FFResult Frame(FFInstanceID id, const std::vector<std::pair<uint32_t, uint32_t>>& sizes) {
    std::vector<TextureRecord> records;
    std::vector<TextureRecord*> entries;
    records.reserve(sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
      const auto [width, height] = sizes[i];
      const uint32_t allocation = i == 0 ? 64u : 128u;
      records.push_back(TextureRecord{width, height, allocation, allocation, hostTextures_[i]});
      entries.push_back(width == 0 && height == 0 ? nullptr : &records.back());
    }
    const ProcessFrameRecord frame{static_cast<uint32_t>(entries.size()),
                                   entries.empty() ? nullptr : entries.data(),
                                   Host().Framebuffer()};
    Host().BindTarget();
    FFMixed input;
    input.PointerValue = const_cast<ProcessFrameRecord*>(&frame);
    return plugMain(FF_PROCESSOPENGL, input, id);
  }

 private:
  static GLuint MakeTexture(int width, int height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4, 200);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
  }

  IsObject isFramebuffer_ = nullptr;
  IsObject isProgram_ = nullptr;
  IsObject isShader_ = nullptr;
  GLuint hostTextures_[2] = {0, 0};
};

TEST_P(ContextObjectBalance, NamesThePluginMadeAreNoObjectsAfterDeinstantiate) {
  const Case& test = kCases[GetParam()];
  const Names before = Snapshot();

  const ViewportRecord viewport{0, 0, 64, 64};
  FFMixed input;
  input.PointerValue = const_cast<ViewportRecord*>(&viewport);
  const FFResult id = plugMain(FF_INSTANTIATEGL, input, 0);
  ASSERT_NE(id, FF_FAIL) << "code 18 failed on the real context";
  if (test.source != nullptr) {
    // A program that samples its inputs, prepared as StartGL prepares the pattern.
    auto* instance = static_cast<Vantorel*>(reinterpret_cast<CFreeFrameGLPlugin*>(id));
    instance->shaderReady = instance->prepareShader(test.source);
    ASSERT_TRUE(instance->shaderReady) << test.name << ": the sampling program did not compile";
  }
  for (const auto& sizes : test.frames) EXPECT_EQ(Frame(id, sizes), 0u);

  const Names during = Snapshot();
  EXPECT_GT(during.programs.size(), before.programs.size())
      << "no program found: " << Describe(during);
  EXPECT_GT(during.shaders.size(), before.shaders.size()) << Describe(during);
  if (test.makesCopies) {
    EXPECT_GT(during.textures.size(), before.textures.size()) << "no copy texture found";
    EXPECT_GT(during.framebuffers.size(), before.framebuffers.size()) << "no copy framebuffer";
  }

  TakeGlError();
  EXPECT_EQ(plugMain(FF_DEINSTANTIATEGL, FFMixed{}, id), 0u);
  plugMain(FF_DEINITIALISE, FFMixed{}, 0);
  const Names after = Snapshot();
  EXPECT_TRUE(after == before) << test.name << "\nbefore:" << Describe(before)
                               << "\nafter: " << Describe(after);
  EXPECT_EQ(TakeGlError(), 0u) << "deinstantiate raised an OpenGL error";
}

INSTANTIATE_TEST_SUITE_P(Lives, ContextObjectBalance,
                         ::testing::Range<size_t>(0, sizeof kCases / sizeof kCases[0]),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           return std::string(kCases[info.param].name);
                         });

}  // namespace
