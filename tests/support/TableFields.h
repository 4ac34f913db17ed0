// The extension table's entry-point fields as data, so tests can walk them by group and name.
#pragma once

#include <string>
#include <vector>

#include "gl/FFGLExtensionTable.h"

enum class Group { Multitexture, ShaderObjects, FramebufferObject, SwapControl };

struct TableField {
  const char* name;
  Group group;
  platform::ProcAddress (*read)(const FFGLExtensionTable&);
  void (*write)(FFGLExtensionTable&, platform::ProcAddress);
};

#define TABLE_FIELD(groupValue, type, name)                                \
  TableField{#name, groupValue,                                            \
             [](const FFGLExtensionTable& table) {                         \
               return reinterpret_cast<platform::ProcAddress>(table.name); \
             },                                                            \
             [](FFGLExtensionTable& table, platform::ProcAddress value) {  \
               table.name = reinterpret_cast<type>(value);                 \
             }},
#define MULTITEXTURE_FIELD(type, name) TABLE_FIELD(Group::Multitexture, type, name)
#define SHADER_OBJECT_FIELD(type, name) TABLE_FIELD(Group::ShaderObjects, type, name)
#define FRAMEBUFFER_OBJECT_FIELD(type, name) TABLE_FIELD(Group::FramebufferObject, type, name)
#define SWAP_CONTROL_FIELD(type, name) TABLE_FIELD(Group::SwapControl, type, name)

// Every entry-point field, in layout order.
inline const std::vector<TableField>& AllFields() {
  static const std::vector<TableField> fields = {
      FFGL_MULTITEXTURE_ENTRY_POINTS(MULTITEXTURE_FIELD)
          FFGL_SHADER_OBJECT_ENTRY_POINTS(SHADER_OBJECT_FIELD)
              FFGL_FRAMEBUFFER_OBJECT_ENTRY_POINTS(FRAMEBUFFER_OBJECT_FIELD)
                  FFGL_SWAP_CONTROL_ENTRY_POINTS(SWAP_CONTROL_FIELD)};
  return fields;
}

#undef MULTITEXTURE_FIELD
#undef SHADER_OBJECT_FIELD
#undef FRAMEBUFFER_OBJECT_FIELD
#undef SWAP_CONTROL_FIELD
#undef TABLE_FIELD

inline std::vector<TableField> FieldsOf(Group group) {
  std::vector<TableField> found;
  for (const TableField& field : AllFields()) {
    if (field.group == group) found.push_back(field);
  }
  return found;
}

inline int32_t FlagOf(const FFGLExtensionTable& table, Group group) {
  switch (group) {
    case Group::Multitexture:
      return table.hasMultitexture;
    case Group::ShaderObjects:
      return table.hasShaderObjects;
    case Group::FramebufferObject:
      return table.hasFramebufferObject;
    case Group::SwapControl:
      return table.hasSwapControl;
  }
  return -1;
}

inline const char* GroupName(Group group) {
  switch (group) {
    case Group::Multitexture:
      return "multitexture";
    case Group::ShaderObjects:
      return "shader objects";
    case Group::FramebufferObject:
      return "framebuffer object";
    case Group::SwapControl:
      return "swap control";
  }
  return "?";
}

// The groups in the order a full resolution visits them.
inline const std::vector<Group>& ResolutionOrder() {
  static const std::vector<Group> order = {Group::SwapControl, Group::Multitexture,
                                           Group::ShaderObjects, Group::FramebufferObject};
  return order;
}
