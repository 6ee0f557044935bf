// Runs independent pieces of work on several threads and hands their results
// back on the calling thread in index order, so output built from them is
// the same whatever the number of threads. At most a few results wait
// unhanded at any time, so memory stays bounded on long runs.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace qmx {

// The number of hardware threads, at least 1.
inline unsigned defaultJobs()
{
    return std::max(1u, std::thread::hardware_concurrency());
}

// Calls emit(i, work(i)) for i in [0, n), in order. work runs on up to jobs
// threads and must share no mutable state between calls; emit runs on the
// calling thread. An exception from work is thrown again from here, in its
// turn, after the threads have stopped.
template <class Work, class Emit> void runInOrder(size_t n, unsigned jobs, Work&& work, Emit&& emit)
{
    if (jobs <= 1 || n <= 1) {
        for (size_t i = 0; i < n; ++i)
            emit(i, work(i));
        return;
    }
    using Result = decltype(work(size_t(0)));
    struct Slot {
        std::optional<Result> value;
        std::exception_ptr error;
        bool done = false;
    };
    const size_t window = size_t(jobs) * 4;
    std::vector<Slot> slots(n);
    std::mutex m;
    std::condition_variable changed;
    size_t next = 0, handed = 0;
    bool stop = false;

    auto worker = [&] {
        for (;;) {
            size_t i;
            {
                std::unique_lock lock(m);
                changed.wait(lock, [&] { return stop || next >= n || next < handed + window; });
                if (stop || next >= n)
                    return;
                i = next++;
            }
            Slot s;
            try {
                s.value.emplace(work(i));
            } catch (...) {
                s.error = std::current_exception();
            }
            s.done = true;
            std::lock_guard lock(m);
            slots[i] = std::move(s);
            changed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < std::min<size_t>(jobs, n); ++t)
        threads.emplace_back(worker);

    std::exception_ptr failure;
    for (size_t i = 0; i < n && !failure; ++i) {
        Slot s;
        {
            std::unique_lock lock(m);
            changed.wait(lock, [&] { return slots[i].done; });
            s = std::move(slots[i]);
            slots[i] = Slot();
            handed = i + 1;
            changed.notify_all();
        }
        if (s.error) {
            failure = s.error;
            break;
        }
        try {
            emit(i, std::move(*s.value));
        } catch (...) {
            failure = std::current_exception();
        }
    }
    {
        std::lock_guard lock(m);
        stop = true;
        changed.notify_all();
    }
    for (std::thread& t : threads)
        t.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace qmx
