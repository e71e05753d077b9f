#include "core/worker_pool.h"

#include <system_error>

namespace orvelo {

WorkerPool::WorkerPool(int count, const std::function<void(int)>& work) {
    if (count <= 0) return;
    threads_.reserve(static_cast<std::size_t>(count));  // only the system's refusal can stop a start
    for (int t = 0; t < count; ++t) {
        try {
            threads_.emplace_back(work, t);
        } catch (const std::system_error& e) {
            error_ = e.code().value();
            break;
        }
    }
}

void WorkerPool::Join() {
    for (std::thread& t : threads_)
        if (t.joinable()) t.join();
}

}  // namespace orvelo
