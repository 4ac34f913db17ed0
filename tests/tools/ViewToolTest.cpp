// The viewer under a virtual X server: its own screenshot action must catch the pattern.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PatternMatch.h"
#include "Pictures.h"
#include "ToolRun.h"

namespace {

class ViewToolTest : public ::testing::Test {
 protected:
  // Runs the viewer in a fresh virtual screen; fails loudly when xvfb-run is missing.
  ToolResult View(const std::vector<std::string>& args) {
    const std::string xvfbRun = XVFB_RUN;
    if (xvfbRun.empty() || xvfbRun.find("NOTFOUND") != std::string::npos) {
      ADD_FAILURE() << "xvfb-run is not installed (apt-get install xvfb); the viewer needs an X "
                       "server";
      return ToolResult{};
    }
    std::vector<std::string> all = {"-a",          "-s",       "-screen 0 640x480x24",
                                    VANTOREL_VIEW, "--plugin", VANTOREL_PLUGIN};
    all.insert(all.end(), args.begin(), args.end());
    return RunTool(xvfbRun, all);
  }

  ScratchFolder scratch_;
};

TEST_F(ViewToolTest, ScreenshotAfterAFewFramesIsThePattern) {
  const std::string shot = scratch_.File("shot.png");
  const ToolResult run =
      View({"--size", "200x120", "--set", "Speed=0", "--set", "Circles Softness=0.2",
            "--screenshot-after", "5", "--screenshot", shot});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("saved 200x120 screenshot to " + shot), std::string::npos) << run.err;
  Picture picture;
  std::string error;
  ASSERT_TRUE(ReadPng(shot, &picture, &error)) << error;
  ASSERT_EQ(picture.width, 200u);
  ASSERT_EQ(picture.height, 120u);
  PatternParams params;
  params.circlesSoftness = 0.2f;
  // The screenshot is taken before the panel is drawn: the whole picture is the pattern.
  EXPECT_TRUE(MatchesPattern(params, picture));
}

TEST_F(ViewToolTest, ResizeMakesANewInstanceThatKeepsTheValues) {
  const std::string shot = scratch_.File("resized.png");
  const ToolResult run =
      View({"--size", "200x120", "--set", "Speed=0", "--set", "Size=0.6", "--resize", "150x100",
            "--screenshot-after", "8", "--screenshot", shot});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  Picture picture;
  std::string error;
  ASSERT_TRUE(ReadPng(shot, &picture, &error)) << error;
  ASSERT_EQ(picture.width, 150u) << "the drawing surface did not follow the window";
  ASSERT_EQ(picture.height, 100u);
  PatternParams params;
  params.size = 0.6f;
  // Centred on the new viewport and still at the size set before the resize.
  EXPECT_TRUE(MatchesPattern(params, picture));
}

TEST_F(ViewToolTest, BadInputFailsWithItsReason) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case kCases[] = {
      {{"--set", "Nothing=1", "--frames", "1"}, "vantorel-view: setting parameter: unknown"},
      {{"--size", "0x0", "--frames", "1"}, "vantorel-view: reading size"},
      {{"--set", "Size=big", "--frames", "1"}, "vantorel-view: setting parameter: value"},
  };
  for (const Case& c : kCases) {
    const ToolResult run = View(c.args);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
}

}  // namespace
