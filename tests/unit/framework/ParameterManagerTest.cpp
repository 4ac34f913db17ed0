// The parameter list, the settings and the base operations, called directly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "CountingAllocator.h"
#include "framework/CFreeFrameGLPlugin.h"

namespace {

uint32_t Bits(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Opens the protected declarations to the tests; overrides nothing.
class Declarer : public CFreeFrameGLPlugin {
 public:
  using CFFGLPluginManager::DeclareBooleanParameter;
  using CFFGLPluginManager::DeclareParameter;
  using CFFGLPluginManager::DeclareTextParameter;
  using CFFGLPluginManager::SetAcceptsHostTime;
  using CFFGLPluginManager::SetMaximumInputs;
  using CFFGLPluginManager::SetMinimumInputs;
};

// Answers a fixed float for every index, as a plugin with its own values would.
class FixedValue : public Declarer {
 public:
  float GetParameterFloat(uint32_t) override { return value; }
  float value = 0.5f;
};

std::string NameField(const CFFGLPluginManager& manager, uint32_t index) {
  const uint8_t* name = manager.GetParameterName(index);
  return name == nullptr ? "(null)" : std::string(reinterpret_cast<const char*>(name), 16);
}

TEST(ParameterManager, DefaultsAreClampedIntoTheUnitRange) {
  struct Case {
    float declared;
    uint32_t storedBits;
  };
  const Case kCases[] = {
      {1.5f, Bits(1.0f)},
      {-0.25f, Bits(0.0f)},
      {0.2f, 0x3E4CCCCDu},
      {1.0f, Bits(1.0f)},
      {0.0f, Bits(0.0f)},
      {std::numeric_limits<float>::infinity(), Bits(1.0f)},
      {-std::numeric_limits<float>::infinity(), Bits(0.0f)},
  };
  Declarer manager;
  uint32_t index = 0;
  for (const Case& c : kCases) manager.DeclareParameter(index++, "p", Standard, c.declared);
  for (uint32_t i = 0; i < index; ++i) {
    EXPECT_EQ(manager.GetParameterDefault(i), kCases[i].storedBits)
        << "declared " << kCases[i].declared;
  }
  manager.DeclareParameter(index, "nan", Standard, std::numeric_limits<float>::quiet_NaN());
  float stored = 0.0f;
  const uint32_t bits = static_cast<uint32_t>(manager.GetParameterDefault(index));
  std::memcpy(&stored, &bits, sizeof stored);
  EXPECT_TRUE(std::isnan(stored)) << "a NaN default is stored unchanged";
}

TEST(ParameterManager, NamesFillSixteenBytes) {
  const char kEmbedded[] = "ab\0XYZXYZXYZXYZXYZ";
  struct Case {
    const char* name;
    std::string stored;
  };
  const Case kCases[] = {
      {"Speed", std::string("Speed\0\0\0\0\0\0\0\0\0\0\0", 16)},
      {"ExactlySixteen!!", "ExactlySixteen!!"},
      {"Twenty characters!!!", "Twenty character"},
      {"", std::string(16, '\0')},
      {kEmbedded, std::string("ab\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16)},
      {nullptr, std::string(16, '\0')},
  };
  Declarer manager;
  uint32_t index = 0;
  for (const Case& c : kCases) manager.DeclareParameter(index++, c.name, Standard, 0.0f);
  for (uint32_t i = 0; i < index; ++i) {
    EXPECT_EQ(NameField(manager, i), kCases[i].stored) << "declared name #" << i;
  }
}

TEST(ParameterManager, DeclarationsKeepTypesAndOrder) {
  Declarer manager;
  manager.DeclareBooleanParameter(0, "on", Boolean, true);
  manager.DeclareBooleanParameter(1, "off", Boolean, false);
  const char kCaption[] = "caption";
  manager.DeclareTextParameter(2, "text", Text, kCaption);
  manager.DeclareTextParameter(3, "no text", Text, nullptr);
  manager.DeclareParameter(4, "odd", 42, 0.75f);
  manager.DeclareParameter(0, "again", Standard,
                           0.25f);  // duplicates count; lookups find the first
  EXPECT_EQ(manager.GetParameterCount(), 6u);
  EXPECT_EQ(manager.GetParameterDefault(0), 0x3F800000u);
  EXPECT_EQ(manager.GetParameterType(0), static_cast<uint32_t>(Boolean));
  EXPECT_EQ(manager.GetParameterDefault(1), 0u);
  const char* text = reinterpret_cast<const char*>(manager.GetParameterDefault(2));
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "caption");
  EXPECT_NE(text, kCaption) << "the manager keeps its own copy";
  EXPECT_EQ(manager.GetParameterDefault(3), 0u);
  EXPECT_EQ(manager.GetParameterType(4), 42u);
  EXPECT_EQ(manager.GetParameterDefault(4), Bits(0.75f));
  EXPECT_FALSE(manager.DeclarationFailed());
}

TEST(ParameterManager, EmptyManagerFailsEveryLookup) {
  Declarer manager;
  EXPECT_EQ(manager.GetParameterCount(), 0u);
  for (uint32_t index : {0u, 1u, 0xFFFFFFFFu}) {
    EXPECT_EQ(manager.GetParameterName(index), nullptr);
    EXPECT_EQ(manager.GetParameterType(index), 0xFFFFFFFFu);
    EXPECT_EQ(manager.GetParameterDefault(index), FF_FAIL);
  }
  EXPECT_EQ(manager.GetMinimumInputs(), 0);
  EXPECT_EQ(manager.GetMaximumInputs(), 0);
  EXPECT_FALSE(manager.GetAcceptsHostTime());
}

TEST(ParameterManager, DestructionFreesEveryRecordAndText) {
  const size_t before = counting_allocator::LiveBlocks();
  {
    Declarer manager;
    manager.DeclareTextParameter(0, "a", Text, "first");
    manager.DeclareTextParameter(1, "b", Text, "second");
    manager.DeclareTextParameter(2, "c", Standard, "kept by a float record");
    manager.DeclareParameter(3, "d", Standard, 0.5f);
    EXPECT_EQ(counting_allocator::LiveBlocks(), before + 7);
  }
  EXPECT_EQ(counting_allocator::LiveBlocks(), before) << "records or texts leaked";
}

TEST(ParameterManager, FailedAllocationsAreReported) {
  struct Case {
    const char* what;
    size_t successes;
    uint32_t expectedCount;
    FFResult expectedDefault;
  };
  const Case kCases[] = {
      {"record", 0, 0, FF_FAIL},
      {"text copy", 1, 1, 0},
  };
  for (const Case& c : kCases) {
    const size_t before = counting_allocator::LiveBlocks();
    {
      Declarer manager;
      counting_allocator::FailAfter(c.successes);
      manager.DeclareTextParameter(0, "t", Text, "text");
      counting_allocator::StopFailing();
      EXPECT_TRUE(manager.DeclarationFailed()) << c.what;
      EXPECT_EQ(manager.GetParameterCount(), c.expectedCount) << c.what;
      EXPECT_EQ(manager.GetParameterDefault(0), c.expectedDefault) << c.what;
    }
    EXPECT_EQ(counting_allocator::LiveBlocks(), before) << c.what;
  }
}

TEST(PluginBase, BaseOperationsAnswerTheirDefaults) {
  Declarer plugin;
  ViewportRecord viewport{0, 0, 16, 16};
  ProcessFrameRecord frame{};
  EXPECT_EQ(plugin.StartGL(&viewport), 0);
  EXPECT_EQ(plugin.StopGL(), 0);
  EXPECT_EQ(plugin.SetParameterFloat(0, 0.5f), -1);
  EXPECT_EQ(plugin.SetParameterText(0, "x"), -1);
  EXPECT_EQ(plugin.GetParameterFloat(0), 0.0f);
  EXPECT_EQ(plugin.GetParameterText(0), kNoText);
  EXPECT_EQ(plugin.DrawFrame(&frame), -1);
  EXPECT_EQ(plugin.SetHostTime(1.0), -1);
}

TEST(PluginBase, InputStateFollowsTheMaximum) {
  struct Case {
    int32_t maximum;
    uint32_t input;
    int32_t expected;
  };
  const Case kCases[] = {
      {2, 0, 1},
      {2, 1, 1},
      {2, 2, -1},
      {2, 0xFFFFFFFFu, -1},
      {0, 0, -1},
      {-1, 0, -1},
      {-1, 0xFFFFFFFEu, -1},  // a negative maximum means no inputs
  };
  for (const Case& c : kCases) {
    Declarer plugin;
    plugin.SetMaximumInputs(c.maximum);
    EXPECT_EQ(plugin.GetInputState(c.input), c.expected)
        << "maximum " << c.maximum << " input " << c.input;
  }
}

TEST(PluginBase, FormatParameterDescribesTheSource) {
  FixedValue plugin;
  plugin.DeclareParameter(0, "float", Standard, 0.0f);
  plugin.DeclareBooleanParameter(1, "switch", Boolean, false);
  plugin.DeclareTextParameter(2, "text", Text, "t");
  EXPECT_EQ(plugin.FormatParameter(0), nullptr) << "no parameterSource yet";
  plugin.parameterSource = &plugin;
  EXPECT_STREQ(plugin.FormatParameter(0), "0.500000");
  plugin.value = 1.0f;
  EXPECT_STREQ(plugin.FormatParameter(1), "1.000000");
  EXPECT_EQ(plugin.FormatParameter(2), kNoText) << "the base text operation has no text";
  EXPECT_EQ(plugin.FormatParameter(3), nullptr) << "undeclared index";

  // The source's parameters and values are described, not the caller's.
  FixedValue source;
  source.DeclareParameter(7, "other", Standard, 0.0f);
  source.value = -1.0f;
  plugin.parameterSource = &source;
  EXPECT_STREQ(plugin.FormatParameter(7), "-1.000000");
  EXPECT_EQ(plugin.FormatParameter(0), nullptr);
}

}  // namespace
