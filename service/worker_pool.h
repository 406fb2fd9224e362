// WorkerPool: a fixed number of threads, jobs in order of arrival.

#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace casavo::service {

// A fixed number of threads that run queued jobs in order of arrival.
class WorkerPool {
 public:
  explicit WorkerPool(int threads);
  // Stops; jobs still queued are dropped.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  void Post(std::function<void()> job);
  // Lets the running jobs end, drops the queued ones and joins the threads.
  void Stop();

 private:
  void Work();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace casavo::service
