// The plugin's identity as the host reads it, and the factory the entry point calls.
#pragma once

#include <cstdint>

#include "framework/CFreeFrameGLPlugin.h"
#include "host/FreeFrame.h"

struct FFGLPluginRegistration {
  // Built once by a plugin's static registration at load; sets the registration pointer.
  FFGLPluginRegistration(PluginFactory factory, const char* uniqueId, const char* name,
                         uint32_t apiMajorVersion, uint32_t apiMinorVersion,
                         uint32_t pluginMajorVersion, uint32_t pluginMinorVersion,
                         uint32_t pluginType, const char* description, const char* about,
                         uint32_t extendedDataSize, const void* extendedData);
  FFGLPluginRegistration(const FFGLPluginRegistration&) = delete;
  FFGLPluginRegistration& operator=(const FFGLPluginRegistration&) = delete;
  ~FFGLPluginRegistration();  // frees the about copy, then the description copy

  const PluginInfoRecord* GetInfoRecord() const { return &info; }
  const ExtendedInfoRecord* GetExtendedInfoRecord() const { return &extendedInfo; }
  PluginFactory GetFactory() const { return factory; }

  PluginInfoRecord info{};
  ExtendedInfoRecord extendedInfo{};
  PluginFactory factory = nullptr;
};

// The library's one registration, or null before any was built.
FFGLPluginRegistration* GetRegistration();
