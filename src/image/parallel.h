// Spreading independent pieces of work over the machine's cores.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace velk {

// Runs body(i) for every i in [0, n), on up to one thread per core, each
// taking the next `grain` indexes as it becomes free; returns when all have
// run. Each body(i) must touch only what belongs to i (results go into
// slots by index, so the outcome is the same as one thread's).
// Work that mostly waits (on the disk) may ask for more threads than cores.
template <typename Body>
void parallelFor(size_t n, Body body, size_t grain = 32, size_t maxThreads = 0) {
    const size_t cores = maxThreads ? maxThreads : std::max(1u, std::thread::hardware_concurrency());
    const size_t threads = std::min(cores, (n + grain - 1) / std::max<size_t>(grain, 1));
    if (threads <= 1) {
        for (size_t i = 0; i < n; ++i) body(i);
        return;
    }
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (;;) {
            const size_t from = next.fetch_add(grain);
            if (from >= n) return;
            for (size_t i = from; i < std::min(n, from + grain); ++i) body(i);
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    for (size_t t = 1; t < threads; ++t) helpers.emplace_back(work);
    work();
    for (std::thread& h : helpers) h.join();
}

}  // namespace velk
