// Parameter storage and the construction state of a Vantorel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "HostCalls.h"
#include "effect/Vantorel.h"

namespace {

TEST(VantorelParameters, SwitchesTruncateTowardZeroAndSaturate) {
  struct Case {
    uint32_t index;
    float sent;
    int32_t stored;
  };
  const float kInf = std::numeric_limits<float>::infinity();
  const Case kCases[] = {
      {9, 0.99f, 0},
      {9, 1.0f, 1},
      {10, 2.5f, 2},
      {10, -0.5f, 0},
      {10, -1.0f, -1},
      {9, -2.9f, -2},
      {9, std::numeric_limits<float>::quiet_NaN(), 0},
      {10, kInf, std::numeric_limits<int32_t>::max()},
      {10, -kInf, std::numeric_limits<int32_t>::min()},
      {9, 3.0e9f, std::numeric_limits<int32_t>::max()},
      {9, -3.0e9f, std::numeric_limits<int32_t>::min()},
      {10, 2147483520.0f, 2147483520},  // the largest float below 2^31
  };
  for (const Case& c : kCases) {
    Vantorel plugin;
    EXPECT_EQ(plugin.SetParameterFloat(c.index, c.sent), 0);
    const int32_t stored = c.index == 9 ? plugin.linearScale : plugin.invertSpeed;
    EXPECT_EQ(stored, c.stored) << "parameter " << c.index << " sent " << c.sent;
    EXPECT_EQ(plugin.GetParameterFloat(c.index), static_cast<float>(c.stored))
        << "parameter " << c.index << " sent " << c.sent;
  }
}

TEST(VantorelParameters, FloatsAreStoredAsSentAndReadBack) {
  const float kValues[] = {3.0f, -0.25f, 0.0f, 1.0f, 1.0e-30f};
  float Vantorel::*const kFields[] = {&Vantorel::speed,
                                      &Vantorel::vortexSpeed,
                                      &Vantorel::vortexFrequency,
                                      &Vantorel::linesSoftness,
                                      &Vantorel::circlesSoftness,
                                      &Vantorel::size,
                                      &Vantorel::evenCirclesOffset,
                                      &Vantorel::oddCirclesOffset,
                                      &Vantorel::alphaMode};
  for (uint32_t index = 0; index < 9; ++index) {
    for (float value : kValues) {
      Vantorel plugin;
      EXPECT_EQ(plugin.SetParameterFloat(index, value), 0);
      EXPECT_EQ(Bits(plugin.*kFields[index]), Bits(value)) << "field of parameter " << index;
      EXPECT_EQ(Bits(plugin.GetParameterFloat(index)), Bits(value)) << "parameter " << index;
    }
  }
  Vantorel plugin;
  plugin.SetParameterFloat(0, std::numeric_limits<float>::quiet_NaN());
  EXPECT_TRUE(std::isnan(plugin.GetParameterFloat(0))) << "a NaN is stored unchanged";
}

TEST(VantorelParameters, UndeclaredIndicesAreRefusedAndChangeNothing) {
  Vantorel plugin;
  for (uint32_t index : {11u, 12u, 0x80000000u, 0xFFFFFFFFu}) {
    EXPECT_EQ(plugin.SetParameterFloat(index, 0.25f), -1) << "index " << index;
    EXPECT_EQ(plugin.GetParameterFloat(index), -1.0f) << "index " << index;
  }
  for (uint32_t index = 0; index < 11; ++index) {
    EXPECT_NE(plugin.GetParameterFloat(index), 0.25f) << "index " << index << " was written";
  }
}

TEST(VantorelConstruction, FreshObjectHoldsTheConstructorValues) {
  Vantorel plugin;
  for (uint32_t index = 0; index < 8; ++index) {
    EXPECT_EQ(plugin.GetParameterFloat(index), 0.5f) << "parameter " << index;
  }
  for (uint32_t index = 8; index < 11; ++index) {
    EXPECT_EQ(plugin.GetParameterFloat(index), 0.0f) << "parameter " << index;
  }
  EXPECT_EQ(plugin.mouseZ, 0.5f);
  EXPECT_EQ(plugin.mouseW, 0.5f);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(plugin.mouseVector[i], 0.5f) << "mouseVector " << i;
    EXPECT_EQ(plugin.channelResolution[i][0], 0.0f) << "channelResolution " << i;
    EXPECT_EQ(plugin.channelResolution[i][1], 0.0f) << "channelResolution " << i;
    EXPECT_EQ(plugin.channelResolution[i][2], 1.0f) << "channelResolution " << i;
    EXPECT_EQ(plugin.channelTime[i], 0.0f);
    EXPECT_EQ(plugin.date[i], 0.0f);
    EXPECT_EQ(plugin.copyTextures[i], 0u);
  }
  EXPECT_EQ(plugin.copyFramebuffer, 0u);
  EXPECT_FALSE(plugin.shaderReady);
  EXPECT_EQ(plugin.time, 0.0f);
  EXPECT_EQ(plugin.time2, 0.0f);
  EXPECT_EQ(plugin.clockNow, 0.0);
  EXPECT_EQ(plugin.clock.ticksPerMs, 0.0);
  EXPECT_EQ(plugin.clock.startCount, 0);
  EXPECT_EQ(plugin.extensions.hasMultitexture, 0);
  EXPECT_EQ(plugin.extensions.hasShaderObjects, 0);
  EXPECT_EQ(plugin.extensions.glActiveTexture, nullptr);
  EXPECT_EQ(plugin.shader.program, 0u);
  EXPECT_EQ(plugin.GetMinimumInputs(), 0);
  EXPECT_EQ(plugin.GetMaximumInputs(), 2);
  EXPECT_FALSE(plugin.GetAcceptsHostTime());
}

TEST(VantorelConstruction, FactoryMakesAnInstanceDeletableThroughTheBase) {
  CFreeFrameGLPlugin* made = nullptr;
  ASSERT_EQ(Vantorel::createInstance(&made), 0);
  ASSERT_NE(made, nullptr);
  std::unique_ptr<CFreeFrameGLPlugin> owned(made);
  EXPECT_NE(dynamic_cast<Vantorel*>(made), nullptr);
  EXPECT_EQ(made->GetParameterCount(), 11u);
  EXPECT_EQ(Vantorel::createInstance(nullptr), -1);
}

}  // namespace
