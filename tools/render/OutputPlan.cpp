#include "OutputPlan.h"

#include <cctype>

#include "ToolError.h"

namespace vtool {
namespace {

bool EndsWith(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  for (size_t i = 0; i < suffix.size(); ++i) {
    const char c = text[text.size() - suffix.size() + i];
    if (std::tolower(static_cast<unsigned char>(c)) != suffix[i]) return false;
  }
  return true;
}

// Walks the pattern; calls onText for literal text and onNumber(width, zeroPad) per
// conversion. Answers the number of conversions.
template <typename OnText, typename OnNumber>
int WalkPattern(const std::string& pattern, OnText onText, OnNumber onNumber) {
  int conversions = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      onText(pattern[i]);
      continue;
    }
    size_t at = i + 1;
    if (at < pattern.size() && pattern[at] == '%') {
      onText('%');
      i = at;
      continue;
    }
    bool zeroPad = false;
    if (at < pattern.size() && pattern[at] == '0') {
      zeroPad = true;
      ++at;
    }
    int width = 0;
    while (at < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[at]))) {
      width = width * 10 + (pattern[at] - '0');
      if (width > 32) throw ToolError("reading output name", pattern + ": number too wide");
      ++at;
    }
    if (at >= pattern.size() || pattern[at] != 'd') {
      throw ToolError("reading output name",
                      pattern + ": only %d, %Nd and %0Nd number patterns (and %%) are allowed");
    }
    onNumber(width, zeroPad);
    ++conversions;
    i = at;
  }
  return conversions;
}

}  // namespace

bool HasNumberPattern(const std::string& pattern) {
  const int conversions = WalkPattern(
      pattern, [](char) {}, [](int, bool) {});
  if (conversions > 1) {
    throw ToolError("reading output name", pattern + ": more than one number pattern");
  }
  return conversions == 1;
}

std::string SequenceName(const std::string& pattern, uint32_t number) {
  std::string name;
  WalkPattern(
      pattern, [&name](char c) { name += c; },
      [&name, number](int width, bool zeroPad) {
        std::string digits = std::to_string(number);
        if (static_cast<int>(digits.size()) < width) {
          digits.insert(0, static_cast<size_t>(width) - digits.size(), zeroPad ? '0' : ' ');
        }
        name += digits;
      });
  return name;
}

const char* KindName(OutputKind kind) {
  switch (kind) {
    case OutputKind::kPng:
      return "PNG";
    case OutputKind::kPngSequence:
      return "PNG sequence";
    case OutputKind::kGif:
      return "GIF";
    case OutputKind::kRaw:
      return "raw RGBA";
    case OutputKind::kY4m:
      return "y4m";
  }
  return "?";
}

OutputPlan PlanOutput(const std::string& path, const std::string& format) {
  OutputPlan plan;
  plan.path = path;
  plan.toStdout = path == "-";
  if (path.empty()) throw ToolError("reading output name", "empty output name");

  const bool numbered = !plan.toStdout && HasNumberPattern(path);
  if (format == "auto") {
    if (plan.toStdout) {
      throw ToolError("reading output name", "-o - needs --format raw or --format y4m");
    }
    if (EndsWith(path, ".gif")) {
      plan.kind = OutputKind::kGif;
    } else if (EndsWith(path, ".y4m")) {
      plan.kind = OutputKind::kY4m;
    } else if (EndsWith(path, ".raw") || EndsWith(path, ".rgba")) {
      plan.kind = OutputKind::kRaw;
    } else if (EndsWith(path, ".png")) {
      plan.kind = numbered ? OutputKind::kPngSequence : OutputKind::kPng;
    } else {
      throw ToolError("reading output name",
                      path + ": cannot tell the format from the name; give --format");
    }
  } else if (format == "png") {
    plan.kind = numbered ? OutputKind::kPngSequence : OutputKind::kPng;
  } else if (format == "gif") {
    plan.kind = OutputKind::kGif;
  } else if (format == "raw") {
    plan.kind = OutputKind::kRaw;
  } else if (format == "y4m") {
    plan.kind = OutputKind::kY4m;
  } else {
    throw ToolError("reading format", "\"" + format + "\" is not one of auto, png, gif, raw, y4m");
  }
  if (plan.toStdout && plan.kind != OutputKind::kRaw && plan.kind != OutputKind::kY4m) {
    throw ToolError("reading output name", "only raw and y4m can go to standard output");
  }
  if (numbered && plan.kind != OutputKind::kPngSequence) {
    throw ToolError("reading output name",
                    path + ": a number pattern in the name needs PNG output");
  }
  return plan;
}

}  // namespace vtool
