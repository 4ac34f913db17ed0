// A small plugin of the tests' own that records how the entry point drives it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/CFreeFrameGLPlugin.h"

// Parameter indices the probe declares.
enum ProbeParameter : uint32_t { kLevel = 0, kEnabled = 1, kCaption = 2, kGain = 3 };
constexpr uint32_t kProbeParameterCount = 4;

// What the next probes do and what the probes saw; reset by each test's fixture.
struct ProbeControl {
  enum class Factory { Make, Refuse, LeaveNull, Throw };
  Factory factory = Factory::Make;
  uint32_t captionType = Text;  // type new probes declare for kCaption
  int32_t minimumInputs = 0;
  int32_t maximumInputs = 2;
  bool acceptsHostTime = false;
  int32_t startResult = 0;
  bool startThrows = false;
  uint32_t refusedIndex = 0xFFFFFFFFu;  // set operations for this index answer -1
  bool captionAnswersNoText = false;

  int factoryCalls = 0;
  int live = 0;
  std::vector<std::string> calls;  // "float 0 0.5", "text 2 hello", "start 640x480", "stop", ...
};

extern ProbeControl probe;

class ProbePlugin : public CFreeFrameGLPlugin {
 public:
  ProbePlugin();
  ~ProbePlugin() override;

  int32_t StartGL(const ViewportRecord* viewport) override;
  int32_t StopGL() override;
  int32_t SetParameterFloat(uint32_t index, float value) override;
  int32_t SetParameterText(uint32_t index, const char* value) override;
  float GetParameterFloat(uint32_t index) override;
  const char* GetParameterText(uint32_t index) override;
  int32_t DrawFrame(const ProcessFrameRecord* frame) override;
  int32_t SetHostTime(double time) override;

  static int32_t Create(CFreeFrameGLPlugin** instance);

 private:
  float values[kProbeParameterCount] = {};
  char* caption = nullptr;
};
