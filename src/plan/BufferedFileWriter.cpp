#include "plan/BufferedFileWriter.h"

#include "app/ProgramDir.h"

#include <cstring>

namespace zuk {

BufferedFileWriter::BufferedFileWriter(const QString& path, qsizetype bufferSize)
    : path_(path), file_(path), buffer_(new char[bufferSize]), next_(buffer_.get()),
      end_(buffer_.get() + bufferSize) {}

bool BufferedFileWriter::open() {
    if (!file_.open(QIODevice::WriteOnly))
        fail(file_.errorString());
    return !failed();
}

void BufferedFileWriter::append(QByteArrayView bytes) {
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        if (next_ == end_)
            flushBuffer();
        const qsizetype room = std::min<qsizetype>(left, end_ - next_);
        std::memcpy(next_, data, static_cast<std::size_t>(room));
        next_ += room;
        data += room;
        left -= room;
    }
}

void BufferedFileWriter::flushBuffer() {
    const qsizetype size = next_ - buffer_.get();
    next_ = buffer_.get();
    if (failed() || size == 0)
        return;
    if (file_.write(buffer_.get(), size) != size)
        fail(file_.errorString());
}

bool BufferedFileWriter::commit() {
    flushBuffer();
    if (failed()) {
        cancel();
        return false;
    }
    if (!file_.commit())
        fail(file_.errorString());
    return !failed();
}

void BufferedFileWriter::cancel() {
    if (file_.isOpen())
        file_.cancelWriting();
    next_ = buffer_.get();
}

void BufferedFileWriter::fail(const QString& reason) {
    if (!failed())
        error_ = ProgramDir::writeFailure(path_, reason);
    if (file_.isOpen())
        file_.cancelWriting();
}

} // namespace zuk
