// A Windows host's view of the plugin: the DLL loaded from a path and its one entry point.
#pragma once

#include <windows.h>

#include <string>

#include "host/FreeFrame.h"

class PluginLoader {
 public:
  PluginLoader() = default;
  PluginLoader(const PluginLoader&) = delete;
  PluginLoader& operator=(const PluginLoader&) = delete;
  ~PluginLoader();

  // Loads the DLL and finds plugMain; on failure says why in *error.
  bool Load(const std::string& path, std::string* error);
  // Unloads it (its static teardown runs); false when FreeLibrary refused.
  bool Unload();

  HMODULE Module() const { return module; }
  bool Loaded() const { return entry != nullptr; }
  FFResult Call(uint32_t code, FFMixed input, FFInstanceID instance) const {
    return entry(code, input, instance);
  }
  // Calls plugMain once and tells whether the stack pointer is where it was before the call,
  // which holds only when caller and callee agree on who removes the arguments.
  bool CallKeepsStackPointer(uint32_t code, FFMixed input, FFInstanceID instance) const;

  // The plugin folder beside the running program: <program folder>\plugins\Vantorel.dll.
  static std::string DefaultPath();

 private:
  HMODULE module = nullptr;
  FFPlugMainFunc entry = nullptr;
};
