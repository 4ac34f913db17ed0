#include "Progress.h"

#include <unistd.h>

#include <string>

namespace vtool {
namespace {

constexpr int kBarWidth = 30;

}  // namespace

Progress::Progress(FILE* stream, uint32_t total, bool quiet)
    : stream_(stream),
      total_(total),
      quiet_(quiet),
      terminal_(isatty(fileno(stream)) != 0),
      start_(Clock::now()),
      lastPrint_(start_) {}

void Progress::Update(uint32_t done) {
  if (quiet_) return;
  lastDone_ = done;
  const Clock::time_point now = Clock::now();
  // A terminal is redrawn often; a log gets a line a second.
  const auto interval = terminal_ ? std::chrono::milliseconds(100) : std::chrono::seconds(1);
  if (now - lastPrint_ < interval) return;
  lastPrint_ = now;
  Print(done, false);
}

void Progress::Done() {
  if (quiet_) return;
  Print(lastDone_, true);
}

void Progress::Print(uint32_t done, bool last) {
  const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
  const double rate = seconds > 0.0 ? done / seconds : 0.0;
  const double left = rate > 0.0 ? (total_ - done) / rate : 0.0;
  if (terminal_) {
    const int filled = total_ == 0 ? kBarWidth : static_cast<int>(kBarWidth * done / total_);
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kBarWidth - filled), '.');
    fprintf(stream_, "\r[%s] %u/%u frames  %.1f fps  %.0fs left ", bar.c_str(), done, total_, rate,
            left);
    if (last) fputc('\n', stream_);
  } else {
    fprintf(stream_, "%u/%u frames, %.1f fps, %.0fs left\n", done, total_, rate, left);
  }
  fflush(stream_);
}

}  // namespace vtool
