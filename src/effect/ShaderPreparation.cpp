// StartGL, StopGL and the preparation of the fragment program.
#include <string>

#include "effect/PatternSources.h"
#include "effect/Vantorel.h"
#include "gl/OpenGL.h"

namespace {

// A source with this declaration follows the plugin's own convention and is complete.
constexpr char kTimeMarker[] = "uniform float time;";
// A source with this defines mainImage and needs a main.
constexpr char kMainImageMarker[] = "void mainImage";

constexpr char kCompatibilityHeader[] =
    "uniform vec3 iResolution;\n"
    "uniform float iGlobalTime;\n"
    "uniform vec4 iMouse;\n"
    "uniform vec4 iDate;\n"
    "uniform float iChannelTime[4];\n"
    "uniform vec3 iChannelResolution[4];\n"
    "uniform sampler2D iChannel0;\n"
    "uniform sampler2D iChannel1;\n"
    "uniform sampler2D iChannel2;\n"
    "uniform sampler2D iChannel3;\n";
static_assert(sizeof(kCompatibilityHeader) - 1 == 277, "compatibility header length");

constexpr char kInputColourDeclaration[] = "uniform vec4 inputColour;\n";
static_assert(sizeof(kInputColourDeclaration) - 1 == 26, "inputColour declaration length");

constexpr char kMainWrapper[] =
    "void main(void) {\n"
    "    mainImage(gl_FragColor, gl_FragCoord.xy);\n"
    "}\n";
static_assert(sizeof(kMainWrapper) - 1 == 66, "main wrapper length");

struct LookupRow {
  int32_t UniformSlots::*slot;
  const char* name;
};

// In order of preference: the first name the program has fills its slot.
constexpr LookupRow kLookup[] = {
    {&UniformSlots::channel0, "texture"},
    {&UniformSlots::channel0, "tex0"},
    {&UniformSlots::channel1, "tex1"},
    {&UniformSlots::channel0, "backbuffer"},
    {&UniformSlots::channel0, "bbuff"},
    {&UniformSlots::time, "time"},
    {&UniformSlots::time2, "time2"},
    {&UniformSlots::mouse, "mouse"},
    {&UniformSlots::resolution, "resolution"},
    {&UniformSlots::surfaceSize, "surfaceSize"},
    {&UniformSlots::but1, "but1"},
    {&UniformSlots::alphaMode, "alphaMode"},
    {&UniformSlots::channel0, "iChannel0"},
    {&UniformSlots::channel1, "iChannel1"},
    {&UniformSlots::channel2, "iChannel2"},
    {&UniformSlots::channel3, "iChannel3"},
    {&UniformSlots::iResolution, "iResolution"},
    {&UniformSlots::iMouse, "iMouse"},
    {&UniformSlots::time, "iGlobalTime"},
    {&UniformSlots::date, "iDate"},
    {&UniformSlots::channelTime, "iChannelTime[4]"},
    {&UniformSlots::channelTime, "iChannelTime[0]"},
    {&UniformSlots::channelTime, "iChannelTime[1]"},
    {&UniformSlots::channelTime, "iChannelTime[2]"},
    {&UniformSlots::channelTime, "iChannelTime[3]"},
    {&UniformSlots::channelResolution, "iChannelResolution[4]"},
    {&UniformSlots::channelResolution, "iChannelResolution[0]"},
    {&UniformSlots::channelResolution, "iChannelResolution[1]"},
    {&UniformSlots::channelResolution, "iChannelResolution[2]"},
    {&UniformSlots::channelResolution, "iChannelResolution[3]"},
    {&UniformSlots::inputColour, "inputColour"},
};
static_assert(sizeof(kLookup) / sizeof(kLookup[0]) == 31, "lookup rows");

}  // namespace

int32_t Vantorel::StartGL(const ViewportRecord* viewport) {
  if (viewport == nullptr) return -1;
  extensions.ResolveAll();
  if (extensions.hasMultitexture == 0 || extensions.hasShaderObjects == 0) return -1;

  viewportWidth = static_cast<float>(viewport->width);
  viewportHeight = static_cast<float>(viewport->height);
  clock.start();
  shaderReady = prepareShader(std::string(patternFragmentSource));
  return 0;
}

bool Vantorel::prepareShader(std::string fragmentSource) {
  if (fragmentSource.find(kTimeMarker) == std::string::npos) {
    std::string completed(kCompatibilityHeader);
    completed += kInputColourDeclaration;
    completed += fragmentSource;
    if (fragmentSource.find(kMainImageMarker) != std::string::npos) completed += kMainWrapper;
    fragmentSource = std::move(completed);
  }

  shader.SetExtensionTable(&extensions);
  if (shader.CompileAndLink(patternVertexSource, fragmentSource.c_str()) == 0) return false;
  if (!shader.IsProgramReady()) return false;
  if (shader.Bind() == 0) return false;

  uniforms = kNoUniforms;
  for (const LookupRow& row : kLookup) {
    if (uniforms.*row.slot < 0) uniforms.*row.slot = shader.UniformLocation(row.name);
  }
  shader.Unbind();

  // Copies made for an earlier program are dropped; the next frame remakes what it needs.
  for (GLuint& name : copyTextures) {
    if (name != 0) glDeleteTextures(1, &name);
    name = 0;
  }
  clock.start();
  return true;
}

int32_t Vantorel::StopGL() {
  if (shaderReady) shader.Unbind();
  shader.ReleaseObjects();
  if (copyFramebuffer != 0) extensions.glDeleteFramebuffersEXT(1, &copyFramebuffer);
  for (GLuint name : copyTextures) {
    if (name != 0) glDeleteTextures(1, &name);
  }
  for (GLuint& name : copyTextures) name = 0;
  copyFramebuffer = 0;
  shaderReady = false;
  return 0;
}
