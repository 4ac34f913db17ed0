// Every misuse a host can commit within the interface: each gets its answer, the process lives,
// the instance's next frame draws its quad, and nothing the plugin made outlives the instance.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "PluginHost.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr FFResult kAnyIdentifier = FF_FAIL - 1;  // a new identifier; not FF_FAIL on 32-bit

struct Misuse {
  const char* name;
  // Commits the misuse on the live instance id; answers what plugMain answered.
  FFResult (*act)(PluginHost& host, FFInstanceID id);
  FFResult answer;
  // A call the misuse must not lead to (null for none).
  const char* forbiddenCall = nullptr;
};

ParameterPair Pair(uint32_t index, float value) {
  ParameterPair pair{};
  pair.index = index;
  pair.value.UIntValue = Bits(value);
  return pair;
}

const ProcessFrameRecord kNoInputs{0, nullptr, 0};
const double kTime = 12.5;
const char kText[] = "a text where a float belongs";

const Misuse kCases[] = {
    // Identifier 0 on every code that needs an instance.
    {"display_without_instance",
     [](PluginHost&, FFInstanceID) { return CallValue(FF_GETPARAMETERDISPLAY, 0, 0); }, FF_FAIL},
    {"set_without_instance",
     [](PluginHost&, FFInstanceID) {
       const ParameterPair pair = Pair(0, 0.5f);
       return CallRecord(FF_SETPARAMETER, &pair, 0);
     },
     FF_FAIL},
    {"get_without_instance",
     [](PluginHost&, FFInstanceID) { return CallValue(FF_GETPARAMETER, 0, 0); }, FF_FAIL},
    {"input_status_without_instance",
     [](PluginHost&, FFInstanceID) { return CallValue(FF_GETINPUTSTATUS, 0, 0); }, FF_FAIL},
    {"frame_without_instance",
     [](PluginHost&, FFInstanceID) { return CallRecord(FF_PROCESSOPENGL, &kNoInputs, 0); }, FF_FAIL,
     "glBegin"},
    {"deinstantiate_without_instance",
     [](PluginHost&, FFInstanceID) { return CallValue(FF_DEINSTANTIATEGL, 0, 0); }, FF_FAIL,
     "glDeleteObjectARB"},
    {"time_without_instance",
     [](PluginHost&, FFInstanceID) { return CallRecord(FF_SETTIME, &kTime, 0); }, FF_FAIL},

    // Null records.
    {"null_parameter_pair",
     [](PluginHost&, FFInstanceID id) { return CallRecord(FF_SETPARAMETER, nullptr, id); },
     FF_FAIL},
    {"null_frame_record",
     [](PluginHost&, FFInstanceID id) { return CallRecord(FF_PROCESSOPENGL, nullptr, id); },
     FF_FAIL, "glBegin"},
    {"null_time", [](PluginHost&, FFInstanceID id) { return CallRecord(FF_SETTIME, nullptr, id); },
     FF_FAIL},
    {"null_viewport",
     [](PluginHost&, FFInstanceID) { return CallRecord(FF_INSTANTIATEGL, nullptr, 0); }, FF_FAIL,
     "glCreateProgramObjectARB"},
    {"host_time_not_taken",
     [](PluginHost&, FFInstanceID id) { return CallRecord(FF_SETTIME, &kTime, id); }, FF_FAIL},

    // Indices nobody declared.
    {"name_of_undeclared_index",
     [](PluginHost&, FFInstanceID) { return CallValue(FF_GETPARAMETERNAME, 11, 0); }, 0},
    {"name_of_largest_index",
     [](PluginHost&, FFInstanceID) { return CallValue(FF_GETPARAMETERNAME, 0xFFFFFFFFu, 0); }, 0},
    {"default_of_undeclared_index",
     [](PluginHost&, FFInstanceID) { return CallValue(FF_GETPARAMETERDEFAULT, 11, 0); }, FF_FAIL},
    {"type_of_undeclared_index",
     [](PluginHost&, FFInstanceID) { return CallValue(FF_GETPARAMETERTYPE, 11, 0); }, FF_FAIL},
    {"display_of_undeclared_index",
     [](PluginHost&, FFInstanceID id) { return CallValue(FF_GETPARAMETERDISPLAY, 11, id); }, 0},
    {"set_undeclared_index",
     [](PluginHost&, FFInstanceID id) {
       const ParameterPair pair = Pair(11, 0.5f);
       return CallRecord(FF_SETPARAMETER, &pair, id);
     },
     FF_FAIL},
    {"set_largest_index",
     [](PluginHost&, FFInstanceID id) {
       const ParameterPair pair = Pair(0xFFFFFFFFu, 0.5f);
       return CallRecord(FF_SETPARAMETER, &pair, id);
     },
     FF_FAIL},
    {"get_undeclared_index",
     [](PluginHost&, FFInstanceID id) { return CallValue(FF_GETPARAMETER, 11, id); }, Bits(-1.0f)},
    {"status_of_input_2",
     [](PluginHost&, FFInstanceID id) { return CallValue(FF_GETINPUTSTATUS, 2, id); }, FF_FAIL},
    {"status_of_largest_input",
     [](PluginHost&, FFInstanceID id) { return CallValue(FF_GETINPUTSTATUS, 0xFFFFFFFFu, id); },
     FF_FAIL},
    {"unknown_capability",
     [](PluginHost&, FFInstanceID) { return CallValue(FF_GETPLUGINCAPS, 0xFFFFFFFFu, 0); }, 0},

    // Codes the interface does not handle.
    {"code_3", [](PluginHost&, FFInstanceID id) { return CallValue(3, 0, id); }, FF_FAIL},
    {"code_11", [](PluginHost&, FFInstanceID id) { return CallValue(11, 0, id); }, FF_FAIL},
    {"code_12", [](PluginHost&, FFInstanceID id) { return CallValue(12, 0, id); }, FF_FAIL},
    {"code_14", [](PluginHost&, FFInstanceID id) { return CallValue(14, 0, id); }, FF_FAIL},
    {"code_21", [](PluginHost&, FFInstanceID id) { return CallValue(21, 0, id); }, FF_FAIL},
    {"largest_code", [](PluginHost&, FFInstanceID id) { return CallValue(0xFFFFFFFFu, 0, id); },
     FF_FAIL},

    // Values no slider sends.
    {"nan_speed", [](PluginHost& host, FFInstanceID id) { return host.SetFloat(id, 0, kNaN); }, 0},
    {"infinite_size", [](PluginHost& host, FFInstanceID id) { return host.SetFloat(id, 5, kInf); },
     0},
    {"negative_infinite_alpha",
     [](PluginHost& host, FFInstanceID id) { return host.SetFloat(id, 8, -kInf); }, 0},
    {"nan_switch", [](PluginHost& host, FFInstanceID id) { return host.SetFloat(id, 9, kNaN); }, 0},
    {"infinite_switch",
     [](PluginHost& host, FFInstanceID id) { return host.SetFloat(id, 10, kInf); }, 0},
    {"huge_negative_switch",
     [](PluginHost& host, FFInstanceID id) { return host.SetFloat(id, 10, -3e38f); }, 0},
    {"denormal_frequency",
     [](PluginHost& host, FFInstanceID id) {
       return host.SetFloat(id, 2, std::numeric_limits<float>::denorm_min());
     },
     0},
    {"text_on_float_parameter",
     [](PluginHost&, FFInstanceID id) {
       ParameterPair pair{};
       pair.index = 3;
       pair.value.PointerValue = const_cast<char*>(kText);
       return CallRecord(FF_SETPARAMETER, &pair, id);
     },
     0},

    // Frame records that break or stretch their contract.
    {"inputs_without_array",
     [](PluginHost&, FFInstanceID id) {
       const ProcessFrameRecord frame{2, nullptr, 0};
       return CallRecord(FF_PROCESSOPENGL, &frame, id);
     },
     0, "glTexImage2D"},
    {"null_input_entries",
     [](PluginHost& host, FFInstanceID id) {
       return host.Frame(id, {Input{0, 0, 0, 0, 0}, Input{0, 0, 0, 0, 0}});
     },
     0, "glTexImage2D"},
    {"zero_hardware_width",
     [](PluginHost& host, FFInstanceID id) {
       return host.Frame(id, {Input{64, 64, 0, 64}});
     },
     0, "glTexImage2D"},
    {"zero_hardware_height",
     [](PluginHost& host, FFInstanceID id) {
       return host.Frame(id, {Input{64, 64, 64, 0}, Input{64, 64, 64, 0}});
     },
     0, "glTexImage2D"},
    {"hardware_below_picture",
     [](PluginHost& host, FFInstanceID id) {
       return host.Frame(id, {Input{320, 240, 16, 16}});
     },
     0},
    {"zero_picture",
     [](PluginHost& host, FFInstanceID id) {
       return host.Frame(id, {Input{0, 0, 64, 64}});
     },
     0},
    {"picture_2_to_31_wide",
     [](PluginHost& host, FFInstanceID id) {
       return host.Frame(id, {Input{0x80000000u, 1, 0xFFFFFFFFu, 1}});
     },
     0, "glTexImage2D"},
    // Mesa's glTexImage2D smashes its stack on a side of 2^25 instead of refusing it.
    {"picture_2_to_25_high",
     [](PluginHost& host, FFInstanceID id) {
       return host.Frame(id, {Input{32, 33554432u, 64, 64}, Input{65537, 1, 65537, 1}});
     },
     0, "glTexImage2D"},
    {"zero_viewport",
     [](PluginHost& host, FFInstanceID id) {
       host.gl.SetViewport(0, 0, 0, 0);
       return host.Frame(id);
     },
     0},
    {"viewport_2_to_31_wide",
     [](PluginHost& host, FFInstanceID id) {
       host.gl.SetFloats(GL_VIEWPORT, {0.0f, 0.0f, 2147483648.0f, 64.0f});
       return host.Frame(id, {Input{32, 32, 32, 32}});
     },
     0},
    {"nan_viewport",
     [](PluginHost& host, FFInstanceID id) {
       host.gl.SetFloats(GL_VIEWPORT, {kNaN, kNaN, kNaN, -kInf});
       return host.Frame(id);
     },
     0},

    // Instances made and the query instance dropped around a live one.
    {"instantiate_zero_viewport",
     [](PluginHost& host, FFInstanceID) {
       const FFInstanceID made = host.Instantiate(0, 0);
       return made == 0 ? FF_FAIL : kAnyIdentifier;
     },
     kAnyIdentifier},
    {"instantiate_2_to_31_wide",
     [](PluginHost& host, FFInstanceID) {
       const FFInstanceID made = host.Instantiate(0x80000000u, 0xFFFFFFFFu);
       return made == 0 ? FF_FAIL : kAnyIdentifier;
     },
     kAnyIdentifier},
    {"deinitialise_under_live_instance",
     [](PluginHost&, FFInstanceID) { return CallValue(FF_DEINITIALISE, 0, 0); }, 0},
    {"deinitialise_twice",
     [](PluginHost&, FFInstanceID) {
       CallValue(FF_DEINITIALISE, 0, 0);
       return CallValue(FF_DEINITIALISE, 0, 0);
     },
     0},
};

class BadHostInput : public PluginHost, public ::testing::WithParamInterface<size_t> {};

TEST_P(BadHostInput, IsAnsweredAndTheNextFrameDraws) {
  const Misuse& misuse = kCases[GetParam()];
  const FFInstanceID id = Instantiate();
  ASSERT_NE(id, 0u) << "code 18 refused a 64 x 64 viewport";
  ASSERT_EQ(Frame(id, {Input{64, 64, 64, 64}}), 0u) << "a first frame with an input";
  gl.ClearCalls();

  const FFResult answer = misuse.act(*this, id);
  if (misuse.answer == kAnyIdentifier) {
    EXPECT_NE(answer, FF_FAIL) << misuse.name << ": expected a new identifier";
  } else {
    EXPECT_EQ(answer, misuse.answer) << misuse.name << " answered 0x" << std::hex << answer;
  }
  if (misuse.forbiddenCall != nullptr) {
    EXPECT_EQ(Count(misuse.forbiddenCall), 0u)
        << misuse.name << " led to " << misuse.forbiddenCall << ":\n"
        << gl.Transcript();
  }

  gl.SetViewport(0, 0, 64, 64);
  gl.ClearCalls();
  EXPECT_EQ(Frame(id), 0u) << "the frame after " << misuse.name;
  EXPECT_EQ(Count("glBegin"), 1u) << "the frame after " << misuse.name << ":\n" << gl.Transcript();
  EXPECT_EQ(Count("glEnd"), 1u) << "the frame after " << misuse.name;

  EXPECT_EQ(Deinstantiate(id), 0u);
  TearDown();
  EXPECT_EQ(LiveObjects(), std::vector<std::string>{}) << "left behind after " << misuse.name;
  EXPECT_EQ(gl.StrayDeletes(), 0u) << "objects deleted twice or never made after " << misuse.name;
}

INSTANTIATE_TEST_SUITE_P(Misuses, BadHostInput,
                         ::testing::Range<size_t>(0, sizeof kCases / sizeof kCases[0]),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           return std::string(kCases[info.param].name);
                         });

// Values no slider sends are stored or read back without undefined conversions.
struct StoredValue {
  uint32_t index;
  float sent;
  float readBack;  // NaN: reads back NaN
};

const StoredValue kStoredValues[] = {
    {0, kNaN, kNaN},
    {5, kInf, kInf},
    {8, -kInf, -kInf},
    {9, kNaN, 0.0f},                       // a switch has no NaN: off
    {9, kInf, 2147483648.0f},              // saturates at the largest int
    {10, -kInf, -2147483648.0f},           // and the smallest
    {10, 2147483648.0f, 2147483648.0f},    // just past the largest int
    {10, -2147483904.0f, -2147483648.0f},  // just past the smallest
};

TEST_F(PluginHost, OutOfRangeValuesReadBackWithoutUndefinedConversions) {
  const FFInstanceID id = Instantiate();
  ASSERT_NE(id, 0u);
  for (const StoredValue& value : kStoredValues) {
    ASSERT_EQ(SetFloat(id, value.index, value.sent), 0u) << "index " << value.index;
    const FFResult bits = CallValue(FF_GETPARAMETER, value.index, id);
    float read = 0.0f;
    const uint32_t low = static_cast<uint32_t>(bits);
    std::memcpy(&read, &low, sizeof read);
    if (std::isnan(value.readBack)) {
      EXPECT_TRUE(std::isnan(read)) << "index " << value.index << " read back " << read;
    } else {
      EXPECT_EQ(read, value.readBack) << "index " << value.index << " sent " << value.sent;
    }
    gl.ClearCalls();
    EXPECT_EQ(Frame(id), 0u);
    EXPECT_EQ(Count("glEnd"), 1u) << "after index " << value.index << " = " << value.sent;
  }
}

TEST_F(PluginHost, ViewportTwoToThe31WideReachesTheProgramAsAPositiveWidth) {
  const FFInstanceID id = Instantiate(0x80000000u, 64);
  ASSERT_NE(id, 0u);
  gl.SetFloats(GL_VIEWPORT, {0.0f, 0.0f, 2147483648.0f, 64.0f});
  gl.ClearCalls();
  ASSERT_EQ(Frame(id), 0u);
  const std::vector<GLCall> uploads = gl.CallsNamed("glUniform2fARB");
  ASSERT_EQ(uploads.size(), 1u) << gl.Transcript();
  EXPECT_EQ(uploads[0].args, (std::vector<GLArg>{3, 2147483648.0f, 64.0f}));
}

}  // namespace

// The display text of any float a host can store fits the shared buffer, whole.
struct DisplayedValue {
  float value;
  const char* text;
};

const DisplayedValue kDisplayedValues[] = {
    {std::numeric_limits<float>::lowest(), "-340282346638528859811704183484516925440.000000"},
    {std::numeric_limits<float>::max(), "340282346638528859811704183484516925440.000000"},
    {kInf, "inf"},
    {-kInf, "-inf"},
    {std::numeric_limits<float>::denorm_min(), "0.000000"},
    {-0.0f, "-0.000000"},
};

TEST_F(PluginHost, DisplayOfExtremeValuesIsWholeAndTerminated) {
  const FFInstanceID id = Instantiate();
  ASSERT_NE(id, 0u);
  for (const DisplayedValue& shown : kDisplayedValues) {
    ASSERT_EQ(SetFloat(id, 4, shown.value), 0u);
    const FFResult text = CallValue(FF_GETPARAMETERDISPLAY, 4, id);
    ASSERT_NE(text, 0u) << shown.text;
    ASSERT_NE(text, FF_FAIL) << shown.text;
    EXPECT_STREQ(reinterpret_cast<const char*>(text), shown.text);
  }
}
