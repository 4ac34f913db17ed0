#include "tests/windows/PluginLoader.h"

#include <cstdint>

PluginLoader::~PluginLoader() {
  if (module != nullptr) FreeLibrary(module);
}

bool PluginLoader::Load(const std::string& path, std::string* error) {
  module = LoadLibraryA(path.c_str());
  if (module == nullptr) {
    *error = "LoadLibrary(" + path + ") failed, error " + std::to_string(GetLastError());
    return false;
  }
  entry =
      reinterpret_cast<FFPlugMainFunc>(reinterpret_cast<void*>(GetProcAddress(module, "plugMain")));
  if (entry == nullptr) {
    *error = path + " exports no undecorated plugMain";
    return false;
  }
  return true;
}

bool PluginLoader::Unload() {
  entry = nullptr;
  HMODULE loaded = module;
  module = nullptr;
  return loaded == nullptr || FreeLibrary(loaded) != 0;
}

bool PluginLoader::CallKeepsStackPointer(uint32_t code, FFMixed input,
                                         FFInstanceID instance) const {
#if defined(__i386__)
  // Pushed and called by hand, so the compiler cannot repair a stack the callee left wrong.
  const uint32_t frame[4] = {reinterpret_cast<uint32_t>(entry), code, input.UIntValue,
                             static_cast<uint32_t>(instance)};
  uint32_t result;
  uint32_t before;
  uint32_t after;
  __asm__ volatile(
      "movl %%esp, %1\n\t"
      "pushl 12(%3)\n\t"
      "pushl 8(%3)\n\t"
      "pushl 4(%3)\n\t"
      "call *(%3)\n\t"
      "movl %%esp, %2\n\t"
      "movl %1, %%esp\n\t"
      : "=a"(result), "=&S"(before), "=&D"(after)
      : "r"(frame)
      : "ecx", "edx", "memory", "cc");
  (void)result;
  return before == after;
#else
  // The 64-bit Windows convention is the only one there: caller-owned argument space.
  (void)Call(code, input, instance);
  return true;
#endif
}

std::string PluginLoader::DefaultPath() {
  char program[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::string folder(program, length);
  const size_t slash = folder.find_last_of("\\/");
  folder = slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
  return folder + "\\plugins\\Vantorel.dll";
}
