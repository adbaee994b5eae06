#include "image/RowBands.h"

#include <exception>
#include <thread>

namespace zuk {
namespace {

// Below this many rows a second thread costs more than it saves.
constexpr int kRowsForTwoBands = 64;

} // namespace

bool secondThreadPays(int rows) {
    return rows >= kRowsForTwoBands && std::thread::hardware_concurrency() >= 2;
}

void forRowBands(int rows, const std::function<void(int first, int end)>& work) {
    if (!secondThreadPays(rows)) {
        work(0, rows);
        return;
    }
    const int middle = rows / 2;
    std::exception_ptr failure;
    std::thread first([&] {
        try {
            work(0, middle);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    try {
        work(middle, rows);
    } catch (...) {
        first.join();
        throw;
    }
    first.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace zuk
