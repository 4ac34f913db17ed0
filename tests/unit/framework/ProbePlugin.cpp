#include "ProbePlugin.h"

#include <cstring>
#include <new>
#include <sstream>
#include <stdexcept>

ProbeControl probe;

namespace {

std::string Describe(const char* what, uint32_t index, double value) {
  std::ostringstream out;
  out << what << ' ' << index << ' ' << value;
  return out.str();
}

}  // namespace

ProbePlugin::ProbePlugin() {
  ++probe.live;
  DeclareParameter(kLevel, "Level", Standard, 0.5f);
  DeclareBooleanParameter(kEnabled, "Enabled", Boolean, true);
  DeclareTextParameter(kCaption, "Caption", probe.captionType, "hello");
  DeclareParameter(kGain, "Overdriven gain control", Standard, 1.5f);
  SetMinimumInputs(probe.minimumInputs);
  SetMaximumInputs(probe.maximumInputs);
  SetAcceptsHostTime(probe.acceptsHostTime);
}

ProbePlugin::~ProbePlugin() {
  delete[] caption;
  --probe.live;
}

int32_t ProbePlugin::Create(CFreeFrameGLPlugin** instance) {
  ++probe.factoryCalls;
  *instance = nullptr;
  switch (probe.factory) {
    case ProbeControl::Factory::Refuse:
      return -1;
    case ProbeControl::Factory::LeaveNull:
      return 0;
    case ProbeControl::Factory::Throw:
      throw std::runtime_error("factory failure");
    case ProbeControl::Factory::Make:
      break;
  }
  ProbePlugin* made = new (std::nothrow) ProbePlugin;
  if (made == nullptr) return -1;
  if (made->DeclarationFailed()) {
    delete made;
    return -1;
  }
  *instance = made;
  return 0;
}

int32_t ProbePlugin::StartGL(const ViewportRecord* viewport) {
  probe.calls.push_back("start " + std::to_string(viewport->width) + "x" +
                        std::to_string(viewport->height));
  if (probe.startThrows) throw std::runtime_error("start failure");
  return probe.startResult;
}

int32_t ProbePlugin::StopGL() {
  probe.calls.push_back("stop");
  return 0;
}

int32_t ProbePlugin::SetParameterFloat(uint32_t index, float value) {
  probe.calls.push_back(Describe("float", index, value));
  if (index == probe.refusedIndex || index >= kProbeParameterCount) return -1;
  values[index] = value;
  return 0;
}

int32_t ProbePlugin::SetParameterText(uint32_t index, const char* value) {
  probe.calls.push_back(std::string("text ") + std::to_string(index) + " " +
                        (value != nullptr ? value : "(null)"));
  if (index == probe.refusedIndex || index != kCaption || value == nullptr) return -1;
  const size_t size = std::strlen(value) + 1;
  char* copy = new (std::nothrow) char[size];
  if (copy == nullptr) return -1;
  std::memcpy(copy, value, size);
  delete[] caption;
  caption = copy;
  return 0;
}

float ProbePlugin::GetParameterFloat(uint32_t index) {
  return index < kProbeParameterCount ? values[index] : 0.0f;
}

const char* ProbePlugin::GetParameterText(uint32_t index) {
  if (index != kCaption || probe.captionAnswersNoText) return kNoText;
  return caption;
}

int32_t ProbePlugin::DrawFrame(const ProcessFrameRecord* frame) {
  probe.calls.push_back("draw " + std::to_string(frame->inputCount));
  return 0;
}

int32_t ProbePlugin::SetHostTime(double time) {
  probe.calls.push_back(Describe("time", 0, time));
  return 0;
}
