// Encodes frames on a thread of its own, fed through a bounded queue, so that drawing never
// waits for compression or disk unless the queue is full.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "FrameSink.h"

namespace vtool {

class EncoderThread {
 public:
  EncoderThread(FrameSink& sink, size_t frameBytes, size_t capacity);
  ~EncoderThread();  // stops without finishing the sink if Finish was not called
  EncoderThread(const EncoderThread&) = delete;
  EncoderThread& operator=(const EncoderThread&) = delete;

  // A buffer of frameBytes to fill, reused from frames already encoded.
  std::vector<uint8_t> TakeBuffer();
  // Queues a filled buffer; blocks while the queue is full. Rethrows the encoder's error.
  void Push(std::vector<uint8_t> frame, uint32_t index);
  // Waits until every frame is encoded, then finishes the sink. Rethrows the encoder's error.
  void Finish();

 private:
  struct Job {
    std::vector<uint8_t> frame;
    uint32_t index;
  };

  void Run();
  void RethrowLocked();

  FrameSink& sink_;
  size_t frameBytes_;
  size_t capacity_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> queue_;
  std::vector<std::vector<uint8_t>> spare_;
  bool closing_ = false;
  std::exception_ptr error_;
  std::thread thread_;
};

}  // namespace vtool
