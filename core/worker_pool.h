#pragma once
// A few threads running one piece of work beside the calling thread, joined on every way out.
// The system may give fewer threads than asked (or none): the work is written so that the
// threads obtained, the calling thread at least, finish it, and results never depend on how
// many there were.
#include <functional>
#include <thread>
#include <vector>

namespace orvelo {

class WorkerPool {
public:
    // Starts up to `count` threads; thread t (0-based, in start order) runs work(t). Stops
    // starting at the first thread the system refuses and keeps the ones started.
    WorkerPool(int count, const std::function<void(int)>& work);
    ~WorkerPool() { Join(); }
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    int started() const { return static_cast<int>(threads_.size()); }
    // The system's error code for the thread it refused; 0 when every thread started.
    int error() const { return error_; }
    // Waits for every started thread to finish its work.
    void Join();

private:
    std::vector<std::thread> threads_;
    int error_ = 0;
};

}  // namespace orvelo
