#include "HostSession.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Reads of answered texts go through here so that they are not optimised away.
volatile size_t sink = 0;

bool NeedsInstance(uint32_t code) {
  switch (code) {
    case FF_GETPARAMETERDISPLAY:
    case FF_SETPARAMETER:
    case FF_GETPARAMETER:
    case FF_GETINPUTSTATUS:
    case FF_PROCESSOPENGL:
    case FF_DEINSTANTIATEGL:
    case FF_SETTIME:
      return true;
    default:
      return false;
  }
}

bool Handled(uint32_t code) {
  return code <= 20 && code != 3 && code != 11 && code != 12 && code != 14;
}

std::string Hex(uint64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

void FuzzFailure(const std::string& what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
  std::abort();
}

HostSession::HostSession(FuzzedInput& input, SessionLimits limits)
    : in_(input), limits_(std::move(limits)), textures_(64), entries_(64) {}

void HostSession::Run() {
  for (size_t step = 0; step < limits_.maxSteps && !in_.Empty(); ++step) Step();
  while (!live_.empty()) Deinstantiate(live_.back());
  CallValue(FF_DEINITIALISE, 0, 0);
}

FFInstanceID HostSession::PickId() {
  const uint8_t choice = in_.Byte();
  if (live_.empty() || choice < 16) return 0;
  return live_[choice % live_.size()];
}

void HostSession::Step() {
  switch (in_.Below(9)) {
    case 0:
      RawCall();
      break;
    case 1:
      Instantiate();
      break;
    case 2:
      Deinstantiate(PickId());
      break;
    case 3:
      SetParameter(PickId());
      break;
    case 4:
    case 5:
      ProcessFrame(PickId());
      break;
    case 6: {
      static constexpr uint32_t kQueries[] = {0, 1, 2, 4, 5, 6, 7, 9, 10, 13, 15, 16};
      const uint32_t code = kQueries[in_.Below(sizeof kQueries / sizeof kQueries[0])];
      const uint32_t value = in_.Flag() ? in_.Word() : in_.Below(16);
      Query(code, value, PickId());
      break;
    }
    case 7:
      Tweak();
      break;
    default:
      SetTime(PickId());
      break;
  }
}

FFResult HostSession::Call(uint32_t code, FFMixed input, FFInstanceID id) {
  return plugMain(code, input, id);
}

FFResult HostSession::CallValue(uint32_t code, uint32_t value, FFInstanceID id) {
  FFMixed input;
  input.PointerValue = nullptr;
  input.UIntValue = value;
  return Call(code, input, id);
}

FFResult HostSession::CallRecord(uint32_t code, const void* record, FFInstanceID id) {
  FFMixed input;
  input.PointerValue = const_cast<void*>(record);
  return Call(code, input, id);
}

void HostSession::RawCall() {
  const uint32_t code = in_.Flag() ? in_.Word() : in_.Below(24);
  const FFInstanceID id = PickId();
  switch (code) {
    case FF_INSTANTIATEGL:
      Instantiate();
      break;
    case FF_DEINSTANTIATEGL:
      Deinstantiate(id);
      break;
    case FF_SETPARAMETER:
      SetParameter(id);
      break;
    case FF_PROCESSOPENGL:
      ProcessFrame(id);
      break;
    case FF_SETTIME:
      SetTime(id);
      break;
    default:
      Query(code, in_.Word(), id);
      break;
  }
}

void HostSession::Instantiate() {
  if (in_.Below(16) == 0) {
    // No viewport record: refused, and nothing is made.
    const FFResult result = CallRecord(FF_INSTANTIATEGL, nullptr, 0);
    if (result != FF_FAIL) FuzzFailure("code 18 without a viewport answered " + Hex(result));
    return;
  }
  if (live_.size() >= limits_.maxLive || instantiations_ >= limits_.maxInstantiations) return;
  ++instantiations_;
  BuildViewport();
  const FFResult result = CallRecord(FF_INSTANTIATEGL, &viewport_, PickId());
  if (result == FF_FAIL) return;
  if (result == 0) FuzzFailure("code 18 answered identifier 0");
  if (std::find(live_.begin(), live_.end(), result) != live_.end()) {
    FuzzFailure("code 18 answered a live identifier again: " + Hex(result));
  }
  live_.push_back(result);
  AfterInstantiate(result);
}

void HostSession::Deinstantiate(FFInstanceID id) {
  const FFResult result = CallValue(FF_DEINSTANTIATEGL, 0, id);
  if (id == 0) {
    if (result != FF_FAIL) FuzzFailure("code 19 with identifier 0 answered " + Hex(result));
    return;
  }
  if (result != FF_SUCCESS) FuzzFailure("code 19 answered " + Hex(result));
  live_.erase(std::find(live_.begin(), live_.end(), id));
}

void HostSession::SetParameter(FFInstanceID id) {
  pair_ = ParameterPair{};
  pair_.index = in_.Flag() ? in_.Below(13) : in_.Word();
  const uint8_t kind = in_.Below(8);
  if (kind == 0) {
    // A text value on whatever the parameter is.
    const size_t length = in_.Below(40);
    text_.clear();
    for (size_t i = 0; i < length; ++i) text_.push_back(static_cast<char>(in_.Byte() | 1));
    pair_.value.PointerValue = const_cast<char*>(text_.c_str());
  } else {
    pair_.value.PointerValue = nullptr;
    pair_.value.UIntValue = in_.FloatBits();
  }
  const FFResult result = CallRecord(FF_SETPARAMETER, in_.Below(32) == 0 ? nullptr : &pair_, id);
  if (id == 0 && result != FF_FAIL) {
    FuzzFailure("code 8 with identifier 0 answered " + Hex(result));
  }
}

void HostSession::ProcessFrame(FFInstanceID id) {
  if (frames_ >= limits_.maxFrames) return;
  ++frames_;
  const bool noRecord = in_.Below(32) == 0;
  if (!noRecord) BuildFrame();
  BeforeFrame();
  const FFResult result = CallRecord(FF_PROCESSOPENGL, noRecord ? nullptr : &frame_, id);
  if ((id == 0 || noRecord) && result != FF_FAIL) {
    FuzzFailure("code 17 without an instance or record answered " + Hex(result));
  }
  AfterFrame(id, result);
}

void HostSession::SetTime(FFInstanceID id) {
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(in_.Byte()) << (8 * i);
  std::memcpy(&time_, &bits, sizeof time_);
  const bool noRecord = in_.Below(8) == 0;
  const FFResult result = CallRecord(FF_SETTIME, noRecord ? nullptr : &time_, id);
  if ((id == 0 || noRecord) && result != FF_FAIL) {
    FuzzFailure("code 20 without an instance or record answered " + Hex(result));
  }
}

void HostSession::Query(uint32_t code, uint32_t value, FFInstanceID id) {
  const FFResult result = CallValue(code, value, id);
  if (!Handled(code) && result != FF_FAIL) {
    FuzzFailure("unhandled code " + Hex(code) + " answered " + Hex(result));
  }
  if (NeedsInstance(code) && id == 0 && result != FF_FAIL) {
    FuzzFailure("code " + std::to_string(code) + " with identifier 0 answered " + Hex(result));
  }
  if (code == FF_DEINITIALISE && result != FF_SUCCESS) {
    FuzzFailure("code 2 answered " + Hex(result));
  }
  CheckAnswer(code, result);
}

// Reads what an address-valued answer points to, as a host would.
void HostSession::CheckAnswer(uint32_t code, FFResult result) {
  switch (code) {
    case FF_GETINFO: {
      if (result == 0 || result == FF_FAIL) FuzzFailure("code 0 answered " + Hex(result));
      PluginInfoRecord info;
      std::memcpy(&info, reinterpret_cast<const void*>(result), sizeof info);
      sink = sink + info.pluginType;
      break;
    }
    case FF_GETEXTENDEDINFO: {
      if (result == 0 || result == FF_FAIL) FuzzFailure("code 13 answered " + Hex(result));
      ExtendedInfoRecord extended;
      std::memcpy(&extended, reinterpret_cast<const void*>(result), sizeof extended);
      if (extended.description != nullptr) sink = sink + std::strlen(extended.description);
      if (extended.about != nullptr) sink = sink + std::strlen(extended.about);
      break;
    }
    case FF_GETPARAMETERNAME:
      if (result != 0) {
        char name[16];
        std::memcpy(name, reinterpret_cast<const void*>(result), sizeof name);
        sink = sink + static_cast<unsigned char>(name[15]);
      }
      break;
    case FF_GETPARAMETERDISPLAY:
      if (result != 0 && result != FF_FAIL) {
        sink = sink + std::strlen(reinterpret_cast<const char*>(result));
      }
      break;
    default:
      break;
  }
}

void HostSession::BuildViewport() {
  viewport_.x = in_.Flag() ? in_.Word() : 0;
  viewport_.y = in_.Flag() ? in_.Word() : 0;
  viewport_.width = in_.Size(4096);
  viewport_.height = in_.Size(4096);
}

uint32_t HostSession::PictureSize() {
  uint32_t size = in_.Size(300);
  const uint32_t fold = limits_.foldPicturesAbove;
  // Sizes a real context would accept (up to its texture limit) stay small.
  if (fold != 0 && size > fold && size <= 16384) size %= fold;
  return size;
}

void HostSession::BuildTexture(TextureRecord& texture) {
  texture.width = PictureSize();
  texture.height = PictureSize();
  switch (in_.Below(5)) {
    case 0:  // the allocation is the picture
      texture.hardwareWidth = texture.width;
      texture.hardwareHeight = texture.height;
      break;
    case 1:  // a larger allocation
      texture.hardwareWidth = texture.width + in_.Below(200);
      texture.hardwareHeight = texture.height + in_.Below(200);
      break;
    case 2:  // an allocation smaller than the picture
      texture.hardwareWidth = texture.width / (1 + in_.Below(8));
      texture.hardwareHeight = texture.height / (1 + in_.Below(8));
      break;
    case 3:  // a zero side
      texture.hardwareWidth = in_.Flag() ? 0 : texture.width;
      texture.hardwareHeight = in_.Flag() ? 0 : texture.height;
      break;
    default:
      texture.hardwareWidth = in_.Size(1024);
      texture.hardwareHeight = in_.Size(1024);
      break;
  }
  const std::vector<uint32_t>& handles = limits_.textureHandles;
  const uint32_t choice = in_.Byte();
  texture.handle = handles.empty() || choice < 32 ? 0 : handles[choice % handles.size()];
}

void HostSession::BuildFrame() {
  frame_ = ProcessFrameRecord{};
  const uint8_t countKind = in_.Byte();
  uint32_t count = countKind < 200 ? countKind % 4 : countKind % static_cast<uint32_t>(64);
  for (uint32_t i = 0; i < count; ++i) {
    if (in_.Below(6) == 0) {
      entries_[i] = nullptr;
    } else {
      BuildTexture(textures_[i]);
      entries_[i] = &textures_[i];
    }
  }
  frame_.inputCount = count;
  // A count with no array breaks the record's contract; the plugin must still survive it.
  frame_.inputTextures = count > 0 && in_.Below(16) == 0 ? nullptr : entries_.data();
  const std::vector<uint32_t>& framebuffers = limits_.hostFramebuffers;
  if (framebuffers.empty()) {
    frame_.hostFramebuffer = in_.Flag() ? 0 : in_.Word();
  } else {
    const uint32_t choice = in_.Byte();
    frame_.hostFramebuffer = choice < 64 ? 0 : framebuffers[choice % framebuffers.size()];
  }
}
