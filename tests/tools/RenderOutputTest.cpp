// The renderer end to end on a small test plugin whose picture is known exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Pictures.h"
#include "ToolRun.h"

namespace {

using Pixel = std::vector<uint8_t>;

// The test plugin's picture with its defaults: upper half (255, 51, 0, 153), lower half black.
const Pixel kTopDefault = {255, 51, 0, 153};
const Pixel kBlack = {0, 0, 0, 255};

class RenderOutputTest : public ::testing::Test {
 protected:
  ToolResult Render(std::vector<std::string> args, const char* plugin = FAKE_SOURCE) {
    args.insert(args.begin(), {"--plugin", plugin, "--quiet"});
    return RunTool(VANTOREL_RENDER, args);
  }

  // Renders one PNG and reads it back; fails the test when either step fails.
  Picture RenderPng(std::vector<std::string> args, const char* plugin = FAKE_SOURCE) {
    const std::string path = scratch_.File("frame.png");
    args.insert(args.end(), {"-o", path});
    const ToolResult run = Render(args, plugin);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    Picture picture;
    std::string error;
    EXPECT_TRUE(ReadPng(path, &picture, &error)) << error;
    return picture;
  }

  ScratchFolder scratch_;
};

TEST_F(RenderOutputTest, PngIsUprightWithAlphaKept) {
  const Picture picture = RenderPng({"--size", "8x6"});
  ASSERT_EQ(picture.width, 8u);
  ASSERT_EQ(picture.height, 6u);
  for (uint32_t y = 0; y < picture.height; ++y) {
    const Pixel& wanted = y < 3 ? kTopDefault : kBlack;
    for (uint32_t x = 0; x < picture.width; x += 7) {
      EXPECT_EQ(picture.At(x, y), wanted) << "pixel (" << x << ", " << y << ") from the top";
    }
  }
}

TEST_F(RenderOutputTest, SetReachesThePluginByAnyNameForm) {
  struct Case {
    const char* assignment;
    Pixel top;
  };
  const Case kCases[] = {
      {"Green=1", {255, 255, 0, 153}},
      {"gREEN=0.6", {255, 153, 0, 153}},
      {"blue channel val=1", {255, 51, 255, 153}},  // all 16 bytes, no terminator
      {"3=1", {255, 51, 0, 255}},                   // by index
      {"Red=0", {0, 51, 0, 153}},
      {"Red=-2", {0, 51, 0, 153}},  // sent as is; the framebuffer clamps
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.assignment);
    const Picture picture = RenderPng({"--size", "4x4", "--set", c.assignment});
    ASSERT_EQ(picture.rgba.size(), 64u);
    EXPECT_EQ(picture.At(1, 0), c.top);
    EXPECT_EQ(picture.At(1, 3), kBlack);
  }
}

TEST_F(RenderOutputTest, RepeatedSetsAndSwitchesApplyTogether) {
  const Picture picture =
      RenderPng({"--size", "4x4", "--set", "Split=0", "--set", "Red=0.2", "--set", "Alpha=1"});
  ASSERT_EQ(picture.rgba.size(), 64u);
  EXPECT_EQ(picture.At(0, 0), (Pixel{51, 51, 0, 255}));
  EXPECT_EQ(picture.At(3, 3), (Pixel{51, 51, 0, 255})) << "Split=0 paints the whole picture";
}

TEST_F(RenderOutputTest, HostTimeReachesATimedPluginFrameByFrame) {
  // The timed plugin shows the host time as blue: frame k at 5 fps is k/5 seconds.
  const ToolResult run =
      Render({"--size", "4x2", "--frames", "4", "--fps", "5", "-o", scratch_.File("seq_%02d.png")},
             FAKE_TIMED_SOURCE);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(scratch_.Entries(),
            (std::vector<std::string>{"seq_00.png", "seq_01.png", "seq_02.png", "seq_03.png"}));
  const int kBlue[] = {0, 51, 102, 153};
  for (int k = 0; k < 4; ++k) {
    Picture picture;
    std::string error;
    ASSERT_TRUE(ReadPng(scratch_.File("seq_0" + std::to_string(k) + ".png"), &picture, &error))
        << error;
    EXPECT_EQ(picture.At(0, 0), (Pixel{255, 51, static_cast<uint8_t>(kBlue[k]), 153}))
        << "frame " << k;
  }
}

TEST_F(RenderOutputTest, GifHasTheFrameCountSizeAndGreyPalette) {
  const std::string path = scratch_.File("clip.gif");
  const ToolResult run =
      Render({"--size", "10x8", "--frames", "3", "--fps", "25", "--set", "Green=1", "-o", path});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  GifMovie movie;
  std::string error;
  ASSERT_TRUE(ReadGif(path, &movie, &error)) << error;
  EXPECT_EQ(movie.width, 10u);
  EXPECT_EQ(movie.height, 8u);
  ASSERT_EQ(movie.frames.size(), 3u);
  ASSERT_EQ(movie.palette.size(), 256u * 3);
  for (int level = 0; level < 256; level += 51) {
    EXPECT_EQ(movie.palette[level * 3], level);
    EXPECT_EQ(movie.palette[level * 3 + 2], level);
  }
  // Yellow (255, 255, 0) has luma 226; black stays 0.
  for (size_t f = 0; f < movie.frames.size(); ++f) {
    ASSERT_EQ(movie.frames[f].size(), 80u);
    EXPECT_EQ(movie.frames[f][0], 226) << "frame " << f << " top";
    EXPECT_EQ(movie.frames[f][79], 0) << "frame " << f << " bottom";
    EXPECT_EQ(movie.delays[f], 4) << "frame " << f << " lasts 1/25 s";
  }
}

TEST_F(RenderOutputTest, Y4mOnStandardOutputParses) {
  const ToolResult run =
      Render({"--size", "6x4", "--frames", "2", "-o", "-", "--format", "y4m", "--fps", "24"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  Y4mStream stream;
  std::string error;
  ASSERT_TRUE(ParseY4m(run.out, &stream, &error)) << error;
  EXPECT_EQ(stream.width, 6u);
  EXPECT_EQ(stream.height, 4u);
  EXPECT_NE(stream.header.find(" F24:1"), std::string::npos) << stream.header;
  ASSERT_EQ(stream.frames.size(), 2u);
  const std::vector<uint8_t>& frame = stream.frames[1];
  // Full-range BT.601 of (255, 51, 0) at the top left; black at the bottom right.
  EXPECT_NEAR(frame[0], 106, 1);
  EXPECT_NEAR(frame[24], 68, 1);
  EXPECT_NEAR(frame[48], 234, 1);
  EXPECT_EQ(frame[23], 0);
  EXPECT_EQ(frame[24 + 23], 128);
  EXPECT_EQ(frame[48 + 23], 128);
}

TEST_F(RenderOutputTest, RawOnStandardOutputIsUprightRgba) {
  const ToolResult run = Render({"--size", "3x2", "--frames", "2", "-o", "-", "--format", "raw"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(run.out.size(), 2u * 3 * 2 * 4);
  const auto pixel = [&run](size_t frame, size_t index) {
    const size_t at = (frame * 6 + index) * 4;
    return Pixel(run.out.begin() + static_cast<long>(at),
                 run.out.begin() + static_cast<long>(at + 4));
  };
  EXPECT_EQ(pixel(0, 0), kTopDefault);
  EXPECT_EQ(pixel(1, 2), kTopDefault);
  EXPECT_EQ(pixel(1, 5), kBlack);
}

TEST_F(RenderOutputTest, ListShowsIdentityAndEveryParameter) {
  const ToolResult run = RunTool(VANTOREL_RENDER, {"--plugin", FAKE_SOURCE, "--list"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const char* kLines[] = {
      "\"Fake Source\" (id \"QFAK\"), source, interface 1.6, version 2.3",
      "host time declined",
      "0      \"Red\"",
      "2      \"Blue Channel Val\"  standard  0",
      "3      \"Alpha\"             standard  0.6",
      "4      \"Split\"             switch    1           0 or 1",
  };
  for (const char* line : kLines) {
    EXPECT_NE(run.out.find(line), std::string::npos) << "missing \"" << line << "\" in\n"
                                                     << run.out;
  }
}

TEST_F(RenderOutputTest, ProgressGoesToStderrUnlessQuiet) {
  const std::string path = scratch_.File("p.png");
  const ToolResult loud =
      RunTool(VANTOREL_RENDER, {"--plugin", FAKE_SOURCE, "--size", "2x2", "-o", path});
  ASSERT_EQ(loud.exitCode, 0) << loud.err;
  EXPECT_NE(loud.err.find("1/1 frames"), std::string::npos) << loud.err;
  EXPECT_NE(loud.err.find("wrote 1 frame of 2x2 as PNG to " + path), std::string::npos) << loud.err;
  EXPECT_TRUE(loud.out.empty());
  EXPECT_EQ(loud.err.find("the first frame is still the cleared"), std::string::npos) << loud.err;
  const ToolResult quiet = Render({"--size", "2x2", "-o", path});
  ASSERT_EQ(quiet.exitCode, 0) << quiet.err;
  EXPECT_EQ(quiet.err, "");
}

TEST_F(RenderOutputTest, PictureLeftUntouchedIsReportedButWritten) {
  // Everything transparent black: indistinguishable from a plugin that drew nothing.
  const std::string path = scratch_.File("empty.png");
  const ToolResult run = RunTool(
      VANTOREL_RENDER, {"--plugin", FAKE_SOURCE, "--size", "2x2", "--set", "Split=0", "--set",
                        "Red=0", "--set", "Green=0", "--set", "Alpha=0", "-o", path});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("vantorel-render: warning: the first frame is still the cleared"),
            std::string::npos)
      << run.err;
  Picture picture;
  std::string error;
  EXPECT_TRUE(ReadPng(path, &picture, &error)) << error;
}

}  // namespace
