#pragma once

#include <csv.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace ponencias::test {

// Records of a CSV text (RFC 4180), parsed with libcsv.
inline std::vector<QStringList> ParseCsv(const QByteArray& text) {
    struct State {
        std::vector<QStringList> records;
        QStringList current;
    } state;
    csv_parser parser;
    csv_init(&parser, CSV_APPEND_NULL);
    const auto onField = [](void* data, size_t length, void* out) {
        static_cast<State*>(out)->current
            << QString::fromUtf8(static_cast<const char*>(data), qsizetype(length));
    };
    const auto onRecord = [](int, void* out) {
        auto* s = static_cast<State*>(out);
        s->records.push_back(s->current);
        s->current.clear();
    };
    csv_parse(&parser, text.constData(), size_t(text.size()), onField, onRecord, &state);
    csv_fini(&parser, onField, onRecord, &state);
    csv_free(&parser);
    return state.records;
}

}  // namespace ponencias::test
