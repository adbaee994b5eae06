#pragma once

#include <atomic>

namespace zuk {

// How many rows of a picture one thread has finished, for another thread that works on the
// rows after it: the writer publishes a count now and then (every row would cost a wake-up
// each), the reader waits until the rows it needs are in. Publishing releases the rows' cells
// to the reader, which acquires them when it sees the count.
class RowHandoff {
public:
    void publish(int rows) {
        done_.store(rows, std::memory_order_release);
        done_.notify_all();
    }
    int count() const { return done_.load(std::memory_order_acquire); }
    void waitFor(int rows) const {
        for (int seen = done_.load(std::memory_order_acquire); seen < rows;
             seen = done_.load(std::memory_order_acquire))
            done_.wait(seen, std::memory_order_acquire);
    }

private:
    std::atomic<int> done_{0};
};

} // namespace zuk
