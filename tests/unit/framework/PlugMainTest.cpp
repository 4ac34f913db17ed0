// Drives plugMain as a host would, with the probe plugin registered in this program.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "CountingAllocator.h"
#include "ProbePlugin.h"
#include "host/FreeFrame.h"

namespace {

// Float bits as the host sends and reads them.
uint32_t Bits(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// An input word whose bits above the low 32 are set, so a read of the whole word shows.
FFMixed Value(uint32_t value) {
  FFMixed input;
  input.PointerValue = reinterpret_cast<void*>(~uintptr_t{0});
  input.UIntValue = value;
  return input;
}

FFMixed AddressOf(const void* record) {
  FFMixed input;
  input.PointerValue = const_cast<void*>(record);
  return input;
}

FFResult Call(uint32_t code, uint32_t value = 0, FFInstanceID id = 0) {
  return plugMain(code, Value(value), id);
}

FFResult CallWith(uint32_t code, const void* record, FFInstanceID id = 0) {
  return plugMain(code, AddressOf(record), id);
}

const char* AsText(FFResult answer) {
  return reinterpret_cast<const char*>(answer);
}

std::string Joined(const std::vector<std::string>& calls) {
  std::string joined;
  for (const std::string& call : calls) joined += "[" + call + "]";
  return joined;
}

class PlugMainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plugMain(FF_DEINITIALISE, Value(0), 0);
    probe = ProbeControl{};
    baselineBlocks = counting_allocator::LiveBlocks();
  }

  void TearDown() override {
    counting_allocator::StopFailing();
    for (FFInstanceID id : instances) Call(FF_DEINSTANTIATEGL, 0, id);
    Call(FF_DEINITIALISE);
    EXPECT_EQ(probe.live, 0) << "plugin objects left alive";
    EXPECT_EQ(counting_allocator::LiveBlocks(), baselineBlocks) << "blocks leaked";
  }

  // A live instance made through code 18; deinstantiated by TearDown.
  FFInstanceID Instantiate() {
    const FFResult id = CallWith(FF_INSTANTIATEGL, &viewport);
    EXPECT_NE(id, FF_FAIL) << "code 18 failed";
    EXPECT_NE(id, 0u);
    if (id != FF_FAIL && id != 0) instances.push_back(id);
    return id == FF_FAIL ? 0 : id;
  }

  FFResult SetFloat(FFInstanceID id, uint32_t index, float value) {
    ParameterPair pair{};
    pair.index = index;
    pair.value.PointerValue = nullptr;
    pair.value.UIntValue = Bits(value);
    return CallWith(FF_SETPARAMETER, &pair, id);
  }

  FFResult SetText(FFInstanceID id, uint32_t index, const char* text) {
    ParameterPair pair{};
    pair.index = index;
    pair.value.PointerValue = const_cast<char*>(text);
    return CallWith(FF_SETPARAMETER, &pair, id);
  }

  ViewportRecord viewport{0, 0, 640, 480};
  std::vector<FFInstanceID> instances;
  size_t baselineBlocks = 0;
};

TEST_F(PlugMainTest, QuestionsWithoutAnInstanceAnswerFromTheQueryInstance) {
  struct Case {
    uint32_t code;
    uint32_t value;
    FFResult expected;
  };
  const Case kCases[] = {
      {FF_GETNUMPARAMETERS, 0, kProbeParameterCount},
      {FF_GETPARAMETERTYPE, kLevel, Standard},
      {FF_GETPARAMETERTYPE, kEnabled, Boolean},
      {FF_GETPARAMETERTYPE, kCaption, Text},
      {FF_GETPARAMETERTYPE, 9, FF_FAIL},
      {FF_GETPARAMETERDEFAULT, kLevel, Bits(0.5f)},
      {FF_GETPARAMETERDEFAULT, kEnabled, Bits(1.0f)},
      {FF_GETPARAMETERDEFAULT, kGain, Bits(1.0f)},
      {FF_GETPARAMETERDEFAULT, 9, FF_FAIL},
      {FF_GETPARAMETERNAME, 9, 0},
      {FF_GETPLUGINCAPS, 0, 0},
      {FF_GETPLUGINCAPS, 3, 0},
      {FF_GETPLUGINCAPS, FF_CAP_OPENGL, 1},
      {FF_GETPLUGINCAPS, FF_CAP_SETTIME, 0},
      {FF_GETPLUGINCAPS, 6, 0},
      {FF_GETPLUGINCAPS, FF_CAP_MINIMUMINPUTFRAMES, 0},
      {FF_GETPLUGINCAPS, FF_CAP_MAXIMUMINPUTFRAMES, 2},
      {FF_GETPLUGINCAPS, 15, 0},
      {FF_GETPLUGINCAPS, 0xFFFFFFFFu, 0},
  };
  for (const Case& c : kCases) {
    // Each question makes the query instance itself when there is none.
    Call(FF_DEINITIALISE);
    EXPECT_EQ(Call(c.code, c.value), c.expected) << "code " << c.code << " value " << c.value;
  }
  EXPECT_STREQ(AsText(Call(FF_GETPARAMETERDEFAULT, kCaption)), "hello");
}

TEST_F(PlugMainTest, ParameterNamesAreTheSixteenByteFields) {
  const FFResult level = Call(FF_GETPARAMETERNAME, kLevel);
  ASSERT_NE(level, 0u);
  EXPECT_EQ(std::string(AsText(level), 16), std::string("Level\0\0\0\0\0\0\0\0\0\0\0", 16));
  const FFResult gain = Call(FF_GETPARAMETERNAME, kGain);
  ASSERT_NE(gain, 0u);
  EXPECT_EQ(std::string(AsText(gain), 16), "Overdriven gain ");
  // The addresses stay the same while the query instance lives.
  EXPECT_EQ(Call(FF_GETPARAMETERNAME, kLevel), level);
}

TEST_F(PlugMainTest, CapabilitiesFollowTheQueryInstanceSettings) {
  struct Case {
    int32_t minimum;
    int32_t maximum;
    bool hostTime;
    FFResult minimumAnswer;
    FFResult maximumAnswer;
    FFResult timeAnswer;
  };
  const Case kCases[] = {
      {0, 2, false, 0, 2, 0},
      {1, 4, true, 1, 4, 1},
      {-3, -1, false, 0, 0, 0},  // negative counts answer 0
  };
  for (const Case& c : kCases) {
    Call(FF_DEINITIALISE);
    probe.minimumInputs = c.minimum;
    probe.maximumInputs = c.maximum;
    probe.acceptsHostTime = c.hostTime;
    EXPECT_EQ(Call(FF_GETPLUGINCAPS, FF_CAP_MINIMUMINPUTFRAMES), c.minimumAnswer) << c.minimum;
    EXPECT_EQ(Call(FF_GETPLUGINCAPS, FF_CAP_MAXIMUMINPUTFRAMES), c.maximumAnswer) << c.maximum;
    EXPECT_EQ(Call(FF_GETPLUGINCAPS, FF_CAP_SETTIME), c.timeAnswer) << c.hostTime;
  }
}

TEST_F(PlugMainTest, UnhandledCodesFail) {
  for (uint32_t code : {3u, 11u, 12u, 14u, 21u, 22u, 100u, 0xFFFFFFFFu}) {
    EXPECT_EQ(Call(code), FF_FAIL) << "code " << code;
  }
  EXPECT_EQ(probe.factoryCalls, 0) << "an unhandled code made a plugin object";
}

TEST_F(PlugMainTest, InitialiseMakesOneQueryInstanceAndDeinitialiseDeletesIt) {
  EXPECT_EQ(Call(FF_INITIALISE), FF_SUCCESS);
  EXPECT_EQ(Call(FF_INITIALISE), FF_SUCCESS);
  EXPECT_EQ(Call(FF_GETNUMPARAMETERS), kProbeParameterCount);
  EXPECT_EQ(probe.factoryCalls, 1);
  EXPECT_EQ(probe.live, 1);
  EXPECT_EQ(Call(FF_DEINITIALISE), FF_SUCCESS);
  EXPECT_EQ(probe.live, 0);
  EXPECT_EQ(Call(FF_DEINITIALISE), FF_SUCCESS) << "a second code 2 must succeed too";
  EXPECT_EQ(Call(FF_GETNUMPARAMETERS), kProbeParameterCount);
  EXPECT_EQ(probe.factoryCalls, 2) << "code 4 after code 2 makes a new query instance";
}

TEST_F(PlugMainTest, IdentityCodesAnswerTheRegistrationRecords) {
  const FFResult info = Call(FF_GETINFO);
  const FFResult extended = Call(FF_GETEXTENDEDINFO);
  ASSERT_NE(info, 0u);
  ASSERT_NE(extended, 0u);
  const auto* record = reinterpret_cast<const PluginInfoRecord*>(info);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(record->uniqueId), 4), "PRB1");
  EXPECT_EQ(record->apiMinorVersion, 6u);
  const auto* extendedRecord = reinterpret_cast<const ExtendedInfoRecord*>(extended);
  EXPECT_STREQ(extendedRecord->description, "A plugin that records its calls");
  Call(FF_INITIALISE);
  Call(FF_DEINITIALISE);
  EXPECT_EQ(Call(FF_GETINFO), info);
  EXPECT_EQ(Call(FF_GETEXTENDEDINFO), extended);
}

TEST_F(PlugMainTest, InstantiateSeedsDefaultsInIndexOrderBeforeStartGL) {
  const FFInstanceID id = Instantiate();
  ASSERT_NE(id, 0u);
  EXPECT_EQ(Joined(probe.calls),
            "[float 0 0.5][float 1 1][text 2 hello][float 3 1][start 640x480]");
  EXPECT_EQ(probe.live, 2) << "the query instance and the new instance";
  EXPECT_EQ(Call(FF_GETPARAMETER, kLevel, id), Bits(0.5f));
  EXPECT_STREQ(AsText(Call(FF_GETPARAMETER, kCaption, id)), "hello");
  EXPECT_EQ(Call(FF_DEINSTANTIATEGL, 0, id), FF_SUCCESS);
  instances.clear();
  EXPECT_EQ(probe.calls.back(), "stop");
  EXPECT_EQ(probe.live, 1);
}

TEST_F(PlugMainTest, InstantiateFailuresDeleteTheNewInstance) {
  struct Case {
    const char* what;
    ProbeControl::Factory factory;
    uint32_t refusedIndex;
    int32_t startResult;
    bool startThrows;
    const char* expectedCalls;
  };
  const Case kCases[] = {
      {"factory refuses", ProbeControl::Factory::Refuse, 0xFFFFFFFFu, 0, false, ""},
      {"factory leaves null", ProbeControl::Factory::LeaveNull, 0xFFFFFFFFu, 0, false, ""},
      {"factory throws", ProbeControl::Factory::Throw, 0xFFFFFFFFu, 0, false, ""},
      {"float default refused", ProbeControl::Factory::Make, kLevel, 0, false, "[float 0 0.5]"},
      {"text default refused", ProbeControl::Factory::Make, kCaption, 0, false,
       "[float 0 0.5][float 1 1][text 2 hello]"},
      {"StartGL fails", ProbeControl::Factory::Make, 0xFFFFFFFFu, -1, false,
       "[float 0 0.5][float 1 1][text 2 hello][float 3 1][start 640x480][stop]"},
      {"StartGL answers 1", ProbeControl::Factory::Make, 0xFFFFFFFFu, 1, false,
       "[float 0 0.5][float 1 1][text 2 hello][float 3 1][start 640x480][stop]"},
      {"StartGL throws", ProbeControl::Factory::Make, 0xFFFFFFFFu, 0, true,
       "[float 0 0.5][float 1 1][text 2 hello][float 3 1][start 640x480][stop]"},
  };
  for (const Case& c : kCases) {
    ASSERT_EQ(Call(FF_INITIALISE), FF_SUCCESS);
    probe.calls.clear();
    probe.factory = c.factory;
    probe.refusedIndex = c.refusedIndex;
    probe.startResult = c.startResult;
    probe.startThrows = c.startThrows;
    EXPECT_EQ(CallWith(FF_INSTANTIATEGL, &viewport), FF_FAIL) << c.what;
    EXPECT_EQ(Joined(probe.calls), c.expectedCalls) << c.what;
    EXPECT_EQ(probe.live, 1) << c.what << ": only the query instance may be left";
    probe = ProbeControl{};
    probe.live = 1;
  }
}

TEST_F(PlugMainTest, QueryInstanceFailureAnswers) {
  struct Case {
    uint32_t code;
    uint32_t value;
    FFResult expected;
  };
  const Case kCases[] = {
      {FF_INITIALISE, 0, FF_FAIL},
      {FF_GETNUMPARAMETERS, 0, FF_FAIL},
      {FF_GETPARAMETERNAME, 0, 0},
      {FF_GETPARAMETERDEFAULT, 0, FF_FAIL},
      {FF_GETPLUGINCAPS, FF_CAP_OPENGL, FF_FAIL},
      {FF_GETPARAMETERTYPE, 0, FF_FAIL},
      {FF_DEINITIALISE, 0, FF_SUCCESS},
  };
  for (ProbeControl::Factory factory :
       {ProbeControl::Factory::Refuse, ProbeControl::Factory::LeaveNull,
        ProbeControl::Factory::Throw}) {
    probe.factory = factory;
    for (const Case& c : kCases) {
      EXPECT_EQ(Call(c.code, c.value), c.expected)
          << "code " << c.code << " with factory mode " << static_cast<int>(factory);
    }
    EXPECT_EQ(CallWith(FF_INSTANTIATEGL, &viewport), FF_FAIL);
    EXPECT_EQ(probe.live, 0);
  }
}

TEST_F(PlugMainTest, SetAndGetParameterRoundTrip) {
  const FFInstanceID id = Instantiate();
  ASSERT_NE(id, 0u);
  struct Case {
    uint32_t index;
    float value;
  };
  const Case kCases[] = {{kLevel, 0.25f}, {kEnabled, 0.0f}, {kGain, -1.0f}, {kLevel, 7.5f}};
  for (const Case& c : kCases) {
    EXPECT_EQ(SetFloat(id, c.index, c.value), FF_SUCCESS) << "index " << c.index;
    EXPECT_EQ(Call(FF_GETPARAMETER, c.index, id), Bits(c.value)) << "index " << c.index;
  }
  EXPECT_EQ(SetFloat(id, kLevel, 0.5f), FF_SUCCESS);
  EXPECT_EQ(Call(FF_GETPARAMETER, kLevel, id), 0x3F000000u);
  // An undeclared index takes the float path, and the probe refuses it.
  EXPECT_EQ(SetFloat(id, 9, 0.5f), FF_FAIL);

  const char kWorld[] = "world";
  EXPECT_EQ(SetText(id, kCaption, kWorld), FF_SUCCESS);
  const FFResult text = Call(FF_GETPARAMETER, kCaption, id);
  EXPECT_STREQ(AsText(text), "world");
  EXPECT_NE(AsText(text), kWorld) << "the instance keeps its own copy";
}

TEST_F(PlugMainTest, ParameterTypeComesFromTheQueryInstance) {
  ASSERT_EQ(Call(FF_INITIALISE), FF_SUCCESS);
  // Instances made from now on declare the caption as a float; the query instance still
  // says Text, so the text paths are taken.
  probe.captionType = Standard;
  const FFInstanceID id = Instantiate();
  ASSERT_NE(id, 0u);
  EXPECT_EQ(SetText(id, kCaption, "typed"), FF_SUCCESS);
  EXPECT_STREQ(AsText(Call(FF_GETPARAMETER, kCaption, id)), "typed");
}

TEST_F(PlugMainTest, InstancesOutliveDeinitialise) {
  const FFInstanceID id = Instantiate();
  ASSERT_NE(id, 0u);
  EXPECT_EQ(Call(FF_DEINITIALISE), FF_SUCCESS);
  EXPECT_EQ(probe.live, 1);
  EXPECT_EQ(SetFloat(id, kLevel, 0.75f), FF_SUCCESS);
  EXPECT_EQ(Call(FF_GETPARAMETER, kLevel, id), Bits(0.75f));
  EXPECT_STREQ(AsText(Call(FF_GETPARAMETER, kCaption, id)), "hello");
  EXPECT_EQ(probe.live, 2) << "the type lookup makes a fresh query instance";
  ProcessFrameRecord frame{};
  EXPECT_EQ(CallWith(FF_PROCESSOPENGL, &frame, id), FF_SUCCESS);
}

TEST_F(PlugMainTest, TextAnswersWithoutATextFail) {
  const FFInstanceID id = Instantiate();
  ASSERT_NE(id, 0u);
  probe.captionAnswersNoText = true;
  // All bits set becomes the 32-bit failure word, not an all-ones address.
  EXPECT_EQ(Call(FF_GETPARAMETER, kCaption, id), FF_FAIL);
  EXPECT_EQ(Call(FF_GETPARAMETERDISPLAY, kCaption, id), FF_FAIL);
}

TEST_F(PlugMainTest, DisplayTextOfParameters) {
  const FFInstanceID id = Instantiate();
  ASSERT_NE(id, 0u);
  struct Case {
    float value;
    const char* expected;
  };
  const Case kCases[] = {
      {0.5f, "0.500000"},
      {1.0f, "1.000000"},
      {-1.0f, "-1.000000"},
      {-FLT_MAX, "-340282346638528859811704183484516925440.000000"},
      {std::numeric_limits<float>::infinity(), "inf"},
      {-std::numeric_limits<float>::infinity(), "-inf"},
  };
  for (const Case& c : kCases) {
    ASSERT_EQ(SetFloat(id, kLevel, c.value), FF_SUCCESS);
    EXPECT_STREQ(AsText(Call(FF_GETPARAMETERDISPLAY, kLevel, id)), c.expected);
  }
  ASSERT_EQ(SetFloat(id, kLevel, std::numeric_limits<float>::quiet_NaN()), FF_SUCCESS);
  const std::string nan = AsText(Call(FF_GETPARAMETERDISPLAY, kLevel, id));
  EXPECT_TRUE(nan == "nan" || nan == "-nan") << nan;
  EXPECT_STREQ(AsText(Call(FF_GETPARAMETERDISPLAY, kCaption, id)), "hello");
  EXPECT_EQ(Call(FF_GETPARAMETERDISPLAY, 9, id), 0u) << "undeclared index answers null";
}

TEST_F(PlugMainTest, InstanceCodesWithoutAnIdentifierFailAndTouchNothing) {
  ParameterPair pair{};
  ProcessFrameRecord frame{};
  const double time = 1.0;
  struct Case {
    uint32_t code;
    FFMixed input;
  };
  const Case kCases[] = {
      {FF_GETPARAMETERDISPLAY, Value(kLevel)}, {FF_SETPARAMETER, AddressOf(&pair)},
      {FF_GETPARAMETER, Value(kLevel)},        {FF_GETINPUTSTATUS, Value(0)},
      {FF_PROCESSOPENGL, AddressOf(&frame)},   {FF_DEINSTANTIATEGL, Value(0)},
      {FF_SETTIME, AddressOf(&time)},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(plugMain(c.code, c.input, 0), FF_FAIL) << "code " << c.code;
  }
  EXPECT_EQ(probe.factoryCalls, 0);
  EXPECT_TRUE(probe.calls.empty()) << Joined(probe.calls);
}

TEST_F(PlugMainTest, NullRecordAddressesFailWithoutCallingTheInstance) {
  const FFInstanceID id = Instantiate();
  ASSERT_NE(id, 0u);
  probe.calls.clear();
  for (uint32_t code : {FF_SETPARAMETER, FF_PROCESSOPENGL, FF_SETTIME}) {
    EXPECT_EQ(CallWith(code, nullptr, id), FF_FAIL) << "code " << code;
  }
  EXPECT_TRUE(probe.calls.empty()) << Joined(probe.calls);
  const int made = probe.factoryCalls;
  EXPECT_EQ(CallWith(FF_INSTANTIATEGL, nullptr), FF_FAIL);
  EXPECT_EQ(probe.factoryCalls, made) << "code 18 without a viewport called the factory";
}

TEST_F(PlugMainTest, InstanceCodesReachTheInstance) {
  const FFInstanceID id = Instantiate();
  ASSERT_NE(id, 0u);
  probe.calls.clear();
  ProcessFrameRecord frame{};
  frame.inputCount = 2;
  EXPECT_EQ(CallWith(FF_PROCESSOPENGL, &frame, id), FF_SUCCESS);
  const double time = 2.5;
  EXPECT_EQ(CallWith(FF_SETTIME, &time, id), FF_SUCCESS);
  EXPECT_EQ(Joined(probe.calls), "[draw 2][time 0 2.5]");
  struct Case {
    uint32_t input;
    FFResult expected;
  };
  const Case kCases[] = {{0, 1}, {1, 1}, {2, FF_FAIL}, {0xFFFFFFFFu, FF_FAIL}};
  for (const Case& c : kCases) {
    EXPECT_EQ(Call(FF_GETINPUTSTATUS, c.input, id), c.expected) << "input " << c.input;
  }
}

TEST_F(PlugMainTest, FailedAllocationsAnswerFailureAndLeakNothing) {
  // Every allocation on the way is made to fail in turn until the call gets through.
  for (uint32_t code : {FF_INITIALISE, FF_INSTANTIATEGL}) {
    bool succeeded = false;
    for (size_t successes = 0; successes < 64 && !succeeded; ++successes) {
      Call(FF_DEINITIALISE);
      ASSERT_EQ(counting_allocator::LiveBlocks(), baselineBlocks);
      if (code == FF_INSTANTIATEGL) {
        ASSERT_EQ(Call(FF_INITIALISE), FF_SUCCESS);
      }
      const size_t before = counting_allocator::LiveBlocks();
      counting_allocator::FailAfter(successes);
      const FFResult answer = CallWith(code, &viewport);
      counting_allocator::StopFailing();
      if (answer == FF_FAIL) {
        EXPECT_TRUE(counting_allocator::InjectedFailure()) << "code " << code << " failed alone";
        EXPECT_EQ(counting_allocator::LiveBlocks(), before)
            << "code " << code << " leaked after " << successes << " allocations";
      } else {
        succeeded = true;
        if (code == FF_INSTANTIATEGL) {
          EXPECT_EQ(Call(FF_DEINSTANTIATEGL, 0, answer), FF_SUCCESS);
        }
      }
    }
    EXPECT_TRUE(succeeded) << "code " << code << " never succeeded";
  }
}

}  // namespace
