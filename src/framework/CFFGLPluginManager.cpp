#include "framework/CFFGLPluginManager.h"

#include <cstring>
#include <new>

#include "framework/TextCopy.h"

namespace {

// Writes all 16 bytes: the name up to its first zero byte, zeros after; a null name is empty.
void CopyName(uint8_t (&field)[16], const char* name) {
  bool ended = name == nullptr;
  for (size_t i = 0; i < sizeof field; ++i) {
    if (!ended && name[i] == '\0') ended = true;
    field[i] = ended ? 0 : static_cast<uint8_t>(name[i]);
  }
}

}  // namespace

CFFGLPluginManager::~CFFGLPluginManager() {
  ParameterRecord* record = firstParameter;
  while (record != nullptr) {
    ParameterRecord* next = record->next;
    // Any text copy is freed, also one declared with a type other than Text.
    delete[] record->defaultText;
    delete record;
    record = next;
  }
  firstParameter = nullptr;
  lastParameter = nullptr;
}

const ParameterRecord* CFFGLPluginManager::Find(uint32_t index) const {
  for (const ParameterRecord* record = firstParameter; record != nullptr; record = record->next) {
    if (record->index == index) return record;
  }
  return nullptr;
}

ParameterRecord* CFFGLPluginManager::Append(uint32_t index, const char* name, uint32_t type) {
  ParameterRecord* record = new (std::nothrow) ParameterRecord{};
  if (record == nullptr) {
    declarationFailed = true;
    return nullptr;
  }
  record->index = index;
  CopyName(record->name, name);
  record->type = type;
  record->defaultValue = 0.0f;
  record->defaultText = nullptr;
  record->next = nullptr;
  if (firstParameter == nullptr) firstParameter = record;
  if (lastParameter != nullptr) lastParameter->next = record;
  lastParameter = record;
  ++parameterCount;
  return record;
}

void CFFGLPluginManager::DeclareParameter(uint32_t index, const char* name, uint32_t type,
                                          float defaultValue) {
  // Two separate tests so that a NaN default passes through unchanged.
  if (defaultValue > 1.0f) defaultValue = 1.0f;
  if (defaultValue < 0.0f) defaultValue = 0.0f;
  ParameterRecord* record = Append(index, name, type);
  if (record != nullptr) record->defaultValue = defaultValue;
}

void CFFGLPluginManager::DeclareBooleanParameter(uint32_t index, const char* name, uint32_t type,
                                                 bool defaultValue) {
  ParameterRecord* record = Append(index, name, type);
  if (record != nullptr) record->defaultValue = defaultValue ? 1.0f : 0.0f;
}

void CFFGLPluginManager::DeclareTextParameter(uint32_t index, const char* name, uint32_t type,
                                              const char* defaultText) {
  ParameterRecord* record = Append(index, name, type);
  if (record == nullptr) return;
  record->defaultText = CopyText(defaultText);
  if (defaultText != nullptr && record->defaultText == nullptr) declarationFailed = true;
}

const uint8_t* CFFGLPluginManager::GetParameterName(uint32_t index) const {
  const ParameterRecord* record = Find(index);
  return record != nullptr ? record->name : nullptr;
}

uint32_t CFFGLPluginManager::GetParameterType(uint32_t index) const {
  const ParameterRecord* record = Find(index);
  return record != nullptr ? record->type : 0xFFFFFFFFu;
}

FFResult CFFGLPluginManager::GetParameterDefault(uint32_t index) const {
  const ParameterRecord* record = Find(index);
  if (record == nullptr) return FF_FAIL;
  if (record->type == Text) return reinterpret_cast<FFResult>(record->defaultText);
  uint32_t bits = 0;
  std::memcpy(&bits, &record->defaultValue, sizeof bits);
  return bits;
}
