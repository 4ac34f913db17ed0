#include "ViewerApp.h"

#define GLFW_INCLUDE_NONE
#include <GL/gl.h>
#include <GLFW/glfw3.h>
#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl2.h>
#include <imgui.h>

#include <cstring>
#include <vector>

#include "PngFile.h"
#include "ToolError.h"

namespace vtool {
namespace {

std::string lastGlfwError;

void OnGlfwError(int code, const char* description) {
  lastGlfwError = std::string(description) + " (GLFW error " + std::to_string(code) + ")";
}

using UseProgramFunction = void (*)(unsigned);
using ActiveTextureFunction = void (*)(unsigned);

}  // namespace

ViewerApp::ViewerApp(const ViewOptions& options)
    : options_(options), plugin_(options.pluginPath), panel_(plugin_) {
  if (!plugin_.capabilities().openGL) {
    throw ToolError("checking plugin", options.pluginPath + ": does not render through OpenGL");
  }
  for (const std::string& text : options.assignments) {
    const ParameterAssignment assignment = ParseAssignment(text, plugin_.parameters());
    panel_.values()[assignment.index] = assignment.value;
  }
  const Size size = ParseSize(options.size);
  if (!options.resize.empty()) resizeTo_ = ParseSize(options.resize);
  showPanel_ = !options.hidePanel;

  glfwSetErrorCallback(OnGlfwError);
  if (!glfwInit()) {
    throw ToolError("opening window",
                    lastGlfwError + " (is there a display? run under xvfb-run without one)");
  }
  glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
  window_ =
      glfwCreateWindow(static_cast<int>(size.width), static_cast<int>(size.height),
                       ("vantorel-view: " + plugin_.identity().name).c_str(), nullptr, nullptr);
  if (window_ == nullptr) {
    glfwTerminate();
    throw ToolError("opening window", lastGlfwError);
  }
  glfwSetWindowUserPointer(window_, this);
  // Installed before ImGui's, which then passes keys on to it.
  glfwSetKeyCallback(window_, OnKey);
  glfwMakeContextCurrent(window_);
  glfwSwapInterval(1);

  IMGUI_CHECKVERSION();
  ImGui::CreateContext();
  ImGui::GetIO().IniFilename = nullptr;  // no layout file left in the working folder
  ImGui::StyleColorsDark();
  ImGui_ImplGlfw_InitForOpenGL(window_, true);
  ImGui_ImplOpenGL2_Init();
}

ViewerApp::~ViewerApp() {
  instance_.reset();  // code 19 while the context is still current
  ImGui_ImplOpenGL2_Shutdown();
  ImGui_ImplGlfw_Shutdown();
  ImGui::DestroyContext();
  glfwDestroyWindow(window_);
  glfwTerminate();
}

void ViewerApp::OnKey(GLFWwindow* window, int key, int, int action, int) {
  if (action != GLFW_PRESS) return;
  // Keys typed into a panel field belong to the field.
  if (ImGui::GetCurrentContext() != nullptr && ImGui::GetIO().WantTextInput) return;
  static_cast<ViewerApp*>(glfwGetWindowUserPointer(window))->HandleKey(key);
}

void ViewerApp::HandleKey(int key) {
  switch (key) {
    case GLFW_KEY_R:
      panel_.ResetToDefaults();
      break;
    case GLFW_KEY_S:
    case GLFW_KEY_F12:
      screenshotWanted_ = true;
      break;
    case GLFW_KEY_F:
    case GLFW_KEY_F11:
      ToggleFullscreen();
      break;
    case GLFW_KEY_H:
    case GLFW_KEY_TAB:
      showPanel_ = !showPanel_;
      break;
    case GLFW_KEY_Q:
    case GLFW_KEY_ESCAPE:
      glfwSetWindowShouldClose(window_, GLFW_TRUE);
      break;
    default:
      break;
  }
}

bool ViewerApp::FollowSurface() {
  int width = 0, height = 0;
  glfwGetFramebufferSize(window_, &width, &height);
  if (width <= 0 || height <= 0) return false;  // minimised
  if (instance_ != nullptr && width == surfaceWidth_ && height == surfaceHeight_) return true;
  // A new viewport needs a new instance; the panel keeps the values and sends them again.
  instance_.reset();
  instance_ = std::make_unique<PluginInstance>(plugin_, static_cast<uint32_t>(width),
                                               static_cast<uint32_t>(height));
  surfaceWidth_ = width;
  surfaceHeight_ = height;
  panel_.MarkAllChanged();
  return true;
}

void ViewerApp::RestoreFixedFunctionState() {
  // The panel draws with fixed-function OpenGL; make sure no program or unit is left over.
  static auto useProgram = reinterpret_cast<UseProgramFunction>(glfwGetProcAddress("glUseProgram"));
  static auto activeTexture =
      reinterpret_cast<ActiveTextureFunction>(glfwGetProcAddress("glActiveTexture"));
  if (useProgram != nullptr) useProgram(0);
  if (activeTexture != nullptr) activeTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, 0);
}

void ViewerApp::DrawPlugin() {
  glViewport(0, 0, surfaceWidth_, surfaceHeight_);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  panel_.SendChanges(*instance_);
  instance_->DrawFrame(0);
  RestoreFixedFunctionState();
  glViewport(0, 0, surfaceWidth_, surfaceHeight_);
}

void ViewerApp::TakeScreenshot() {
  const auto width = static_cast<uint32_t>(surfaceWidth_);
  const auto height = static_cast<uint32_t>(surfaceHeight_);
  const size_t stride = static_cast<size_t>(width) * 4;
  std::vector<uint8_t> pixels(stride * height);
  std::vector<uint8_t> upright(pixels.size());
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, surfaceWidth_, surfaceHeight_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  for (uint32_t y = 0; y < height; ++y) {
    std::memcpy(upright.data() + y * stride, pixels.data() + (height - 1 - y) * stride, stride);
  }
  std::string path = options_.screenshotPath;
  if (path.empty()) path = "vantorel-view-" + std::to_string(++screenshotCount_) + ".png";
  SavePng(path, width, height, upright.data());
  fprintf(stderr, "vantorel-view: saved %ux%u screenshot to %s\n", width, height, path.c_str());
}

void ViewerApp::ToggleFullscreen() {
  if (glfwGetWindowMonitor(window_) != nullptr) {
    glfwSetWindowMonitor(window_, nullptr, windowedPlace_[0], windowedPlace_[1], windowedPlace_[2],
                         windowedPlace_[3], GLFW_DONT_CARE);
    return;
  }
  GLFWmonitor* monitor = glfwGetPrimaryMonitor();
  const GLFWvidmode* mode = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr;
  if (mode == nullptr) return;
  glfwGetWindowPos(window_, &windowedPlace_[0], &windowedPlace_[1]);
  glfwGetWindowSize(window_, &windowedPlace_[2], &windowedPlace_[3]);
  glfwSetWindowMonitor(window_, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
}

void ViewerApp::Run() {
  uint32_t frame = 0;
  while (!glfwWindowShouldClose(window_)) {
    glfwPollEvents();
    if (!FollowSurface()) {
      glfwWaitEvents();
      continue;
    }
    DrawPlugin();
    ++frame;
    if (frame == 1 && resizeTo_.width != 0) {
      glfwSetWindowSize(window_, static_cast<int>(resizeTo_.width),
                        static_cast<int>(resizeTo_.height));
    }
    const bool lastFrame = options_.screenshotAfter != 0 && frame >= options_.screenshotAfter;
    // Taken before the panel is drawn, so the picture is the plugin's alone.
    if (screenshotWanted_ || lastFrame) {
      screenshotWanted_ = false;
      TakeScreenshot();
    }

    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplGlfw_NewFrame();
    ImGui::NewFrame();
    if (showPanel_) {
      const PanelRequests requests = panel_.Draw(instance_.get(), ImGui::GetIO().Framerate);
      if (requests.reset) panel_.ResetToDefaults();
      if (requests.screenshot) screenshotWanted_ = true;
      if (requests.fullscreen) ToggleFullscreen();
      if (requests.quit) glfwSetWindowShouldClose(window_, GLFW_TRUE);
    }
    ImGui::Render();
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
    glfwSwapBuffers(window_);

    if (lastFrame || (options_.frames != 0 && frame >= options_.frames)) break;
  }
}

}  // namespace vtool
