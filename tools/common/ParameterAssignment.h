// Command-line texts turned into parameter values: "NAME=VALUE" pairs and "WxH" sizes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PluginLibrary.h"

namespace vtool {

struct ParameterAssignment {
  uint32_t index = 0;
  ParameterValue value;
};

// Resolves "NAME=VALUE": NAME is a parameter's name as the host reads it, compared without
// regard to case, or its index; VALUE is a number (a text for text parameters). Throws
// ToolError naming what was wrong.
ParameterAssignment ParseAssignment(const std::string& text,
                                    const std::vector<ParameterInfo>& parameters);

// Parses a whole finite decimal number; false for anything else.
bool ParseNumber(const std::string& text, float* value);

struct Size {
  uint32_t width = 0;
  uint32_t height = 0;
};

// Parses "WxH" with both sides positive whole numbers. Throws ToolError otherwise.
Size ParseSize(const std::string& text);

}  // namespace vtool
