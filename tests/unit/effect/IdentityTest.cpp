// The plugin's identity and parameter list as a host reads them through plugMain.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "HostCalls.h"
#include "RecordingGL.h"

namespace {

class IdentityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingGL::Instance().Reset();
    Call(FF_DEINITIALISE);
  }
  void TearDown() override { Call(FF_DEINITIALISE); }
};

TEST_F(IdentityTest, InfoRecordNamesTheSourcePlugin) {
  const auto* info = reinterpret_cast<const PluginInfoRecord*>(Call(FF_GETINFO));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->apiMajorVersion, 1u);
  EXPECT_EQ(info->apiMinorVersion, 6u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(info->uniqueId), 4), "QTRV");
  const uint8_t name[16] = {'V', 'a', 'n', 't', 'o', 'r', 'e', 'l', '1'};
  EXPECT_EQ(std::memcmp(info->name, name, 16), 0) << "name is not \"Vantorel1\" and 7 zeros";
  EXPECT_EQ(info->pluginType, 1u) << "not a source";
}

TEST_F(IdentityTest, ExtendedInfoCarriesVersionAndTexts) {
  const auto* extended = reinterpret_cast<const ExtendedInfoRecord*>(Call(FF_GETEXTENDEDINFO));
  ASSERT_NE(extended, nullptr);
  EXPECT_EQ(extended->pluginMajorVersion, 1u);
  EXPECT_EQ(extended->pluginMinorVersion, 4u);
  ASSERT_NE(extended->description, nullptr);
  const std::string description = extended->description;
  EXPECT_EQ(description,
            "Generate  a circular black and white checker control rotation, vortex , edge "
            "smoothness");
  EXPECT_EQ(description.size(), 87u);
  ASSERT_NE(extended->about, nullptr);
  EXPECT_NE(std::string(extended->about).find("Vantorel"), std::string::npos);
  EXPECT_EQ(extended->extendedDataSize, 0u);
  EXPECT_EQ(extended->extendedData, nullptr);
}

TEST_F(IdentityTest, CapabilitiesSayOpenGlNoHostTimeZeroToTwoInputs) {
  struct Case {
    uint32_t capability;
    FFResult answer;
  };
  const Case kCases[] = {{FF_CAP_OPENGL, 1},
                         {FF_CAP_SETTIME, 0},
                         {FF_CAP_MINIMUMINPUTFRAMES, 0},
                         {FF_CAP_MAXIMUMINPUTFRAMES, 2}};
  for (const Case& c : kCases) {
    EXPECT_EQ(Call(FF_GETPLUGINCAPS, c.capability), c.answer) << "capability " << c.capability;
  }
}

struct ParameterCase {
  uint32_t index;
  const char* hostReads;  // the 16-byte field's text, without the zero padding
  uint32_t type;
  uint32_t defaultBits;
};

const ParameterCase kParameters[] = {
    {0, "Speed", FF_TYPE_STANDARD, 0x3DCCCCCDu},
    {1, "Vortex Speed", FF_TYPE_STANDARD, 0x00000000u},
    {2, "Vortex Frequence", FF_TYPE_STANDARD, 0x00000000u},
    {3, "Lines Softness", FF_TYPE_STANDARD, 0x00000000u},
    {4, "Circles Softness", FF_TYPE_STANDARD, 0x00000000u},
    {5, "Size", FF_TYPE_STANDARD, 0x3E4CCCCDu},
    {6, "Even Circles Off", FF_TYPE_STANDARD, 0x3F000000u},
    {7, "Odd Circles Offs", FF_TYPE_STANDARD, 0x3F000000u},
    {8, "Alpha Mode", FF_TYPE_STANDARD, 0x00000000u},
    {9, "Linear Scale", FF_TYPE_BOOLEAN, 0x00000000u},
    {10, "Invert Speed", FF_TYPE_BOOLEAN, 0x00000000u},
};

TEST_F(IdentityTest, ElevenParametersWithNamesTypesAndDefaults) {
  ASSERT_EQ(Call(FF_GETNUMPARAMETERS), 11u);
  for (const ParameterCase& p : kParameters) {
    SCOPED_TRACE("parameter " + std::to_string(p.index));
    const auto* field = reinterpret_cast<const uint8_t*>(Call(FF_GETPARAMETERNAME, p.index));
    ASSERT_NE(field, nullptr);
    uint8_t expected[16] = {};
    std::memcpy(expected, p.hostReads, std::strlen(p.hostReads));
    EXPECT_EQ(std::memcmp(field, expected, 16), 0)
        << "name field reads \"" << std::string(reinterpret_cast<const char*>(field), 16)
        << "\", wanted \"" << p.hostReads << "\"";
    EXPECT_EQ(Call(FF_GETPARAMETERTYPE, p.index), p.type);
    EXPECT_EQ(Call(FF_GETPARAMETERDEFAULT, p.index), p.defaultBits);
  }
  EXPECT_EQ(Call(FF_GETPARAMETERNAME, 11), 0u);
  EXPECT_EQ(Call(FF_GETPARAMETERTYPE, 11), FF_FAIL);
}

TEST_F(IdentityTest, NewInstanceStartsWithTheDefaultsAndTwoInputs) {
  const ViewportRecord viewport{0, 0, 64, 48};
  const FFResult id = CallWith(FF_INSTANTIATEGL, &viewport);
  ASSERT_NE(id, FF_FAIL) << RecordingGL::Instance().Transcript();
  for (const ParameterCase& p : kParameters) {
    EXPECT_EQ(Call(FF_GETPARAMETER, p.index, id), p.defaultBits) << "parameter " << p.index;
  }
  EXPECT_EQ(Call(FF_GETINPUTSTATUS, 0, id), 1u);
  EXPECT_EQ(Call(FF_GETINPUTSTATUS, 1, id), 1u);
  EXPECT_EQ(Call(FF_GETINPUTSTATUS, 2, id), FF_FAIL);
  double hostTime = 1.0;
  EXPECT_EQ(CallWith(FF_SETTIME, &hostTime, id), FF_FAIL) << "the clock is the plugin's own";
  EXPECT_EQ(Call(FF_DEINSTANTIATEGL, 0, id), 0u);
}

TEST_F(IdentityTest, SetThenGetThroughPlugMainKeepsTheFloatBits) {
  const ViewportRecord viewport{0, 0, 64, 48};
  const FFResult id = CallWith(FF_INSTANTIATEGL, &viewport);
  ASSERT_NE(id, FF_FAIL);
  EXPECT_EQ(SetParameter(id, 0, 0.75f), 0u);
  EXPECT_EQ(Call(FF_GETPARAMETER, 0, id), Bits(0.75f));
  EXPECT_EQ(SetParameter(id, 9, 1.0f), 0u);
  EXPECT_EQ(Call(FF_GETPARAMETER, 9, id), Bits(1.0f));
  EXPECT_EQ(SetParameter(id, 11, 1.0f), FF_FAIL);
  EXPECT_EQ(Call(FF_GETPARAMETER, 11, id), Bits(-1.0f));
  Call(FF_DEINSTANTIATEGL, 0, id);
}

}  // namespace
