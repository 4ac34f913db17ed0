// The registration record, built here by each test; no static registration in this program.
#include <gtest/gtest.h>

#include <string>

#include "CountingAllocator.h"
#include "host/FFGLPluginRegistration.h"
#include "host/FreeFrame.h"

namespace {

int32_t NoFactory(CFreeFrameGLPlugin** instance) {
  *instance = nullptr;
  return -1;
}

std::string Bytes(const uint8_t* field, size_t size) {
  return std::string(reinterpret_cast<const char*>(field), size);
}

FFResult Call(uint32_t code) {
  FFMixed input;
  input.PointerValue = nullptr;
  return plugMain(code, input, 0);
}

TEST(RegistrationRecord, IdentifierAndNameFillTheirFields) {
  struct Case {
    const char* uniqueId;
    const char* name;
    std::string idBytes;
    std::string nameBytes;
  };
  const Case kCases[] = {
      {"QTRV", "Vantorel1", "QTRV", std::string("Vantorel1\0\0\0\0\0\0\0", 16)},
      {"AB", "Nineteen characters", std::string("AB\0\0", 4), "Nineteen charact"},
      {"TOOLONG", "Exactly sixteen!", "TOOL", "Exactly sixteen!"},
      {"", "", std::string(4, '\0'), std::string(16, '\0')},
      {nullptr, nullptr, std::string(4, '\0'), std::string(16, '\0')},
  };
  for (const Case& c : kCases) {
    FFGLPluginRegistration record(NoFactory, c.uniqueId, c.name, 1, 6, 1, 4, 1, "d", "a", 0,
                                  nullptr);
    EXPECT_EQ(Bytes(record.info.uniqueId, 4), c.idBytes) << c.uniqueId;
    EXPECT_EQ(Bytes(record.info.name, 16), c.nameBytes) << c.name;
  }
  // The identifier has no terminator: the byte after it is the name's first.
  FFGLPluginRegistration record(NoFactory, "QTRV", "Vantorel1", 1, 6, 1, 4, 1, "d", "a", 0,
                                nullptr);
  const auto* bytes = reinterpret_cast<const char*>(&record.info);
  EXPECT_EQ(std::string(bytes + 8, 5), "QTRVV");
}

TEST(RegistrationRecord, StoresVersionsTextsAndFactory) {
  const char kDescription[] =
      "Generate  a circular black and white checker control rotation, vortex , edge smoothness";
  FFGLPluginRegistration record(NoFactory, "QTRV", "Vantorel1", 1, 6, 1, 4, 1, kDescription,
                                "credit", 0, nullptr);
  EXPECT_EQ(GetRegistration(), &record);
  EXPECT_EQ(record.GetFactory(), &NoFactory);
  EXPECT_EQ(record.info.apiMajorVersion, 1u);
  EXPECT_EQ(record.info.apiMinorVersion, 6u);
  EXPECT_EQ(record.info.pluginType, 1u);
  EXPECT_EQ(record.extendedInfo.pluginMajorVersion, 1u);
  EXPECT_EQ(record.extendedInfo.pluginMinorVersion, 4u);
  ASSERT_NE(record.extendedInfo.description, nullptr);
  EXPECT_STREQ(record.extendedInfo.description, kDescription);
  EXPECT_NE(record.extendedInfo.description, kDescription) << "a heap copy, not the caller's";
  EXPECT_EQ(std::string(record.extendedInfo.description).size(), 87u);
  EXPECT_STREQ(record.extendedInfo.about, "credit");
  EXPECT_EQ(Call(FF_GETINFO), reinterpret_cast<FFResult>(record.GetInfoRecord()));
  EXPECT_EQ(Call(FF_GETEXTENDEDINFO), reinterpret_cast<FFResult>(record.GetExtendedInfoRecord()));
  EXPECT_EQ(Call(FF_GETINFO), reinterpret_cast<FFResult>(&record.info));
}

TEST(RegistrationRecord, ExtendedDataNeedsSizeAndAddress) {
  static const char kBlock[] = {1, 2, 3};
  struct Case {
    uint32_t size;
    const void* data;
    uint32_t storedSize;
    const void* storedData;
  };
  const Case kCases[] = {
      {0, nullptr, 0, nullptr},
      {0, kBlock, 0, nullptr},
      {3, nullptr, 0, nullptr},
      {3, kBlock, 3, kBlock},
  };
  for (const Case& c : kCases) {
    FFGLPluginRegistration record(NoFactory, "QTRV", "n", 1, 6, 1, 4, 1, "d", "a", c.size, c.data);
    EXPECT_EQ(record.extendedInfo.extendedDataSize, c.storedSize) << "size " << c.size;
    EXPECT_EQ(record.extendedInfo.extendedData, c.storedData) << "size " << c.size;
  }
}

TEST(RegistrationRecord, TextCopiesAreOwnedAndMayBeMissing) {
  struct Case {
    const char* what;
    size_t successes;  // allocations allowed before the rest fail
    const char* description;
    const char* about;
    bool expectDescription;
    bool expectAbout;
  };
  const Case kCases[] = {
      {"both copied", 64, "d", "a", true, true},
      {"null texts", 64, nullptr, nullptr, false, false},
      {"no memory", 0, "d", "a", false, false},
      {"memory for one", 1, "d", "a", false, true},
  };
  for (const Case& c : kCases) {
    const size_t before = counting_allocator::LiveBlocks();
    {
      counting_allocator::FailAfter(c.successes);
      FFGLPluginRegistration record(NoFactory, "QTRV", "n", 1, 6, 1, 4, 1, c.description, c.about,
                                    0, nullptr);
      counting_allocator::StopFailing();
      EXPECT_EQ(record.extendedInfo.description != nullptr, c.expectDescription) << c.what;
      EXPECT_EQ(record.extendedInfo.about != nullptr, c.expectAbout) << c.what;
    }
    EXPECT_EQ(counting_allocator::LiveBlocks(), before) << c.what << ": texts not freed";
  }
}

}  // namespace
