// What a plugin declares about itself: its parameters and its input and time settings.
#pragma once

#include <cstdint>

#include "host/FreeFrame.h"

enum ParameterType : uint32_t { Boolean = 0, Standard = 10, Text = 100 };

// One declared parameter; owned by the manager, freed with it.
struct ParameterRecord {
  uint32_t index;
  uint8_t name[16];  // zero-padded; no terminator when the name fills it
  uint32_t type;
  float defaultValue;
  char* defaultText;  // private heap copy for Text parameters, else null
  ParameterRecord* next;
};

class CFFGLPluginManager {
 public:
  CFFGLPluginManager() = default;
  CFFGLPluginManager(const CFFGLPluginManager&) = delete;
  CFFGLPluginManager& operator=(const CFFGLPluginManager&) = delete;
  virtual ~CFFGLPluginManager();

  uint32_t GetParameterCount() const { return parameterCount; }
  // Address of the record's 16-byte name field, or null for an undeclared index.
  const uint8_t* GetParameterName(uint32_t index) const;
  // The record's type, or 0xFFFFFFFF for an undeclared index.
  uint32_t GetParameterType(uint32_t index) const;
  // Text: the default text's address (0 when its copy failed); otherwise the default's float
  // bits in the low 32 bits; 0xFFFFFFFF for an undeclared index.
  FFResult GetParameterDefault(uint32_t index) const;
  int32_t GetMinimumInputs() const { return minimumInputs; }
  int32_t GetMaximumInputs() const { return maximumInputs; }
  bool GetAcceptsHostTime() const { return acceptsHostTime; }

  // True when a declaration could not allocate its record or text: the factory then refuses
  // the object instead of serving a plugin with a parameter missing.
  bool DeclarationFailed() const { return declarationFailed; }

 protected:
  void DeclareParameter(uint32_t index, const char* name, uint32_t type, float defaultValue);
  void DeclareBooleanParameter(uint32_t index, const char* name, uint32_t type, bool defaultValue);
  void DeclareTextParameter(uint32_t index, const char* name, uint32_t type,
                            const char* defaultText);
  void SetMinimumInputs(int32_t count) { minimumInputs = count; }
  void SetMaximumInputs(int32_t count) { maximumInputs = count; }
  void SetAcceptsHostTime(bool accepts) { acceptsHostTime = accepts; }

 private:
  const ParameterRecord* Find(uint32_t index) const;
  ParameterRecord* Append(uint32_t index, const char* name, uint32_t type);

  uint32_t parameterCount = 0;
  ParameterRecord* firstParameter = nullptr;
  ParameterRecord* lastParameter = nullptr;
  int32_t minimumInputs = 0;
  int32_t maximumInputs = 0;
  bool acceptsHostTime = false;
  bool declarationFailed = false;
};
