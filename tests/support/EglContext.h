// Fixture for tests that need a real OpenGL context: each test gets a fresh headless context
// (see tools/common/EglHost.h) with a bound RGBA8 target. When no context can be made the test
// fails with the EGL step that failed; it is never skipped.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/EglHost.h"

class EglContextTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Size of the target; a fixture overrides these for another size.
  virtual int TargetWidth() const { return 64; }
  virtual int TargetHeight() const { return 64; }

  vtool::EglHost& Host() { return *host_; }
  // One RGBA8 pixel of the target, (0, 0) at the bottom left.
  std::vector<uint8_t> Pixel(int x, int y) { return host_->Pixel(x, y); }
  // glGetError() drained: the first error code since the last call, 0 when none.
  static unsigned TakeGlError();

 private:
  std::unique_ptr<vtool::EglHost> host_;
};
