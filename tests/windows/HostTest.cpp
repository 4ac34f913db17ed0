// Loads the built DLL the way a Windows host does and asks it everything that needs no instance.
// Usage: host_test [path of Vantorel.dll]; by default the plugin folder beside the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "host/FreeFrame.h"
#include "tests/windows/PluginLoader.h"

namespace {

std::string g_dllPath;

FFMixed Value(uint32_t value) {
  FFMixed mixed{};
  mixed.UIntValue = value;
  return mixed;
}

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(plugin.Load(g_dllPath, &error)) << error;
  }

  // The whole result word: a count, code, float bits or -1 must come with the upper half of a
  // 64-bit word zero, as hosts compare whole words.
  FFResult Call(uint32_t code, uint32_t input = 0, FFInstanceID instance = 0) {
    return plugin.Call(code, Value(input), instance);
  }

  PluginLoader plugin;
};

TEST_F(HostTest, ExportsPlugMainUndecoratedOnly) {
  HMODULE module = plugin.Module();
  EXPECT_NE(GetProcAddress(module, "plugMain"), nullptr);
  for (const char* decorated : {"plugMain@12", "_plugMain@12", "_plugMain@24", "plugMain@24"}) {
    EXPECT_EQ(GetProcAddress(module, decorated), nullptr) << decorated << " is exported";
  }
}

TEST_F(HostTest, IdentityRecords) {
  const auto* info = reinterpret_cast<const PluginInfoRecord*>(Call(FF_GETINFO));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->apiMajorVersion, 1u);
  EXPECT_EQ(info->apiMinorVersion, 6u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(info->uniqueId), 4), "QTRV");
  const uint8_t name[16] = {'V', 'a', 'n', 't', 'o', 'r', 'e', 'l', '1'};
  EXPECT_EQ(std::memcmp(info->name, name, sizeof name), 0)
      << "name field: " << std::string(reinterpret_cast<const char*>(info->name), 16);
  EXPECT_EQ(info->pluginType, 1u);
  EXPECT_EQ(Call(FF_GETINFO), Call(FF_GETINFO)) << "the info record moved";

  const auto* extended = reinterpret_cast<const ExtendedInfoRecord*>(Call(FF_GETEXTENDEDINFO));
  ASSERT_NE(extended, nullptr);
  EXPECT_EQ(extended->pluginMajorVersion, 1u);
  EXPECT_EQ(extended->pluginMinorVersion, 4u);
  ASSERT_NE(extended->description, nullptr);
  EXPECT_STREQ(extended->description,
               "Generate  a circular black and white checker control rotation, vortex , edge "
               "smoothness");
  ASSERT_NE(extended->about, nullptr);
  EXPECT_GT(std::strlen(extended->about), 0u);
  EXPECT_EQ(extended->extendedDataSize, 0u);
  EXPECT_EQ(extended->extendedData, nullptr);
}

// A host that rescans its plugin folder unloads and loads the DLL again: the static teardown
// and set-up run once more and the plugin answers as before.
TEST_F(HostTest, AnswersAgainAfterUnloadAndReload) {
  ASSERT_EQ(Call(FF_GETNUMPARAMETERS), 11u);
  ASSERT_TRUE(plugin.Unload()) << "FreeLibrary failed, error " << GetLastError();
  std::string error;
  ASSERT_TRUE(plugin.Load(g_dllPath, &error)) << "reloading: " << error;
  const auto* info = reinterpret_cast<const PluginInfoRecord*>(Call(FF_GETINFO));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(info->uniqueId), 4), "QTRV");
  const auto* extended = reinterpret_cast<const ExtendedInfoRecord*>(Call(FF_GETEXTENDEDINFO));
  ASSERT_NE(extended, nullptr);
  ASSERT_NE(extended->description, nullptr) << "the description was not copied again";
  EXPECT_EQ(std::strncmp(extended->description, "Generate  a circular", 20), 0);
  EXPECT_EQ(Call(FF_GETNUMPARAMETERS), 11u);
  EXPECT_EQ(Call(FF_DEINITIALISE), 0u);
}

struct ParameterCase {
  uint32_t index;
  const char* name;  // as the 16-byte field holds it, no terminator when 16 long
  uint32_t type;
  uint32_t defaultBits;
};

const ParameterCase kParameters[] = {
    {0, "Speed", FF_TYPE_STANDARD, 0x3DCCCCCDu},
    {1, "Vortex Speed", FF_TYPE_STANDARD, 0},
    {2, "Vortex Frequence", FF_TYPE_STANDARD, 0},
    {3, "Lines Softness", FF_TYPE_STANDARD, 0},
    {4, "Circles Softness", FF_TYPE_STANDARD, 0},
    {5, "Size", FF_TYPE_STANDARD, 0x3E4CCCCDu},
    {6, "Even Circles Off", FF_TYPE_STANDARD, 0x3F000000u},
    {7, "Odd Circles Offs", FF_TYPE_STANDARD, 0x3F000000u},
    {8, "Alpha Mode", FF_TYPE_STANDARD, 0},
    {9, "Linear Scale", FF_TYPE_BOOLEAN, 0},
    {10, "Invert Speed", FF_TYPE_BOOLEAN, 0},
};

TEST_F(HostTest, ParameterNamesTypesAndDefaults) {
  ASSERT_EQ(Call(FF_INITIALISE), 0u);
  ASSERT_EQ(Call(FF_GETNUMPARAMETERS), 11u);
  for (const ParameterCase& c : kParameters) {
    SCOPED_TRACE(c.name);
    const auto* field = reinterpret_cast<const char*>(Call(FF_GETPARAMETERNAME, c.index));
    ASSERT_NE(field, nullptr);
    char wanted[16] = {};
    std::memcpy(wanted, c.name, std::strlen(c.name));
    EXPECT_EQ(std::string(field, 16), std::string(wanted, 16));
    EXPECT_EQ(Call(FF_GETPARAMETERTYPE, c.index), c.type);
    EXPECT_EQ(Call(FF_GETPARAMETERDEFAULT, c.index), c.defaultBits);
  }
  EXPECT_EQ(Call(FF_GETPARAMETERNAME, 11), 0u) << "a name for an undeclared index";
  EXPECT_EQ(Call(FF_GETPARAMETERTYPE, 11), 0xFFFFFFFFu);
  EXPECT_EQ(Call(FF_GETPARAMETERDEFAULT, 11), 0xFFFFFFFFu);
  EXPECT_EQ(Call(FF_DEINITIALISE), 0u);
}

TEST_F(HostTest, Capabilities) {
  const struct {
    uint32_t capability;
    uint32_t answer;
  } kCapabilities[] = {{0, 0},
                       {1, 0},
                       {2, 0},
                       {3, 0},
                       {FF_CAP_OPENGL, 1},
                       {FF_CAP_SETTIME, 0},
                       {6, 0},
                       {FF_CAP_MINIMUMINPUTFRAMES, 0},
                       {FF_CAP_MAXIMUMINPUTFRAMES, 2},
                       {15, 0}};
  for (const auto& c : kCapabilities) {
    EXPECT_EQ(Call(FF_GETPLUGINCAPS, c.capability), c.answer) << "capability " << c.capability;
  }
}

TEST_F(HostTest, InstanceLessRoundOfCodes) {
  // Query codes before initialise make the query instance on demand.
  EXPECT_EQ(Call(FF_GETNUMPARAMETERS), 11u);
  EXPECT_EQ(Call(FF_DEINITIALISE), 0u);
  EXPECT_EQ(Call(FF_DEINITIALISE), 0u) << "a second deinitialise";
  EXPECT_EQ(Call(FF_GETNUMPARAMETERS), 11u) << "after deinitialise";
  EXPECT_EQ(Call(FF_INITIALISE), 0u);

  for (uint32_t code : {3u, 11u, 12u, 14u, 21u, 0xFFFFFFFFu}) {
    EXPECT_EQ(Call(code), 0xFFFFFFFFu) << "unhandled code " << code;
  }
  // Codes that need an instance refuse identifier 0 without touching anything.
  for (uint32_t code : {7u, 8u, 9u, 16u, 17u, 19u, 20u}) {
    EXPECT_EQ(Call(code, 0, 0), 0xFFFFFFFFu) << "code " << code << " with no instance";
  }
  EXPECT_EQ(Call(FF_INSTANTIATEGL, 0), 0xFFFFFFFFu) << "instantiate with no viewport";
  EXPECT_EQ(Call(FF_DEINITIALISE), 0u);
}

// Many calls in a row: a callee that leaves the arguments on the stack (or pops them twice)
// shifts the caller's stack pointer and corrupts what the caller reads afterwards.
TEST_F(HostTest, StackSurvivesRepeatedCalls) {
  EXPECT_TRUE(plugin.CallKeepsStackPointer(FF_GETNUMPARAMETERS, Value(0), 0))
      << "the stack pointer moved across a call: plugMain's calling convention is wrong";
  for (int i = 0; i < 1000; ++i) {
    const ParameterCase& c = kParameters[i % 11];
    const FFResult type = Call(FF_GETPARAMETERTYPE, c.index);
    if (type != c.type) {
      FAIL() << "call " << i << ": type of " << c.name << " came back as " << type;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  g_dllPath = argc > 1 ? argv[1] : PluginLoader::DefaultPath();
  return RUN_ALL_TESTS();
}
