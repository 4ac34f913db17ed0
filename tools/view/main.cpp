// vantorel-view: a windowed live host for FreeFrame GL source plugins.
#include <cstdio>
#include <exception>

#include "ViewOptions.h"
#include "ViewerApp.h"

int main(int argc, char** argv) {
  vtool::ViewOptions options;
  const int parsed = vtool::ParseViewOptions(argc, argv, &options);
  if (parsed >= 0) return parsed;
  try {
    vtool::ViewerApp app(options);
    app.Run();
  } catch (const std::exception& error) {
    fprintf(stderr, "vantorel-view: %s\n", error.what());
    return 1;
  }
  return 0;
}
