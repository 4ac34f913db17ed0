#include "gl/FFGLShader.h"

namespace {

// Every entry point CompileAndLink may call; a null one is never called.
bool CanCompileAndLink(const FFGLExtensionTable* table) {
  return table != nullptr && table->glCreateProgramObjectARB != nullptr &&
         table->glCreateShaderObjectARB != nullptr && table->glShaderSourceARB != nullptr &&
         table->glCompileShaderARB != nullptr && table->glGetObjectParameterivARB != nullptr &&
         table->glAttachObjectARB != nullptr && table->glLinkProgramARB != nullptr;
}

bool CanUseProgram(const FFGLExtensionTable* table) {
  return table != nullptr && table->hasShaderObjects != 0 &&
         table->glUseProgramObjectARB != nullptr;
}

// Sources, compiles and, when it compiled, attaches one stage; true when attached.
bool CompileStage(const FFGLExtensionTable& table, GLhandleARB program, GLhandleARB object,
                  const char* source) {
  if (object == 0 || program == 0 || source == nullptr || source[0] == '\0') return false;
  const GLcharARB* texts[1] = {source};
  table.glShaderSourceARB(object, 1, texts, nullptr);
  table.glCompileShaderARB(object);
  GLint status = 0;
  table.glGetObjectParameterivARB(object, GL_OBJECT_COMPILE_STATUS_ARB, &status);
  if (status != 1) return false;
  table.glAttachObjectARB(program, object);
  return true;
}

}  // namespace

FFGLShader::~FFGLShader() = default;

void FFGLShader::SetExtensionTable(FFGLExtensionTable* extensions) {
  table = extensions;
}

int FFGLShader::CompileAndLink(const char* vertexSource, const char* fragmentSource) {
  if (!CanCompileAndLink(table)) return 0;
  if (program == 0) CreateObjects();

  // Fragment first, then vertex; the program links with whichever stages compiled.
  const bool fragmentAttached = CompileStage(*table, program, fragmentObject, fragmentSource);
  const bool vertexAttached = CompileStage(*table, program, vertexObject, vertexSource);
  // A fragment text that does not compile is the picture missing: linking the vertex stage
  // alone would draw a flat fixed-function quad and call the program ready.
  const bool fragmentFailed =
      fragmentSource != nullptr && fragmentSource[0] != '\0' && !fragmentAttached;

  GLint status = 0;
  if ((fragmentAttached || vertexAttached) && !fragmentFailed) {
    table->glLinkProgramARB(program);
    table->glGetObjectParameterivARB(program, GL_OBJECT_LINK_STATUS_ARB, &status);
  }
  linkStatus = status;
  return linkStatus;
}

void FFGLShader::CreateObjects() {
  if (table == nullptr || table->glCreateProgramObjectARB == nullptr ||
      table->glCreateShaderObjectARB == nullptr) {
    return;
  }
  if (program == 0) program = table->glCreateProgramObjectARB();
  if (vertexObject == 0) vertexObject = table->glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
  if (fragmentObject == 0) {
    fragmentObject = table->glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);
  }
}

int32_t FFGLShader::UniformLocation(const char* name) {
  if (table == nullptr || table->glGetUniformLocationARB == nullptr) return -1;
  return table->glGetUniformLocationARB(program, name);
}

int FFGLShader::Bind() {
  if (!CanUseProgram(table) || program == 0) return 0;
  table->glUseProgramObjectARB(program);
  return 1;
}

int FFGLShader::Unbind() {
  if (!CanUseProgram(table)) return 0;
  table->glUseProgramObjectARB(0);
  return 1;
}

void FFGLShader::ReleaseObjects() {
  if (table == nullptr || table->glDeleteObjectARB == nullptr) return;
  if (fragmentObject != 0) {
    table->glDeleteObjectARB(fragmentObject);
    fragmentObject = 0;
  }
  if (vertexObject != 0) {
    table->glDeleteObjectARB(vertexObject);
    vertexObject = 0;
  }
  if (program != 0) {
    table->glDeleteObjectARB(program);
    program = 0;
  }
}

bool FFGLShader::IsProgramReady() const {
  return program != 0 && vertexObject != 0 && fragmentObject != 0 && linkStatus == 1;
}
