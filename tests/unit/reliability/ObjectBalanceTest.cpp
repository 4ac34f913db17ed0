// Whatever a host does between instantiate and deinstantiate, every OpenGL object the plugin
// made is deleted once by the end, and none it did not make.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PluginHost.h"

namespace {

// One frame: the inputs it passes (an all-zero one is a null entry).
using FrameInputs = std::vector<Input>;

struct Scenario {
  const char* name;
  // Set up the world before the instances are made (null for none).
  void (*world)(RecordingGL& gl);
  size_t instances;
  std::vector<FrameInputs> frames;  // played on every instance in turn
  bool makesCopies;                 // textures must have been made, or the case proves nothing
};

const Input kNull{0, 0, 0, 0, 0};

const Scenario kScenarios[] = {
    {"sizes_change_every_frame",
     nullptr,
     1,
     {{Input{64, 64, 64, 64}},
      {Input{32, 64, 64, 64}},
      {Input{320, 240, 512, 256}},
      {Input{320, 240, 512, 256}, Input{8, 8, 8, 8}},
      {Input{1, 1, 1, 1}, Input{9, 8, 16, 8}}},
     true},
    {"inputs_come_and_go",
     nullptr,
     1,
     {{Input{64, 64, 64, 64}, Input{64, 64, 64, 64}},
      {},
      {kNull, Input{64, 64, 64, 64}},
      {Input{16, 16, 16, 16}},
      {kNull, kNull},
      {Input{64, 64, 64, 64}, Input{65, 64, 128, 64}}},
     true},
    {"three_instances_interleaved",
     nullptr,
     3,
     {{Input{64, 64, 64, 64}}, {Input{10, 10, 16, 16}, Input{20, 20, 32, 32}}},
     true},
    {"zero_and_huge_sizes",
     nullptr,
     1,
     {{Input{0, 0, 64, 64}},
      {Input{0x80000000u, 1, 0xFFFFFFFFu, 1}},
      {Input{64, 0, 64, 0}},
      {Input{5, 5, 5, 5}}},
     true},
    {"program_does_not_compile",
     [](RecordingGL& gl) {
       gl.SetCompileStatus(GL_FRAGMENT_SHADER_ARB, 0);
       gl.SetCompileStatus(GL_VERTEX_SHADER_ARB, 0);
     },
     2,
     {{Input{64, 64, 64, 64}}},
     false},
    {"program_does_not_link",
     [](RecordingGL& gl) { gl.SetLinkStatus(0); },
     1,
     {{Input{64, 64, 64, 64}}},
     false},
    {"no_framebuffer_objects",
     [](RecordingGL& gl) { gl.MakeMissing("glGenFramebuffersEXT"); },
     1,
     {{Input{64, 64, 64, 64}}, {Input{32, 32, 32, 32}}},
     false},
    {"no_shader_objects",
     [](RecordingGL& gl) { gl.MakeMissing("glGetShaderSourceARB"); },
     1,
     {{Input{64, 64, 64, 64}}},
     false},
    {"program_creation_fails",
     [](RecordingGL& gl) { gl.QueueObjectNames(GLObjectKind::Program, {0}); },
     1,
     {{Input{64, 64, 64, 64}}},
     false},
    {"first_texture_creation_fails",
     [](RecordingGL& gl) { gl.QueueObjectNames(GLObjectKind::Texture, {0}); },
     1,
     {{Input{64, 64, 64, 64}}, {Input{64, 64, 64, 64}}, {Input{32, 64, 64, 64}}},
     true},
};

class ObjectBalance : public PluginHost, public ::testing::WithParamInterface<size_t> {};

TEST_P(ObjectBalance, NothingThePluginMadeOutlivesItsInstances) {
  const Scenario& scenario = kScenarios[GetParam()];
  if (scenario.world != nullptr) scenario.world(gl);

  std::vector<FFInstanceID> ids;
  for (size_t i = 0; i < scenario.instances; ++i) {
    const FFInstanceID id = Instantiate();
    if (id != 0) ids.push_back(id);
  }
  for (const FrameInputs& inputs : scenario.frames) {
    for (FFInstanceID id : ids) EXPECT_EQ(Frame(id, inputs), 0u);
  }
  // Code 2 between the frames and the end must not matter.
  CallValue(FF_DEINITIALISE, 0, 0);
  for (FFInstanceID id : ids) EXPECT_EQ(Deinstantiate(id), 0u);

  if (scenario.makesCopies) {
    EXPECT_GT(gl.Created(GLObjectKind::Texture), 0u) << "no copy was made: the case is vacuous";
    EXPECT_GT(gl.Created(GLObjectKind::Framebuffer), 0u);
  }
  EXPECT_EQ(LiveObjects(), std::vector<std::string>{}) << scenario.name;
  EXPECT_EQ(gl.StrayDeletes(), 0u) << scenario.name << ": deleted twice or never made";
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ObjectBalance,
                         ::testing::Range<size_t>(0, sizeof kScenarios / sizeof kScenarios[0]),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           return std::string(kScenarios[info.param].name);
                         });

// A long run of changing sizes keeps at most one copy per input and one framebuffer alive.
TEST_F(PluginHost, ChangingSizesKeepOneCopyPerInput) {
  const FFInstanceID id = Instantiate();
  ASSERT_NE(id, 0u);
  for (uint32_t frame = 0; frame < 200; ++frame) {
    const uint32_t width = 1 + frame % 7;
    ASSERT_EQ(Frame(id, {Input{width, 4, 8, 8}, Input{4, width, 8, 8}}), 0u);
    ASSERT_LE(gl.Live(GLObjectKind::Texture), 2u) << "frame " << frame;
    ASSERT_EQ(gl.Live(GLObjectKind::Framebuffer), 1u) << "frame " << frame;
  }
  EXPECT_EQ(Deinstantiate(id), 0u);
  EXPECT_EQ(LiveObjects(), std::vector<std::string>{});
}

}  // namespace
