#include "ImportProtocol.h"

#include <cstdint>
#include <cstring>

namespace ponencias {

namespace {

// The greeting names the protocol's version: an importer of another build is not understood.
constexpr char kGreeting[] = {'P', 'M', 'D', 'B', '2'};
enum : char { kSucceeded = 'K', kFailed = 'E' };

// A result: its kind, the payload's length (64 bits, the machine's order) and the payload.
QByteArray Result(char kind, const QByteArray& payload) {
    const uint64_t length = uint64_t(payload.size());
    return QByteArray(1, kind) + QByteArray(reinterpret_cast<const char*>(&length), sizeof length) +
           payload;
}

}  // namespace

QByteArray ImportProtocol::Greeting() {
    return QByteArray(kGreeting, sizeof kGreeting);
}

// The payload of a success: the image's length, the image, then the notes, one a line.
QByteArray ImportProtocol::Success(const QByteArray& image, const QStringList& notes) {
    const uint64_t imageSize = uint64_t(image.size());
    return Result(kSucceeded,
                  QByteArray(reinterpret_cast<const char*>(&imageSize), sizeof imageSize) + image +
                      notes.join(u'\n').toUtf8());
}

QByteArray ImportProtocol::Failure(const QByteArray& why) {
    return Result(kFailed, why);
}

ImportProtocol::Reply ImportProtocol::Parse(const QByteArray& received) {
    Reply reply;
    if (!received.startsWith(Greeting())) {
        return reply;
    }
    reply.status = Reply::Incomplete;
    constexpr qsizetype kHeader = sizeof kGreeting + 1 + sizeof(uint64_t);
    uint64_t length = 0;
    if (received.size() < kHeader) {
        return reply;
    }
    std::memcpy(&length, received.constData() + sizeof kGreeting + 1, sizeof length);
    if (uint64_t(received.size() - kHeader) != length) {
        return reply;
    }
    const char kind = received.at(sizeof kGreeting);
    const QByteArray payload = received.mid(kHeader);
    if (kind == kFailed) {
        reply.status = Reply::Failed;
        reply.failure = QString::fromUtf8(payload);
        return reply;
    }
    uint64_t imageSize = 0;
    if (kind != kSucceeded || payload.size() < qsizetype(sizeof imageSize)) {
        return reply;
    }
    std::memcpy(&imageSize, payload.constData(), sizeof imageSize);
    if (imageSize > uint64_t(payload.size()) - sizeof imageSize) {
        return reply;
    }
    reply.status = Reply::Succeeded;
    reply.image = payload.mid(sizeof imageSize, qsizetype(imageSize));
    const QString notes = QString::fromUtf8(payload.mid(qsizetype(sizeof imageSize + imageSize)));
    if (!notes.isEmpty()) {
        reply.notes = notes.split(u'\n');
    }
    return reply;
}

}  // namespace ponencias
