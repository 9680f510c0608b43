#pragma once

// The "values" part of each column's section of the typology: the values the column takes in
// the data file, with their frequencies, as rich text. One method per kind of column.

#include <QString>
#include <optional>
#include <vector>

#include "TypologyStatistics.h"

namespace ponencias::documents {

class TypologyValueSections {
public:
    // `total` is the number of proposals, the base of every share.
    TypologyValueSections(const TypologyStatistics& statistics, long long total)
        : statistics_(statistics), total_(total) {}

    // The section for `column`, one of the columns the program names.
    QString section(const QString& column);

private:
    QString frequencies(const QString& column, const QString& heading, const QString& order);
    QString identifier(const QString& column);
    QString places();
    QString ages();
    QString axes();
    QString subtopics();
    QString categories();
    QString freeText(const QString& column);
    QString laws();
    QString lawsPerProposal(const LawValues& laws);

    // The classification, read once: the subtopics and the categories both show it.
    const std::vector<Row>& classification();

    const TypologyStatistics& statistics_;
    long long total_;
    std::optional<std::vector<Row>> classification_;
};

}  // namespace ponencias::documents
