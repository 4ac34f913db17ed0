// A loadable module that exports no plugMain: the tools must refuse it.
extern "C" __attribute__((visibility("default"))) int notAPlugin() {
  return 0;
}
