#include "HostedPlugin.h"

#include <cstdio>

namespace bench {

std::string DefaultPluginPath() {
  return VANTOREL_PLUGIN_PATH;
}

bool ParseSize(const std::string& text, int* width, int* height) {
  char tail = 0;
  return std::sscanf(text.c_str(), "%dx%d%c", width, height, &tail) == 2 && *width > 0 &&
         *height > 0;
}

PatternValues DefaultPatternValues(const vtool::PluginLibrary& library) {
  PatternValues values;
  for (const vtool::ParameterInfo& parameter : library.parameters()) {
    const float value = parameter.defaultValue;
    const std::string& name = parameter.name;
    if (name == "Speed") values.speed = value;
    if (name == "Vortex Speed") values.vortexSpeed = value;
    if (name == "Vortex Frequence") values.mouse[0] = value;
    if (name == "Lines Softness") values.mouse[1] = value;
    if (name == "Circles Softness") values.inputColour[0] = value;
    if (name == "Size") values.inputColour[1] = value;
    if (name == "Even Circles Offset") values.inputColour[2] = value;
    if (name == "Odd Circles Offset") values.inputColour[3] = value;
    if (name == "Alpha Mode") values.alphaMode = value;
    if (name == "Linear Scale") values.but1 = static_cast<int>(value);
  }
  return values;
}

double Seconds() {
  static const auto start = std::chrono::steady_clock::now();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

FFMixed NoInput() {
  FFMixed input;
  input.PointerValue = nullptr;
  return input;
}

FFInstanceID Instantiate(const vtool::PluginLibrary& library, const vtool::EglHost& host) {
  ViewportRecord viewport{0, 0, static_cast<uint32_t>(host.Width()),
                          static_cast<uint32_t>(host.Height())};
  FFMixed input;
  input.PointerValue = &viewport;
  const FFResult id = library.Call(FF_INSTANTIATEGL, input, 0);
  return id == FF_FAIL ? 0 : id;
}

}  // namespace bench
