// The renderer on the real plugin: its listing and its picture against the CPU reference.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PatternMatch.h"
#include "Pictures.h"
#include "ToolRun.h"

namespace {

TEST(VantorelRenderTest, ListShowsTheElevenParametersAsTheHostReadsThem) {
  const ToolResult run = RunTool(VANTOREL_RENDER, {"--plugin", VANTOREL_PLUGIN, "--list"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("\"Vantorel1\" (id \"QTRV\"), source, interface 1.6, version 1.4"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("host time declined, inputs 0 to 2"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("parameters:   11\n"), std::string::npos) << run.out;
  // Names of 16 characters or more come back cut to 16, without terminator.
  const char* kRows[] = {
      "0      \"Speed\"             standard  0.1",
      "1      \"Vortex Speed\"      standard  0 ",
      "2      \"Vortex Frequence\"  standard  0 ",
      "3      \"Lines Softness\"    standard  0 ",
      "4      \"Circles Softness\"  standard  0 ",
      "5      \"Size\"              standard  0.2",
      "6      \"Even Circles Off\"  standard  0.5",
      "7      \"Odd Circles Offs\"  standard  0.5",
      "8      \"Alpha Mode\"        standard  0 ",
      "9      \"Linear Scale\"      switch    0           0 or 1",
      "10     \"Invert Speed\"      switch    0           0 or 1",
  };
  for (const char* row : kRows) {
    EXPECT_NE(run.out.find(row), std::string::npos) << "missing row " << row << " in\n" << run.out;
  }
}

TEST(VantorelRenderTest, StillPatternMatchesTheReference) {
  struct Case {
    const char* what;
    std::vector<std::string> sets;
    PatternParams params;
  };
  PatternParams larger;
  larger.size = 0.6f;
  larger.circlesSoftness = 0.3f;
  PatternParams linear;
  linear.linearScale = 1;
  linear.alphaMode = 1.0f;
  linear.size = 0.45f;
  const Case kCases[] = {
      {"defaults, both speeds 0", {}, PatternParams{}},
      {"larger with soft rings", {"size=0.6", "Circles Softness=0.3"}, larger},
      {"continuous spokes, pattern as alpha", {"9=1", "alpha mode=1", "Size=0.45"}, linear},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    ScratchFolder scratch;
    const std::string path = scratch.File("still.png");
    std::vector<std::string> args = {
        "--plugin", VANTOREL_PLUGIN, "--quiet",        "--size", "160x96", "--set",
        "Speed=0",  "--set",         "Vortex Speed=0", "-o",     path};
    for (const std::string& set : c.sets) args.insert(args.end(), {"--set", set});
    const ToolResult run = RunTool(VANTOREL_RENDER, args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    Picture picture;
    std::string error;
    ASSERT_TRUE(ReadPng(path, &picture, &error)) << error;
    EXPECT_TRUE(MatchesPattern(c.params, picture));
  }
}

TEST(VantorelRenderTest, StillFramesOfAClipAreIdentical) {
  // With both speeds 0 nothing moves, so every frame of the clip is the same picture.
  ScratchFolder scratch;
  const std::string path = scratch.File("still.gif");
  const ToolResult run =
      RunTool(VANTOREL_RENDER, {"--plugin", VANTOREL_PLUGIN, "--quiet", "--size", "64x48",
                                "--frames", "4", "--fps", "50", "--set", "Speed=0", "-o", path});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  GifMovie movie;
  std::string error;
  ASSERT_TRUE(ReadGif(path, &movie, &error)) << error;
  ASSERT_EQ(movie.frames.size(), 4u);
  for (size_t f = 1; f < movie.frames.size(); ++f) {
    EXPECT_EQ(movie.frames[f], movie.frames[0]) << "frame " << f << " moved";
  }
}

}  // namespace
