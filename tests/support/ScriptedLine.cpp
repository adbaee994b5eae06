#include "support/ScriptedLine.h"

namespace zuk::test {

class ScriptedLine::Transport final : public ByteTransport {
public:
    explicit Transport(ScriptedLine& line) : line_(line) {}

    bool setParity(Parity parity) override {
        line_.parity_ = parity;
        return true;
    }

    bool writeByte(quint8 byte) override {
        const int number = static_cast<int>(line_.written_.size());
        if (line_.failWritesFrom_ >= 0 && number >= line_.failWritesFrom_)
            return false;
        line_.written_.push_back({byte, line_.parity_});
        return true;
    }

    std::optional<quint8> readByte(int timeoutMs) override {
        line_.readTimeouts_.push_back(timeoutMs);
        int next = kSilence;
        if (!line_.answers_.empty()) {
            next = line_.answers_.front();
            line_.answers_.pop_front();
        }
        if (next == kSilence) {
            line_.clock_.advance(timeoutMs);
            return std::nullopt;
        }
        return static_cast<quint8>(next);
    }

private:
    ScriptedLine& line_;
};

TransportFactory ScriptedLine::factory() {
    return [this](const QString&) -> std::unique_ptr<ByteTransport> {
        if (failOpening_)
            return nullptr;
        ++opens_;
        return std::make_unique<Transport>(*this);
    };
}

QByteArray ScriptedLine::writtenBytes() const {
    QByteArray bytes;
    for (const Written& w : written_)
        bytes.append(static_cast<char>(w.byte));
    return bytes;
}

QByteArray ScriptedLine::takeWritten() {
    const QByteArray all = writtenBytes();
    const QByteArray fresh = all.mid(static_cast<qsizetype>(taken_));
    taken_ = written_.size();
    return fresh;
}

} // namespace zuk::test
