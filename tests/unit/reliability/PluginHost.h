// A host that drives the registered plugin through plugMain on the recording OpenGL stand-in.
// The stand-in answers uniform locations for both input samplers, so frames with inputs copy
// and bind them as they would for a program that samples its inputs.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FakeClock.h"
#include "RecordingGL.h"
#include "host/FreeFrame.h"

inline uint32_t Bits(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

inline FFResult CallValue(uint32_t code, uint32_t value, FFInstanceID id) {
  FFMixed input;
  input.PointerValue = nullptr;
  input.UIntValue = value;
  return plugMain(code, input, id);
}

inline FFResult CallRecord(uint32_t code, const void* record, FFInstanceID id) {
  FFMixed input;
  input.PointerValue = const_cast<void*>(record);
  return plugMain(code, input, id);
}

// One picture of an input: its size, its allocation and the host's texture name.
struct Input {
  uint32_t width;
  uint32_t height;
  uint32_t hardwareWidth;
  uint32_t hardwareHeight;
  uint32_t handle = 7;
};

class PluginHost : public ::testing::Test {
 public:
  void SetUp() override {
    gl.Reset();
    fake_clock::Reset();
    gl.SetViewport(0, 0, 64, 64);
    gl.SetUniformLocation("tex0", 0);
    gl.SetUniformLocation("tex1", 1);
    gl.SetUniformLocation("time", 2);
    gl.SetUniformLocation("resolution", 3);
  }

  void TearDown() override {
    for (FFInstanceID id : live_) CallValue(FF_DEINSTANTIATEGL, 0, id);
    live_.clear();
    CallValue(FF_DEINITIALISE, 0, 0);
  }

  // A new instance for a viewport of this size; 0 when code 18 refused.
  FFInstanceID Instantiate(uint32_t width = 64, uint32_t height = 64) {
    const ViewportRecord viewport{0, 0, width, height};
    const FFResult result = CallRecord(FF_INSTANTIATEGL, &viewport, 0);
    if (result == FF_FAIL) return 0;
    live_.push_back(result);
    return result;
  }

  FFResult Deinstantiate(FFInstanceID id) {
    for (auto it = live_.begin(); it != live_.end(); ++it) {
      if (*it == id) {
        live_.erase(it);
        break;
      }
    }
    return CallValue(FF_DEINSTANTIATEGL, 0, id);
  }

  // Code 17 with these inputs (an empty one is a null entry).
  FFResult Frame(FFInstanceID id, const std::vector<Input>& inputs = {},
                 uint32_t hostFramebuffer = 0) {
    records_.clear();
    entries_.clear();
    records_.reserve(inputs.size());
    for (const Input& input : inputs) {
      records_.push_back(TextureRecord{input.width, input.height, input.hardwareWidth,
                                       input.hardwareHeight, input.handle});
    }
    for (size_t i = 0; i < inputs.size(); ++i) {
      const bool empty = inputs[i].width == 0 && inputs[i].height == 0 && inputs[i].handle == 0;
      entries_.push_back(empty ? nullptr : &records_[i]);
    }
    const ProcessFrameRecord frame{static_cast<uint32_t>(inputs.size()),
                                   entries_.empty() ? nullptr : entries_.data(), hostFramebuffer};
    return CallRecord(FF_PROCESSOPENGL, &frame, id);
  }

  FFResult SetFloat(FFInstanceID id, uint32_t index, float value) {
    ParameterPair pair{};
    pair.index = index;
    pair.value.UIntValue = Bits(value);
    return CallRecord(FF_SETPARAMETER, &pair, id);
  }

  size_t Count(const std::string& name) const { return gl.CallsNamed(name).size(); }

  // Objects of every kind the plugin made and has not deleted, as "kind name" texts.
  std::vector<std::string> LiveObjects() const {
    static const std::pair<GLObjectKind, const char*> kKinds[] = {
        {GLObjectKind::Program, "program"},
        {GLObjectKind::Shader, "shader"},
        {GLObjectKind::Texture, "texture"},
        {GLObjectKind::Framebuffer, "framebuffer"}};
    std::vector<std::string> live;
    for (const auto& [kind, label] : kKinds) {
      for (GLuint name : gl.LiveNames(kind))
        live.push_back(std::string(label) + " " + std::to_string(name));
    }
    return live;
  }

  RecordingGL& gl = RecordingGL::Instance();

 private:
  std::vector<FFInstanceID> live_;
  std::vector<TextureRecord> records_;
  std::vector<TextureRecord*> entries_;
};
