#include "ParameterPanel.h"

#include <imgui.h>

#include <algorithm>
#include <cstring>

namespace vtool {
namespace {

constexpr size_t kTextCapacity = 256;

}  // namespace

ParameterPanel::ParameterPanel(const PluginLibrary& plugin) : plugin_(plugin) {
  ResetToDefaults();
}

void ParameterPanel::MarkAllChanged() {
  changed_.assign(values_.size(), true);
}

void ParameterPanel::ResetToDefaults() {
  const size_t count = plugin_.parameters().size();
  values_.resize(count);
  textEdits_.assign(count, std::vector<char>(kTextCapacity, '\0'));
  for (uint32_t i = 0; i < count; ++i) {
    values_[i] = plugin_.DefaultValue(i);
    const std::string& text = values_[i].text;
    std::memcpy(textEdits_[i].data(), text.data(), std::min(text.size(), kTextCapacity - 1));
  }
  MarkAllChanged();
}

PanelRequests ParameterPanel::Draw(const PluginInstance* instance, float framesPerSecond) {
  PanelRequests requests;
  const PluginIdentity& id = plugin_.identity();
  ImGui::SetNextWindowPos(ImVec2(10, 10), ImGuiCond_FirstUseEver);
  ImGui::SetNextWindowSize(ImVec2(380, 0), ImGuiCond_FirstUseEver);
  ImGui::Begin("Parameters");
  ImGui::Text("%s (%s)  %.0f fps", id.name.c_str(), id.uniqueId.c_str(),
              static_cast<double>(framesPerSecond));
  ImGui::Separator();
  for (const ParameterInfo& parameter : plugin_.parameters()) {
    const uint32_t i = parameter.index;
    ImGui::PushID(static_cast<int>(i));
    bool edited = false;
    if (parameter.IsSwitch()) {
      bool on = values_[i].number != 0.0f;
      if (ImGui::Checkbox(parameter.name.c_str(), &on)) {
        values_[i].number = on ? 1.0f : 0.0f;
        edited = true;
      }
    } else if (parameter.IsText()) {
      if (ImGui::InputText(parameter.name.c_str(), textEdits_[i].data(), kTextCapacity)) {
        values_[i].text = textEdits_[i].data();
        edited = true;
      }
    } else {
      ImGui::SetNextItemWidth(180);
      edited = ImGui::SliderFloat(parameter.name.c_str(), &values_[i].number, 0.0f, 1.0f, "%.3f");
    }
    if (edited) changed_[i] = true;
    if (instance != nullptr) {
      ImGui::SameLine();
      ImGui::TextDisabled("%s", instance->DisplayText(i).c_str());
    }
    ImGui::PopID();
  }
  ImGui::Separator();
  requests.reset = ImGui::Button("Reset (R)");
  ImGui::SameLine();
  requests.screenshot = ImGui::Button("Screenshot (S)");
  ImGui::SameLine();
  requests.fullscreen = ImGui::Button("Fullscreen (F)");
  ImGui::SameLine();
  requests.quit = ImGui::Button("Quit (Q)");
  ImGui::End();
  return requests;
}

void ParameterPanel::SendChanges(PluginInstance& instance) {
  for (uint32_t i = 0; i < values_.size(); ++i) {
    if (!changed_[i]) continue;
    instance.SetParameter(i, values_[i]);
    changed_[i] = false;
  }
}

}  // namespace vtool
