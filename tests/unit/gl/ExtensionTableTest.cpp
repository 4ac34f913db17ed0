#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "RecordingGL.h"
#include "TableFields.h"
#include "gl/FFGLExtensionTable.h"

namespace {

void Marker() {}
// Stands for an address an earlier resolution stored; never called.
const platform::ProcAddress kEarlier = &Marker;

std::vector<std::string> NamesOf(const std::vector<TableField>& fields) {
  std::vector<std::string> names;
  for (const TableField& field : fields) names.emplace_back(field.name);
  return names;
}

class ExtensionTableTest : public ::testing::Test {
 protected:
  void SetUp() override { gl.Reset(); }

  RecordingGL& gl = RecordingGL::Instance();
};

TEST_F(ExtensionTableTest, HoldsFourFlagsAndTheNinetyTwoNamesInLayoutOrder) {
  EXPECT_EQ(FieldsOf(Group::Multitexture).size(), 34u);
  EXPECT_EQ(FieldsOf(Group::ShaderObjects).size(), 39u);
  EXPECT_EQ(FieldsOf(Group::FramebufferObject).size(), 17u);
  EXPECT_EQ(FieldsOf(Group::SwapControl).size(), 2u);
  EXPECT_EQ(sizeof(FFGLExtensionTable), 92 * sizeof(void*) + 4 * alignof(void*))
      << "fields beyond the four groups";

  // Each flag leads its group and the groups follow one another.
  EXPECT_EQ(offsetof(FFGLExtensionTable, hasMultitexture), 0u);
  EXPECT_LT(offsetof(FFGLExtensionTable, glMultiTexCoord4sv),
            offsetof(FFGLExtensionTable, hasShaderObjects));
  EXPECT_LT(offsetof(FFGLExtensionTable, hasShaderObjects),
            offsetof(FFGLExtensionTable, glDeleteObjectARB));
  EXPECT_LT(offsetof(FFGLExtensionTable, glGetShaderSourceARB),
            offsetof(FFGLExtensionTable, hasFramebufferObject));
  EXPECT_LT(offsetof(FFGLExtensionTable, hasFramebufferObject),
            offsetof(FFGLExtensionTable, glBindFramebufferEXT));
  EXPECT_LT(offsetof(FFGLExtensionTable, glRenderbufferStorageEXT),
            offsetof(FFGLExtensionTable, hasSwapControl));
  EXPECT_LT(offsetof(FFGLExtensionTable, hasSwapControl),
            offsetof(FFGLExtensionTable, wglSwapIntervalEXT));
}

TEST_F(ExtensionTableTest, ConstructionClearsWhateverTheStorageHeld) {
  alignas(FFGLExtensionTable) unsigned char storage[sizeof(FFGLExtensionTable)];
  std::memset(storage, 0xAB, sizeof storage);
  auto* table = new (storage) FFGLExtensionTable();
  for (Group group : ResolutionOrder()) EXPECT_EQ(FlagOf(*table, group), 0) << GroupName(group);
  for (const TableField& field : AllFields()) {
    EXPECT_EQ(field.read(*table), nullptr) << field.name;
  }
  table->~FFGLExtensionTable();
}

TEST_F(ExtensionTableTest, FullContextSetsEveryFlagAndAddressAndLooksUpInGroupOrder) {
  FFGLExtensionTable table;
  table.ResolveAll();

  for (Group group : ResolutionOrder()) EXPECT_EQ(FlagOf(table, group), 1) << GroupName(group);
  for (const TableField& field : AllFields()) {
    EXPECT_NE(field.read(table), nullptr) << field.name;
  }
  std::vector<std::string> expected;
  for (Group group : ResolutionOrder()) {
    for (const std::string& name : NamesOf(FieldsOf(group))) expected.push_back(name);
  }
  EXPECT_EQ(gl.Lookups(), expected);
  EXPECT_TRUE(gl.Calls().empty()) << "resolution called OpenGL:\n" << gl.Transcript();
}

// One missing name: its group stops there with flag 0, everything before it keeps the address
// just found, it and everything after keep what they held, and the other groups resolve.
TEST_F(ExtensionTableTest, MissingNameStopsOnlyItsOwnGroup) {
  const char* const kMissing[] = {
      "glActiveTexture",      "glMultiTexCoord2sv",    "glMultiTexCoord4sv",
      "glDeleteObjectARB",    "glUniform1fARB",        "glGetShaderSourceARB",
      "glBindFramebufferEXT", "glGenFramebuffersEXT",  "glRenderbufferStorageEXT",
      "wglSwapIntervalEXT",   "wglGetSwapIntervalEXT",
  };
  for (const char* missing : kMissing) {
    for (bool resolvedBefore : {false, true}) {
      SCOPED_TRACE(std::string(missing) + (resolvedBefore ? ", over a resolved table" : ""));
      gl.Reset();
      FFGLExtensionTable table;
      if (resolvedBefore) {
        table.ResolveAll();
        ASSERT_EQ(table.hasMultitexture + table.hasShaderObjects + table.hasFramebufferObject +
                      table.hasSwapControl,
                  4);
        for (const TableField& field : AllFields()) field.write(table, kEarlier);
      }
      gl.Reset();
      gl.MakeMissing(missing);
      table.ResolveAll();

      const platform::ProcAddress untouched = resolvedBefore ? kEarlier : nullptr;
      std::vector<std::string> expectedLookups;
      for (Group group : ResolutionOrder()) {
        bool reached = false;
        for (const TableField& field : FieldsOf(group)) {
          if (!reached) expectedLookups.emplace_back(field.name);
          if (std::strcmp(field.name, missing) == 0) reached = true;
          const platform::ProcAddress held = field.read(table);
          if (reached) {
            EXPECT_EQ(held, untouched) << field.name << " changed at or after the missing name";
          } else {
            EXPECT_NE(held, nullptr) << field.name;
            EXPECT_NE(held, kEarlier) << field.name << " kept the earlier address";
          }
        }
        EXPECT_EQ(FlagOf(table, group), reached ? 0 : 1) << GroupName(group);
      }
      EXPECT_EQ(gl.Lookups(), expectedLookups);
    }
  }
}

TEST_F(ExtensionTableTest, NothingAvailableLeavesEveryGroupEmptyWithoutThrowing) {
  gl.SetAvailableNames({});
  FFGLExtensionTable table;
  EXPECT_NO_THROW(table.ResolveAll());
  for (Group group : ResolutionOrder()) EXPECT_EQ(FlagOf(table, group), 0) << GroupName(group);
  for (const TableField& field : AllFields()) EXPECT_EQ(field.read(table), nullptr) << field.name;
  const std::vector<std::string> firstOfEach = {"wglSwapIntervalEXT", "glActiveTexture",
                                                "glDeleteObjectARB", "glBindFramebufferEXT"};
  EXPECT_EQ(gl.Lookups(), firstOfEach);
}

TEST_F(ExtensionTableTest, GroupOperationResolvesOnlyItsGroup) {
  struct Case {
    void (FFGLExtensionTable::*resolve)();
    Group group;
  };
  const Case kCases[] = {
      {&FFGLExtensionTable::ResolveSwapControl, Group::SwapControl},
      {&FFGLExtensionTable::ResolveMultitexture, Group::Multitexture},
      {&FFGLExtensionTable::ResolveShaderObjects, Group::ShaderObjects},
      {&FFGLExtensionTable::ResolveFramebufferObject, Group::FramebufferObject},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(GroupName(c.group));
    gl.Reset();
    FFGLExtensionTable table;
    (table.*c.resolve)();
    EXPECT_EQ(gl.Lookups(), NamesOf(FieldsOf(c.group)));
    for (Group group : ResolutionOrder()) {
      EXPECT_EQ(FlagOf(table, group), group == c.group ? 1 : 0) << GroupName(group);
    }
  }
}

TEST_F(ExtensionTableTest, RepeatedResolutionWithEverythingBackSetsTheFlagAgain) {
  FFGLExtensionTable table;
  gl.MakeMissing("glUniform4fARB");
  table.ResolveAll();
  ASSERT_EQ(table.hasShaderObjects, 0);
  gl.MakeAvailable("glUniform4fARB");
  table.ResolveAll();
  EXPECT_EQ(table.hasShaderObjects, 1);
  for (const TableField& field : FieldsOf(Group::ShaderObjects)) {
    EXPECT_NE(field.read(table), nullptr) << field.name;
  }
}

TEST_F(ExtensionTableTest, OneNameLookupThrowsOnlyForAMissingName) {
  EXPECT_NE(FFGLExtensionTable::ResolveEntryPoint("glActiveTexture"), nullptr);
  gl.MakeMissing("glActiveTexture");
  EXPECT_THROW(FFGLExtensionTable::ResolveEntryPoint("glActiveTexture"), FFGLMissingEntryPoint);
  EXPECT_THROW(FFGLExtensionTable::ResolveEntryPoint("glNotAFunction"), FFGLMissingEntryPoint);
}

}  // namespace
