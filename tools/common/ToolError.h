// The one error type of the host tools: a message that already says what failed.
#pragma once

#include <stdexcept>
#include <string>

namespace vtool {

class ToolError : public std::runtime_error {
 public:
  // what: the step that failed, e.g. "loading plugin"; detail: why.
  ToolError(const std::string& what, const std::string& detail)
      : std::runtime_error(what + ": " + detail) {}
};

}  // namespace vtool
