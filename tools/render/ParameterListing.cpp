#include "ParameterListing.h"

#include <string>

namespace vtool {
namespace {

const char* TypeName(uint32_t type) {
  switch (type) {
    case FF_TYPE_BOOLEAN:
      return "switch";
    case FF_TYPE_STANDARD:
      return "standard";
    case FF_TYPE_TEXT:
      return "text";
    default:
      return "other";
  }
}

}  // namespace

void PrintListing(FILE* stream, const PluginLibrary& plugin) {
  const PluginIdentity& id = plugin.identity();
  const PluginCapabilities& caps = plugin.capabilities();
  fprintf(stream, "plugin:       \"%s\" (id \"%s\"), %s, interface %u.%u", id.name.c_str(),
          id.uniqueId.c_str(), id.pluginType == 1 ? "source" : "effect", id.apiMajor, id.apiMinor);
  if (id.hasExtendedInfo) fprintf(stream, ", version %u.%u", id.pluginMajor, id.pluginMinor);
  fprintf(stream, "\n");
  if (!id.description.empty()) fprintf(stream, "description:  %s\n", id.description.c_str());
  if (!id.about.empty()) fprintf(stream, "about:        %s\n", id.about.c_str());
  fprintf(stream, "capabilities: OpenGL %s, host time %s, inputs %u to %u\n",
          caps.openGL ? "yes" : "no", caps.acceptsHostTime ? "accepted" : "declined",
          caps.minimumInputs, caps.maximumInputs);
  fprintf(stream, "parameters:   %zu\n", plugin.parameters().size());
  fprintf(stream, "  %-5s  %-18s  %-8s  %-10s  %s\n", "index", "name", "type", "default", "range");
  for (const ParameterInfo& parameter : plugin.parameters()) {
    const std::string quoted = "\"" + parameter.name + "\"";
    std::string fallback;
    std::string range;
    if (parameter.IsText()) {
      fallback = "\"" + parameter.defaultText + "\"";
      range = "text";
    } else {
      char number[32];
      snprintf(number, sizeof number, "%g", static_cast<double>(parameter.defaultValue));
      fallback = number;
      range = parameter.IsSwitch() ? "0 or 1" : "0 to 1";
    }
    fprintf(stream, "  %-5u  %-18s  %-8s  %-10s  %s\n", parameter.index, quoted.c_str(),
            TypeName(parameter.type), fallback.c_str(), range.c_str());
  }
}

}  // namespace vtool
