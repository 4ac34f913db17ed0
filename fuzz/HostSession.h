// A host that plays a fuzzer's bytes as calls of plugMain. It keeps its own list of the
// identifiers code 18 gave it and passes only those or 0, and every address it passes points to
// a record it owns for the length of the call, as a well-behaved host does; everything else
// (codes, indices, float and text values, record contents) comes from the bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FuzzedInput.h"
#include "host/FreeFrame.h"

struct SessionLimits {
  size_t maxSteps = 256;
  size_t maxLive = 4;
  size_t maxInstantiations = 16;
  size_t maxFrames = 256;
  // Picture sizes above this that OpenGL would accept are folded below it, so that a real
  // context never allocates a huge texture; 0 keeps every size.
  uint32_t foldPicturesAbove = 0;
  // Texture names the host owns and may hand over as inputs (0 is always possible).
  std::vector<uint32_t> textureHandles;
  // Framebuffers the host may name as its own (0 is always possible); empty means any word.
  std::vector<uint32_t> hostFramebuffers;
};

class HostSession {
 public:
  HostSession(FuzzedInput& input, SessionLimits limits);
  virtual ~HostSession() = default;

  // Plays the bytes, then deinstantiates every live instance and deinitialises.
  void Run();

  const std::vector<FFInstanceID>& Live() const { return live_; }

 protected:
  // A change to the world outside plugMain, chosen from the bytes (the target's own).
  virtual void Tweak() {}
  // Around every frame call, and after every instantiation.
  virtual void BeforeFrame() {}
  virtual void AfterFrame(FFInstanceID /*id*/, FFResult /*result*/) {}
  virtual void AfterInstantiate(FFInstanceID /*id*/) {}

  FuzzedInput& in_;
  SessionLimits limits_;

  // A live identifier or 0, chosen from the bytes.
  FFInstanceID PickId();

 private:
  void Step();
  FFResult Call(uint32_t code, FFMixed input, FFInstanceID id);
  FFResult CallValue(uint32_t code, uint32_t value, FFInstanceID id);
  FFResult CallRecord(uint32_t code, const void* record, FFInstanceID id);

  void RawCall();
  void Instantiate();
  void Deinstantiate(FFInstanceID id);
  void SetParameter(FFInstanceID id);
  void ProcessFrame(FFInstanceID id);
  void SetTime(FFInstanceID id);
  void Query(uint32_t code, uint32_t value, FFInstanceID id);

  void BuildViewport();
  void BuildFrame();
  void BuildTexture(TextureRecord& texture);
  uint32_t PictureSize();
  void CheckAnswer(uint32_t code, FFResult result);

  std::vector<FFInstanceID> live_;
  size_t instantiations_ = 0;
  size_t frames_ = 0;

  // Records handed to the plugin; owned here, rebuilt before each call that passes one.
  ViewportRecord viewport_{};
  ParameterPair pair_{};
  ProcessFrameRecord frame_{};
  std::vector<TextureRecord> textures_;
  std::vector<TextureRecord*> entries_;
  double time_ = 0.0;
  std::string text_;
};

// Stops the fuzzer with a message when a check fails.
[[noreturn]] void FuzzFailure(const std::string& what);
