// Which kind of output a run writes, decided from -o and --format.
#pragma once

#include <cstdint>
#include <string>

namespace vtool {

enum class OutputKind { kPng, kPngSequence, kGif, kRaw, kY4m };

struct OutputPlan {
  OutputKind kind = OutputKind::kPng;
  std::string path;  // "-" for standard output
  bool toStdout = false;
};

// format: "auto" (from the name), "png", "gif", "raw" or "y4m". A name holding a number
// pattern such as out_%04d.png gives a PNG sequence. Throws ToolError.
OutputPlan PlanOutput(const std::string& path, const std::string& format);

// True when the name holds exactly one number conversion (%d, %4d, %04d) and otherwise only
// "%%" escapes. Throws ToolError for a malformed pattern.
bool HasNumberPattern(const std::string& pattern);

// The pattern with its number conversion filled in and "%%" turned into "%".
std::string SequenceName(const std::string& pattern, uint32_t number);

const char* KindName(OutputKind kind);

}  // namespace vtool
