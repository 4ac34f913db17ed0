// The entry point in a program where no plugin registered itself.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/CFreeFrameGLPlugin.h"
#include "host/FreeFrame.h"

namespace {

FFResult Call(uint32_t code, FFMixed input, FFInstanceID id = 0) {
  return plugMain(code, input, id);
}

FFMixed Value(uint32_t value) {
  FFMixed input;
  input.PointerValue = nullptr;
  input.UIntValue = value;
  return input;
}

// An object the host never got from code 18, standing in for a live instance.
class Standalone : public CFreeFrameGLPlugin {
 public:
  float GetParameterFloat(uint32_t) override { return 0.5f; }
  const char* GetParameterText(uint32_t) override { return "text"; }
};

TEST(NoRegistration, CodesThatNeedTheRegistrationFail) {
  ViewportRecord viewport{0, 0, 8, 8};
  FFMixed viewportInput;
  viewportInput.PointerValue = &viewport;
  struct Case {
    uint32_t code;
    FFMixed input;
    FFResult expected;
  };
  const Case kCases[] = {
      {FF_GETINFO, Value(0), 0},
      {FF_GETEXTENDEDINFO, Value(0), 0},
      {FF_INITIALISE, Value(0), FF_FAIL},
      {FF_GETNUMPARAMETERS, Value(0), FF_FAIL},
      {FF_GETPARAMETERNAME, Value(0), 0},
      {FF_GETPARAMETERDEFAULT, Value(0), FF_FAIL},
      {FF_GETPLUGINCAPS, Value(FF_CAP_OPENGL), FF_FAIL},
      {FF_GETPARAMETERTYPE, Value(0), FF_FAIL},
      {FF_INSTANTIATEGL, viewportInput, FF_FAIL},
      {FF_DEINITIALISE, Value(0), FF_SUCCESS},
      {3, Value(0), FF_FAIL},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(Call(c.code, c.input), c.expected) << "code " << c.code;
  }
}

TEST(NoRegistration, ParameterCodesTakeTheFloatPath) {
  // Without a query instance no index is known to be a text.
  Standalone instance;
  const FFInstanceID id = reinterpret_cast<FFInstanceID>(&instance);
  EXPECT_EQ(Call(FF_GETPARAMETER, Value(0), id), 0x3F000000u);
  ParameterPair pair{};
  pair.index = 0;
  FFMixed input;
  input.PointerValue = &pair;
  EXPECT_EQ(Call(FF_SETPARAMETER, input, id), FF_FAIL) << "the base float setter refuses";
}

}  // namespace
