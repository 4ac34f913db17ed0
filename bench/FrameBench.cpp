// CPU cost of one frame of the pattern program with OpenGL calls that do nothing: viewport read,
// clock, phases, local date, seven uniform uploads, the quad and the restores. Also the two
// system services the frame reads, alone, to show their share.
#include <benchmark/benchmark.h>

#include <ctime>

#include "AllocationCounter.h"
#include "RecordingHost.h"
#include "platform/Platform.h"

namespace {

FFInstanceID Instance() {
  static const FFInstanceID id = bench::MakeRecordingInstance();
  return id;
}

// Runs the body once per iteration and shows the heap allocations per iteration beside the time.
template <typename Body>
void Measure(benchmark::State& state, Body body) {
  body();  // first use outside the count: one-time set-up such as reading the time zone
  const uint64_t start = allocation_counter::Count();
  for (auto _ : state) body();
  const double made = static_cast<double>(allocation_counter::Count() - start);
  state.counters["allocs"] = benchmark::Counter(made, benchmark::Counter::kAvgIterations);
}

void Frame(benchmark::State& state) {
  const FFInstanceID id = Instance();
  const ProcessFrameRecord frame{0, nullptr, 0};
  const FFMixed input = bench::Record(&frame);
  Measure(state, [&] { benchmark::DoNotOptimize(plugMain(FF_PROCESSOPENGL, input, id)); });
}

void ClockRead(benchmark::State& state) {
  Measure(state, [] { benchmark::DoNotOptimize(platform::CounterTicks()); });
}

void LocalDate(benchmark::State& state) {
  Measure(state, [] {
    std::tm local{};
    platform::LocalTime(std::time(nullptr), &local);
    benchmark::DoNotOptimize(local);
  });
}

BENCHMARK(Frame);
BENCHMARK(ClockRead);
BENCHMARK(LocalDate);

}  // namespace

BENCHMARK_MAIN();
