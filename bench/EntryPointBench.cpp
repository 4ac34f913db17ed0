// The cost plugMain adds to the operation it forwards to: codes 4, 8, 9 and 17 through the entry
// point against the same operation called directly on the object.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "AllocationCounter.h"
#include "RecordingHost.h"
#include "framework/CFreeFrameGLPlugin.h"
#include "host/FFGLPluginRegistration.h"

namespace {

struct Subjects {
  FFPlugMainFunc entry = nullptr;  // as a host holds it: a function address
  FFInstanceID id = 0;             // an instance made by code 18
  CFreeFrameGLPlugin* instance = nullptr;
  CFreeFrameGLPlugin* query = nullptr;  // a plugin object of our own for the instance-less code
};

Subjects& Get() {
  static Subjects subjects = [] {
    Subjects made;
    made.entry = &plugMain;
    benchmark::DoNotOptimize(made.entry);
    made.id = bench::MakeRecordingInstance();
    made.instance = reinterpret_cast<CFreeFrameGLPlugin*>(made.id);
    if (GetRegistration()->GetFactory()(&made.query) != 0) std::abort();
    return made;
  }();
  return subjects;
}

// Allocations per iteration, shown beside the time.
class AllocationScope {
 public:
  explicit AllocationScope(benchmark::State& state)
      : state_(state), start_(allocation_counter::Count()) {}
  ~AllocationScope() {
    const double made = static_cast<double>(allocation_counter::Count() - start_);
    state_.counters["allocs"] = benchmark::Counter(made, benchmark::Counter::kAvgIterations);
  }

 private:
  benchmark::State& state_;
  uint64_t start_;
};

void Code4_PlugMain(benchmark::State& state) {
  Subjects& s = Get();
  AllocationScope allocations(state);
  for (auto _ : state) benchmark::DoNotOptimize(s.entry(FF_GETNUMPARAMETERS, bench::Value(0), 0));
}

void Code4_Direct(benchmark::State& state) {
  Subjects& s = Get();
  CFreeFrameGLPlugin* query = s.query;
  AllocationScope allocations(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(query);
    benchmark::DoNotOptimize(query->GetParameterCount());
  }
}

void Code9_PlugMain(benchmark::State& state) {
  Subjects& s = Get();
  const FFMixed index = bench::Value(static_cast<uint32_t>(state.range(0)));
  AllocationScope allocations(state);
  for (auto _ : state) benchmark::DoNotOptimize(s.entry(FF_GETPARAMETER, index, s.id));
}

void Code9_Direct(benchmark::State& state) {
  Subjects& s = Get();
  const auto index = static_cast<uint32_t>(state.range(0));
  AllocationScope allocations(state);
  for (auto _ : state) benchmark::DoNotOptimize(s.instance->GetParameterFloat(index));
}

void Code8_PlugMain(benchmark::State& state) {
  Subjects& s = Get();
  ParameterPair pair{};
  pair.index = static_cast<uint32_t>(state.range(0));
  pair.value.UIntValue = bench::Bits(0.25f);
  const FFMixed input = bench::Record(&pair);
  AllocationScope allocations(state);
  for (auto _ : state) benchmark::DoNotOptimize(s.entry(FF_SETPARAMETER, input, s.id));
}

void Code8_Direct(benchmark::State& state) {
  Subjects& s = Get();
  const auto index = static_cast<uint32_t>(state.range(0));
  float value = 0.25f;
  AllocationScope allocations(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(s.instance->SetParameterFloat(index, value));
  }
}

void Code17_PlugMain(benchmark::State& state) {
  Subjects& s = Get();
  const ProcessFrameRecord frame{0, nullptr, 0};
  const FFMixed input = bench::Record(&frame);
  AllocationScope allocations(state);
  for (auto _ : state) benchmark::DoNotOptimize(s.entry(FF_PROCESSOPENGL, input, s.id));
}

void Code17_Direct(benchmark::State& state) {
  Subjects& s = Get();
  const ProcessFrameRecord frame{0, nullptr, 0};
  AllocationScope allocations(state);
  for (auto _ : state) benchmark::DoNotOptimize(s.instance->DrawFrame(&frame));
}

// Index 0 is the first record of the type lookup's list, 10 the last.
BENCHMARK(Code4_PlugMain);
BENCHMARK(Code4_Direct);
BENCHMARK(Code8_PlugMain)->Arg(0)->Arg(10);
BENCHMARK(Code8_Direct)->Arg(0)->Arg(10);
BENCHMARK(Code9_PlugMain)->Arg(0)->Arg(10);
BENCHMARK(Code9_Direct)->Arg(0)->Arg(10);
BENCHMARK(Code17_PlugMain);
BENCHMARK(Code17_Direct);

}  // namespace

BENCHMARK_MAIN();
