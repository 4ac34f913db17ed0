#include "RecordingHost.h"

#include <cstdio>
#include <cstdlib>

#include "RecordingGL.h"

namespace bench {

FFInstanceID MakeRecordingInstance() {
  RecordingGL& gl = RecordingGL::Instance();
  gl.Reset();
  gl.SetViewport(0, 0, 1280, 720);
  const char* const uniforms[] = {"time",  "time2",      "but1",       "alphaMode",
                                  "mouse", "resolution", "inputColour"};
  GLint location = 0;
  for (const char* name : uniforms) gl.SetUniformLocation(name, location++);
  gl.SetQuiet(true);

  if (plugMain(FF_INITIALISE, Value(0), 0) != FF_SUCCESS) {
    std::fprintf(stderr, "bench: initialising the plugin: code 1 failed\n");
    std::exit(1);
  }
  const ViewportRecord viewport{0, 0, 1280, 720};
  const FFResult id = plugMain(FF_INSTANTIATEGL, Record(&viewport), 0);
  if (id == FF_FAIL || id == 0) {
    std::fprintf(stderr, "bench: making an instance: code 18 failed\n");
    std::exit(1);
  }
  return id;
}

}  // namespace bench
