// The plugin base: the operations through which the entry point drives one instance.
#pragma once

#include <cstdint>

#include "framework/CFFGLPluginManager.h"
#include "host/FreeFrame.h"

// The text address every bit set: what a text operation answers when it has no text.
inline const char* const kNoText = reinterpret_cast<const char*>(~uintptr_t{0});

class CFreeFrameGLPlugin : public CFFGLPluginManager {
 public:
  CFreeFrameGLPlugin() = default;
  ~CFreeFrameGLPlugin() override = default;

  virtual int32_t StartGL(const ViewportRecord* viewport);
  virtual int32_t StopGL();
  // Display text of a parameter: a float as "%f" in the shared display buffer, a text through
  // GetParameterText; null for an undeclared index or when parameterSource is unset.
  virtual const char* FormatParameter(uint32_t index);
  virtual int32_t SetParameterFloat(uint32_t index, float value);
  virtual int32_t SetParameterText(uint32_t index, const char* value);
  virtual float GetParameterFloat(uint32_t index);
  virtual const char* GetParameterText(uint32_t index);  // kNoText in the base
  virtual int32_t DrawFrame(const ProcessFrameRecord* frame);
  virtual int32_t SetHostTime(double time);
  virtual int32_t GetInputState(uint32_t inputIndex);

  // The object whose parameters FormatParameter describes; the entry point sets it to the
  // instance itself right after creating it. Not owned.
  CFreeFrameGLPlugin* parameterSource = nullptr;
};

// Makes one plugin object into *instance and answers 0, or leaves it null and answers -1.
typedef int32_t (*PluginFactory)(CFreeFrameGLPlugin** instance);
