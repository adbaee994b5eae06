#pragma once

// What every fuzz target shares: the Qt application, a way to stop with a report when
// something that must hold does not, the input taken apart from the front, and a program
// directory in memory that each input finds empty.

#include "app/ProgramDir.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace zuk::fuzz {

// Prints what did not hold and aborts, so that libFuzzer keeps the input as a crash.
[[noreturn]] void fail(const char* what, const QString& detail = {});
inline void require(bool holds, const char* what, const QString& detail = {}) {
    if (!holds)
        fail(what, detail);
}

// The bytes of one input, taken from the front; zeros once it is used up.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : data_(reinterpret_cast<const char*>(data)), size_(size) {}

    bool empty() const { return used_ >= size_; }
    std::size_t left() const { return size_ - used_; }
    quint8 byte() { return empty() ? 0 : static_cast<quint8>(data_[used_++]); }
    bool flag() { return (byte() & 1) != 0; }
    // A number from low to high (inclusive), from the next two bytes.
    int number(int low, int high);
    // The rest of the input.
    QByteArray rest();

private:
    const char* data_;
    std::size_t size_;
    std::size_t used_ = 0;
};

// A program directory in memory (/dev/shm where there is one), emptied for every input.
class ScratchDir {
public:
    // The directory, with every file of the previous input removed.
    static const ProgramDir& fresh();
    // The directory as it is.
    static const ProgramDir& dir();
    // The directory emptied, then holding only the file `name` with these bytes.
    static const ProgramDir& holding(const QString& name, const QByteArray& bytes);
    static void put(const QString& name, const QByteArray& bytes);
    static QByteArray bytes(const QString& name);
    static bool has(const QString& name);
};

// What each target does with one input; the application (offscreen) is there.
void testOneInput(FuzzInput& input);

} // namespace zuk::fuzz
