// Progress on stderr: a redrawn bar on a terminal, a plain line now and then otherwise.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace vtool {

class Progress {
 public:
  Progress(FILE* stream, uint32_t total, bool quiet);
  void Update(uint32_t done);
  void Done();

 private:
  void Print(uint32_t done, bool last);

  using Clock = std::chrono::steady_clock;
  FILE* stream_;
  uint32_t total_;
  bool quiet_;
  bool terminal_;
  Clock::time_point start_;
  Clock::time_point lastPrint_;
  uint32_t lastDone_ = 0;
};

}  // namespace vtool
