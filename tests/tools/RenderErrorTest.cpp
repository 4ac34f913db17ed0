// Bad input makes the renderer stop with its reason on stderr and a failing exit status, and
// leaves nothing under the output name.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "ToolRun.h"

namespace {

struct Case {
  const char* what;
  std::vector<std::string> args;  // "@" is replaced by the scratch folder
  const char* message;            // expected on stderr after "vantorel-render: "
};

std::string Expand(const std::string& arg, const std::string& folder) {
  std::string expanded = arg;
  const size_t at = expanded.find('@');
  if (at != std::string::npos) expanded.replace(at, 1, folder);
  return expanded;
}

class RenderErrorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(elsewhere_.File("foreign.so")) << "not a shared library\n";
  }

  // Runs the renderer, or /usr/bin/env when the arguments start with "env".
  ToolResult Check(const Case& c) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> args;
    for (const std::string& arg : c.args) args.push_back(Expand(arg, output_.path()));
    const bool viaEnv = !args.empty() && args[0] == "env";
    if (viaEnv) args.erase(args.begin());
    const ToolResult run = RunTool(viaEnv ? "/usr/bin/env" : VANTOREL_RENDER, args);
    EXPECT_NE(run.exitCode, 0) << "a failure was reported as success";
    EXPECT_LT(run.exitCode, 128) << "killed by a signal instead of failing cleanly";
    EXPECT_NE(run.err.find(std::string("vantorel-render: ") + c.message), std::string::npos)
        << "stderr was:\n"
        << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_TRUE(output_.Entries().empty())
        << "left behind: " << ::testing::PrintToString(output_.Entries());
    return run;
  }

  ScratchFolder output_;
  ScratchFolder elsewhere_;
};

TEST_F(RenderErrorTest, BadPluginFiles) {
  const std::string foreign = elsewhere_.File("foreign.so");
  const Case kCases[] = {
      {"missing file",
       {"--plugin", elsewhere_.File("missing.so"), "-o", "@/a.png"},
       "loading plugin: "},
      {"not a library", {"--plugin", foreign, "-o", "@/a.png"}, "loading plugin: "},
      {"library without plugMain",
       {"--plugin", NO_ENTRY_POINT, "-o", "@/a.png"},
       "loading plugin: " NO_ENTRY_POINT ": has no plugMain entry point"},
  };
  for (const Case& c : kCases) Check(c);
}

TEST_F(RenderErrorTest, BadParameters) {
  const Case kCases[] = {
      {"unknown name",
       {"--plugin", FAKE_SOURCE, "--set", "Purple=1", "-o", "@/a.png"},
       "setting parameter: unknown parameter \"Purple\" (known: \"Red\", \"Green\""},
      {"index past the end",
       {"--plugin", FAKE_SOURCE, "--set", "5=1", "-o", "@/a.png"},
       "setting parameter: unknown parameter \"5\""},
      {"name longer than the host reads",
       {"--plugin", FAKE_SOURCE, "--set", "Blue Channel Value=1", "-o", "@/a.png"},
       "setting parameter: unknown parameter"},
      {"no equals sign",
       {"--plugin", FAKE_SOURCE, "--set", "Red", "-o", "@/a.png"},
       "setting parameter: \"Red\" is not NAME=VALUE"},
      {"word for a value",
       {"--plugin", FAKE_SOURCE, "--set", "Red=bright", "-o", "@/a.png"},
       "setting parameter: value \"bright\" for \"Red\" is not a number"},
      {"trailing junk",
       {"--plugin", FAKE_SOURCE, "--set", "Red=0.5x", "-o", "@/a.png"},
       "setting parameter: value \"0.5x\" for \"Red\" is not a number"},
      {"empty value",
       {"--plugin", FAKE_SOURCE, "--set", "Red=", "-o", "@/a.png"},
       "setting parameter: value \"\" for \"Red\" is not a number"},
      {"not finite",
       {"--plugin", FAKE_SOURCE, "--set", "Red=nan", "-o", "@/a.png"},
       "setting parameter: value \"nan\" for \"Red\" is not a number"},
  };
  for (const Case& c : kCases) Check(c);
}

TEST_F(RenderErrorTest, BadSizesAndOutputs) {
  const Case kCases[] = {
      {"zero width",
       {"--plugin", FAKE_SOURCE, "--size", "0x10", "-o", "@/a.png"},
       "reading size: \"0x10\""},
      {"no height", {"--plugin", FAKE_SOURCE, "--size", "64", "-o", "@/a.png"}, "reading size"},
      {"negative", {"--plugin", FAKE_SOURCE, "--size", "-4x4", "-o", "@/a.png"}, "reading size"},
      {"beyond the driver",
       {"--plugin", FAKE_SOURCE, "--size", "1000000x16", "-o", "@/a.png"},
       "checking size: 1000000x16 is beyond the driver's limit"},
      {"folder that does not exist",
       {"--plugin", FAKE_SOURCE, "-o", "@/no/such/folder/a.png"},
       "opening output: "},
      {"a folder as the file",
       {"--plugin", FAKE_SOURCE, "--format", "png", "-o", "@"},
       "opening output: "},
      {"a name ending in a slash",
       {"--plugin", FAKE_SOURCE, "--format", "png", "-o", "@/"},
       "opening output: "},
      {"unknown extension", {"--plugin", FAKE_SOURCE, "-o", "@/a.bmp"}, "reading output name: "},
      {"standard output without a format",
       {"--plugin", FAKE_SOURCE, "-o", "-"},
       "reading output name: -o - needs --format raw or --format y4m"},
      {"PNG to standard output",
       {"--plugin", FAKE_SOURCE, "-o", "-", "--format", "png"},
       "reading output name: only raw and y4m"},
      {"bad number pattern",
       {"--plugin", FAKE_SOURCE, "-o", "@/a_%s.png"},
       "reading output name: "},
      {"no output at all", {"--plugin", FAKE_SOURCE}, "reading options: no output"},
      {"frames not a number",
       {"--plugin", FAKE_SOURCE, "--frames", "many", "-o", "@/a.png"},
       "reading options: "},
      {"frames and duration both",
       {"--plugin", FAKE_SOURCE, "--frames", "2", "--duration", "1", "-o", "@/a.png"},
       "reading options: "},
  };
  for (const Case& c : kCases) Check(c);
}

TEST_F(RenderErrorTest, ContextThatCannotBeMadeNamesTheStepAndThePackages) {
  // Pointing the EGL loader at no vendor library leaves it with no driver at all.
  const ToolResult run =
      Check({"no EGL driver",
             {"env", "__EGL_VENDOR_LIBRARY_FILENAMES=" + elsewhere_.File("none.json"),
              "EGL_PLATFORM=surfaceless", VANTOREL_RENDER, "--plugin", FAKE_SOURCE, "--egl",
              "surfaceless", "-o", "@/a.png"},
             "making OpenGL context: "});
  EXPECT_NE(run.err.find("apt-get install libegl1 libgl1-mesa-dri libegl-mesa0"), std::string::npos)
      << run.err;
}

}  // namespace

namespace {

TEST_F(RenderErrorTest, FailureMidwayLeavesNothingBehind) {
  // At 0.05 fps each frame is 20 s of host time: the timed test plugin fails at frame 5, after
  // earlier frames were encoded.
  const char* kOutputs[] = {"@/a.png", "@/a_%03d.png", "@/a.gif", "@/a.y4m", "@/a.rgba"};
  for (const char* output : kOutputs) {
    Check({output,
           {"--plugin", FAKE_TIMED_SOURCE, "--size", "8x8", "--frames", "9", "--fps", "0.05", "-o",
            output},
           "drawing: the plugin failed frame 5"});
  }
}

}  // namespace
