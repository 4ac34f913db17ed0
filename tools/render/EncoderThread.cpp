#include "EncoderThread.h"

namespace vtool {

EncoderThread::EncoderThread(FrameSink& sink, size_t frameBytes, size_t capacity)
    : sink_(sink), frameBytes_(frameBytes), capacity_(capacity < 1 ? 1 : capacity) {
  thread_ = std::thread(&EncoderThread::Run, this);
}

EncoderThread::~EncoderThread() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
    // Abandoned frames are dropped; the sink leaves nothing under its final name.
    queue_.clear();
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

std::vector<uint8_t> EncoderThread::TakeBuffer() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (spare_.empty()) return std::vector<uint8_t>(frameBytes_);
  std::vector<uint8_t> buffer = std::move(spare_.back());
  spare_.pop_back();
  return buffer;
}

void EncoderThread::Push(std::vector<uint8_t> frame, uint32_t index) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return queue_.size() < capacity_ || error_ != nullptr; });
  RethrowLocked();
  queue_.push_back(Job{std::move(frame), index});
  lock.unlock();
  changed_.notify_all();
}

void EncoderThread::Finish() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  thread_.join();
  std::lock_guard<std::mutex> lock(mutex_);
  RethrowLocked();
  sink_.Finish();
}

void EncoderThread::RethrowLocked() {
  if (error_ != nullptr) std::rethrow_exception(error_);
}

void EncoderThread::Run() {
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this] { return !queue_.empty() || closing_; });
      if (queue_.empty()) return;
      job = std::move(queue_.front());
      queue_.pop_front();
    }
    changed_.notify_all();
    try {
      sink_.Write(job.frame.data(), job.index);
    } catch (...) {
      std::lock_guard<std::mutex> lock(mutex_);
      error_ = std::current_exception();
      queue_.clear();
      changed_.notify_all();
      return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    spare_.push_back(std::move(job.frame));
  }
}

}  // namespace vtool
