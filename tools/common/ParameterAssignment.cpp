#include "ParameterAssignment.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "ToolError.h"

namespace vtool {
namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// Parses a positive whole number that fits 32 bits.
bool ParsePositive(const std::string& text, uint32_t* value) {
  if (!AllDigits(text) || text.size() > 10) return false;
  const unsigned long long parsed = std::strtoull(text.c_str(), nullptr, 10);
  if (parsed == 0 || parsed > 0xFFFFFFFFull) return false;
  *value = static_cast<uint32_t>(parsed);
  return true;
}

std::string KnownNames(const std::vector<ParameterInfo>& parameters) {
  std::string names;
  for (const ParameterInfo& parameter : parameters) {
    if (!names.empty()) names += ", ";
    names += "\"" + parameter.name + "\"";
  }
  return names.empty() ? "none" : names;
}

}  // namespace

bool ParseNumber(const std::string& text, float* value) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const double parsed = std::strtod(begin, &end);
  if (end != begin + text.size() || errno == ERANGE || !std::isfinite(parsed)) return false;
  const float narrowed = static_cast<float>(parsed);
  if (!std::isfinite(narrowed)) return false;
  *value = narrowed;
  return true;
}

ParameterAssignment ParseAssignment(const std::string& text,
                                    const std::vector<ParameterInfo>& parameters) {
  // Split at the last '=' so that a name holding '=' still works.
  const size_t equals = text.rfind('=');
  if (equals == std::string::npos) {
    throw ToolError("setting parameter", "\"" + text + "\" is not NAME=VALUE");
  }
  const std::string name = text.substr(0, equals);
  const std::string valueText = text.substr(equals + 1);

  const ParameterInfo* found = nullptr;
  for (const ParameterInfo& parameter : parameters) {
    if (SameIgnoringCase(parameter.name, name)) {
      found = &parameter;
      break;
    }
  }
  if (found == nullptr && AllDigits(name) && name.size() <= 10) {
    const unsigned long long index = std::strtoull(name.c_str(), nullptr, 10);
    if (index < parameters.size()) found = &parameters[index];
  }
  if (found == nullptr) {
    throw ToolError("setting parameter",
                    "unknown parameter \"" + name + "\" (known: " + KnownNames(parameters) + ")");
  }

  ParameterAssignment assignment;
  assignment.index = found->index;
  if (found->IsText()) {
    assignment.value.text = valueText;
  } else if (!ParseNumber(valueText, &assignment.value.number)) {
    throw ToolError("setting parameter",
                    "value \"" + valueText + "\" for \"" + found->name + "\" is not a number");
  }
  return assignment;
}

Size ParseSize(const std::string& text) {
  const size_t cross = text.find_first_of("xX");
  Size size;
  if (cross == std::string::npos || !ParsePositive(text.substr(0, cross), &size.width) ||
      !ParsePositive(text.substr(cross + 1), &size.height)) {
    throw ToolError("reading size",
                    "\"" + text + "\" is not WxH with both sides whole numbers above 0");
  }
  return size;
}

}  // namespace vtool
