// The renderer's pure parts: option texts, output names and parameter assignments.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "OutputPlan.h"
#include "ParameterAssignment.h"
#include "StagedFile.h"
#include "ToolError.h"

namespace vtool {
namespace {

std::vector<ParameterInfo> SomeParameters() {
  std::vector<ParameterInfo> parameters(3);
  parameters[0] = {0, "Speed", FF_TYPE_STANDARD, 0.1f, ""};
  parameters[1] = {1, "Even Circles Off", FF_TYPE_STANDARD, 0.5f, ""};
  parameters[2] = {2, "Caption", FF_TYPE_TEXT, 0.0f, "hello"};
  return parameters;
}

TEST(ParseAssignmentTest, ResolvesNamesIndicesAndValues) {
  struct Case {
    const char* text;
    uint32_t index;
    float number;
    const char* words;
  };
  const Case kCases[] = {
      {"Speed=0.25", 0, 0.25f, ""},
      {"SPEED=-1e-3", 0, -1e-3f, ""},
      {"even circles off=1", 1, 1.0f, ""},
      {"1=0.75", 1, 0.75f, ""},
      {"0=3", 0, 3.0f, ""},
      {"Caption=some text", 2, 0.0f, "some text"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    const ParameterAssignment got = ParseAssignment(c.text, SomeParameters());
    EXPECT_EQ(got.index, c.index);
    EXPECT_FLOAT_EQ(got.value.number, c.number);
    EXPECT_EQ(got.value.text, c.words);
  }
}

TEST(ParseAssignmentTest, RejectsWhatItCannotResolve) {
  const char* kCases[] = {"Speed",
                          "Sped=1",
                          "Even Circles Offset=1",
                          "3=1",
                          "=1",
                          "Speed=",
                          "Speed= 1",
                          "Speed=1,5",
                          "Speed=inf",
                          "Speed=1e99",
                          "99999999999999=1",
                          "-1=0",
                          "Caption=a=b"};  // the last '=' splits: "Caption=a" is unknown
  for (const char* text : kCases) {
    EXPECT_THROW(ParseAssignment(text, SomeParameters()), ToolError) << text;
  }
}

TEST(ParseSizeTest, AcceptsOnlyPositiveWholeSides) {
  const Size size = ParseSize("640x360");
  EXPECT_EQ(size.width, 640u);
  EXPECT_EQ(size.height, 360u);
  EXPECT_EQ(ParseSize("1X1").height, 1u);
  const char* kBad[] = {"",      "x",    "0x1",          "1x0",   "12",   "12x", "x12",
                        "1.5x2", "-1x2", "4294967296x1", "1x2x3", " 1x2", "0x0"};
  for (const char* text : kBad) EXPECT_THROW(ParseSize(text), ToolError) << "\"" << text << "\"";
}

TEST(OutputPlanTest, ChoosesTheKindFromNameAndFormat) {
  struct Case {
    const char* path;
    const char* format;
    OutputKind kind;
  };
  const Case kCases[] = {
      {"a.png", "auto", OutputKind::kPng},
      {"dir/A.PNG", "auto", OutputKind::kPng},
      {"out_%04d.png", "auto", OutputKind::kPngSequence},
      {"100%%_%d.png", "auto", OutputKind::kPngSequence},
      {"100%%.png", "auto", OutputKind::kPng},
      {"clip.gif", "auto", OutputKind::kGif},
      {"clip.y4m", "auto", OutputKind::kY4m},
      {"clip.rgba", "auto", OutputKind::kRaw},
      {"-", "y4m", OutputKind::kY4m},
      {"-", "raw", OutputKind::kRaw},
      {"picture", "png", OutputKind::kPng},
      {"frames_%03d", "png", OutputKind::kPngSequence},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.path) + " " + c.format);
    const OutputPlan plan = PlanOutput(c.path, c.format);
    EXPECT_EQ(plan.kind, c.kind);
    EXPECT_EQ(plan.toStdout, std::string(c.path) == "-");
  }
}

TEST(OutputPlanTest, RejectsNamesItCannotWrite) {
  struct Case {
    const char* path;
    const char* format;
  };
  const Case kCases[] = {
      {"", "auto"},         {"-", "auto"},           {"-", "png"},           {"-", "gif"},
      {"a.bmp", "auto"},    {"a_%d_%d.png", "auto"}, {"a_%s.png", "auto"},   {"a_%.png", "auto"},
      {"a_%d.gif", "auto"}, {"a.png", "tiff"},       {"a_%99d.png", "auto"}, {"a_%", "png"},
  };
  for (const Case& c : kCases) {
    EXPECT_THROW(PlanOutput(c.path, c.format), ToolError) << c.path << " " << c.format;
  }
}

TEST(SequenceNameTest, FillsTheNumber) {
  struct Case {
    const char* pattern;
    uint32_t number;
    const char* name;
  };
  const Case kCases[] = {
      {"out_%04d.png", 7, "out_0007.png"},    {"out_%04d.png", 12345, "out_12345.png"},
      {"out_%d.png", 0, "out_0.png"},         {"%3d.png", 5, "  5.png"},
      {"50%%/f_%02d.png", 3, "50%/f_03.png"},
  };
  for (const Case& c : kCases) EXPECT_EQ(SequenceName(c.pattern, c.number), c.name);
}

// Renaming a staged file over a device or pipe would replace the node itself (run as root,
// "-o /dev/null" would have replaced the device); such outputs are written in place.
TEST(StagedFileTest, WritesAPipeInPlaceAndLeavesItAPipe) {
  char folder[] = "/tmp/staged-fifo-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string path = std::string(folder) + "/pipe";
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  // A reader must be open for the writer's open not to block.
  const int reader = open(path.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  {
    StagedFile file(path);
    EXPECT_TRUE(file.stagedPath().empty()) << "a pipe was staged under " << file.stagedPath();
    ASSERT_GE(std::fputs("frame", file.stream()), 0);
    file.Commit();
  }
  char got[8] = {};
  EXPECT_EQ(read(reader, got, sizeof got), 5);
  EXPECT_STREQ(got, "frame");
  close(reader);
  struct stat after {};
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_TRUE(S_ISFIFO(after.st_mode)) << path << " is no longer a pipe";
  unlink(path.c_str());
  rmdir(folder);
}

}  // namespace
}  // namespace vtool
