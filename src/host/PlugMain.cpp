#include <cstring>
#include <memory>

#include "framework/CFreeFrameGLPlugin.h"
#include "host/FFGLPluginRegistration.h"
#include "host/FreeFrame.h"

namespace {

// The plugin object that answers the instance-less questions; made on demand, deleted by code 2.
CFreeFrameGLPlugin* queryInstance = nullptr;

// A 32-bit result in the low half of a zeroed word; -1 becomes 0xFFFFFFFF, never all bits.
FFResult Word(int32_t value) {
  return static_cast<uint32_t>(value);
}

FFResult Address(const void* address) {
  return reinterpret_cast<FFResult>(address);
}

// A text operation's answer: kNoText is a failure, anything else an address.
FFResult TextAnswer(const char* text) {
  return text == kNoText ? FF_FAIL : Address(text);
}

CFreeFrameGLPlugin* AsInstance(FFInstanceID id) {
  return reinterpret_cast<CFreeFrameGLPlugin*>(id);
}

// Calls the factory; null when it refuses or leaves nothing behind.
CFreeFrameGLPlugin* Make(const FFGLPluginRegistration& record) {
  const PluginFactory factory = record.GetFactory();
  if (factory == nullptr) return nullptr;
  CFreeFrameGLPlugin* made = nullptr;
  if (factory(&made) == -1) return nullptr;
  return made;
}

// Makes the query instance when there is none; false when it cannot be made.
bool EnsureQueryInstance() {
  const FFGLPluginRegistration* record = GetRegistration();
  if (record == nullptr) return false;
  if (queryInstance == nullptr) queryInstance = Make(*record);
  return queryInstance != nullptr;
}

// The type of a parameter always comes from the query instance; 0xFFFFFFFF when unknown.
uint32_t LookUpType(uint32_t index) {
  return EnsureQueryInstance() ? queryInstance->GetParameterType(index) : 0xFFFFFFFFu;
}

FFResult Capability(uint32_t capability) {
  if (!EnsureQueryInstance()) return FF_FAIL;
  switch (capability) {
    case FF_CAP_OPENGL:
      return 1;
    case FF_CAP_SETTIME:
      return queryInstance->GetAcceptsHostTime() ? 1 : 0;
    case FF_CAP_MINIMUMINPUTFRAMES: {
      const int32_t minimum = queryInstance->GetMinimumInputs();
      return Word(minimum < 0 ? 0 : minimum);
    }
    case FF_CAP_MAXIMUMINPUTFRAMES: {
      const int32_t maximum = queryInstance->GetMaximumInputs();
      return Word(maximum < 0 ? 0 : maximum);
    }
    default:
      return 0;
  }
}

FFResult SetParameter(CFreeFrameGLPlugin* instance, const ParameterPair* pair) {
  if (pair == nullptr) return FF_FAIL;
  const uint32_t index = pair->index;
  if (LookUpType(index) == Text) {
    return Word(
        instance->SetParameterText(index, static_cast<const char*>(pair->value.PointerValue)));
  }
  float value = 0.0f;
  const uint32_t bits = pair->value.UIntValue;
  std::memcpy(&value, &bits, sizeof value);
  return Word(instance->SetParameterFloat(index, value));
}

FFResult GetParameter(CFreeFrameGLPlugin* instance, uint32_t index) {
  if (LookUpType(index) == Text) return TextAnswer(instance->GetParameterText(index));
  const float value = instance->GetParameterFloat(index);
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

FFResult Instantiate(const ViewportRecord* viewport) {
  const FFGLPluginRegistration* record = GetRegistration();
  if (record == nullptr || viewport == nullptr) return FF_FAIL;
  if (!EnsureQueryInstance()) return FF_FAIL;
  // Owned here until StartGL succeeds, so every way out before that deletes it.
  std::unique_ptr<CFreeFrameGLPlugin> instance(Make(*record));
  if (!instance) return FF_FAIL;
  instance->parameterSource = instance.get();
  for (uint32_t i = 0; i < queryInstance->GetParameterCount(); ++i) {
    const uint32_t type = queryInstance->GetParameterType(i);
    const FFResult value = queryInstance->GetParameterDefault(i);
    int32_t result = 0;
    if (type == Text) {
      result = instance->SetParameterText(i, reinterpret_cast<const char*>(value));
    } else {
      const uint32_t bits = static_cast<uint32_t>(value);
      float number = 0.0f;
      std::memcpy(&number, &bits, sizeof number);
      result = instance->SetParameterFloat(i, number);
    }
    if (result == -1) return FF_FAIL;
  }
  int32_t started = -1;
  try {
    started = instance->StartGL(viewport);
  } catch (...) {
    started = -1;
  }
  if (started == 0) return Address(instance.release());
  instance->StopGL();
  return FF_FAIL;
}

FFResult Deinstantiate(CFreeFrameGLPlugin* instance) {
  std::unique_ptr<CFreeFrameGLPlugin> owned(instance);
  owned->StopGL();
  return FF_SUCCESS;
}

FFResult Deinitialise() {
  delete queryInstance;
  queryInstance = nullptr;
  return FF_SUCCESS;
}

FFResult Dispatch(uint32_t code, FFMixed input, FFInstanceID id) {
  CFreeFrameGLPlugin* const instance = AsInstance(id);
  switch (code) {
    case FF_GETINFO: {
      const FFGLPluginRegistration* record = GetRegistration();
      return record != nullptr ? Address(record->GetInfoRecord()) : 0;
    }
    case FF_INITIALISE:
      return EnsureQueryInstance() ? FF_SUCCESS : FF_FAIL;
    case FF_DEINITIALISE:
      return Deinitialise();
    case FF_GETNUMPARAMETERS:
      return EnsureQueryInstance() ? queryInstance->GetParameterCount() : FF_FAIL;
    case FF_GETPARAMETERNAME:
      return EnsureQueryInstance() ? Address(queryInstance->GetParameterName(input.UIntValue)) : 0;
    case FF_GETPARAMETERDEFAULT:
      return EnsureQueryInstance() ? queryInstance->GetParameterDefault(input.UIntValue) : FF_FAIL;
    case FF_GETPARAMETERDISPLAY:
      return instance != nullptr ? TextAnswer(instance->FormatParameter(input.UIntValue)) : FF_FAIL;
    case FF_SETPARAMETER:
      return instance != nullptr
                 ? SetParameter(instance, static_cast<const ParameterPair*>(input.PointerValue))
                 : FF_FAIL;
    case FF_GETPARAMETER:
      return instance != nullptr ? GetParameter(instance, input.UIntValue) : FF_FAIL;
    case FF_GETPLUGINCAPS:
      return Capability(input.UIntValue);
    case FF_GETEXTENDEDINFO: {
      const FFGLPluginRegistration* record = GetRegistration();
      return record != nullptr ? Address(record->GetExtendedInfoRecord()) : 0;
    }
    case FF_GETPARAMETERTYPE:
      return EnsureQueryInstance() ? queryInstance->GetParameterType(input.UIntValue) : FF_FAIL;
    case FF_GETINPUTSTATUS:
      return instance != nullptr ? Word(instance->GetInputState(input.UIntValue)) : FF_FAIL;
    case FF_PROCESSOPENGL: {
      const auto* frame = static_cast<const ProcessFrameRecord*>(input.PointerValue);
      if (instance == nullptr || frame == nullptr) return FF_FAIL;
      return Word(instance->DrawFrame(frame));
    }
    case FF_INSTANTIATEGL:
      return Instantiate(static_cast<const ViewportRecord*>(input.PointerValue));
    case FF_DEINSTANTIATEGL:
      return instance != nullptr ? Deinstantiate(instance) : FF_FAIL;
    case FF_SETTIME: {
      if (instance == nullptr || input.PointerValue == nullptr) return FF_FAIL;
      double time = 0.0;
      std::memcpy(&time, input.PointerValue, sizeof time);
      return Word(instance->SetHostTime(time));
    }
    default:
      return FF_FAIL;
  }
}

}  // namespace

extern "C" FF_EXPORT FFResult FF_CALL plugMain(uint32_t functionCode, FFMixed inputValue,
                                               FFInstanceID instanceID) {
  // Nothing may unwind into the host: an exception becomes the code's failure answer.
  try {
    return Dispatch(functionCode, inputValue, instanceID);
  } catch (...) {
    const bool addressValued =
        functionCode == FF_GETPARAMETERNAME || functionCode == FF_GETPARAMETERDISPLAY;
    return addressValued ? 0 : FF_FAIL;
  }
}
