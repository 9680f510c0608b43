#include "SheetFormat.h"

#include <algorithm>
#include <cstring>

namespace ponencias {

namespace {

int ColumnNumber(QStringView letters) {
    int column = 0;
    for (QChar ch : letters) {
        column = column * 26 + (ch.toUpper().unicode() - 'A' + 1);
        if (column > kSheetColumns) {
            return 0;
        }
    }
    return column;
}

int RowNumber(QStringView digits) {
    bool ok = false;
    const int row = digits.toInt(&ok);
    return ok && row >= 1 && row <= kSheetRows ? row : 0;
}

size_t Mix(size_t seed, size_t value) {
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

}  // namespace

namespace {

// One end of a reference: "$A$2", "A2", "K" or "11"; either part may be missing. Returns false
// for anything else.
bool ParseReferenceEnd(QStringView text, int& column, int& row) {
    qsizetype at = 0;
    const auto skipDollar = [&] {
        if (at < text.size() && text[at] == QLatin1Char('$')) {
            ++at;
        }
    };
    skipDollar();
    const qsizetype lettersStart = at;
    while (at < text.size() && at - lettersStart < 4 && text[at].isLetter() &&
           text[at].unicode() < 128) {
        ++at;
    }
    column = at > lettersStart ? ColumnNumber(text.mid(lettersStart, at - lettersStart)) : -1;
    if (at > lettersStart) {
        skipDollar();
    }
    const qsizetype digitsStart = at;
    while (at < text.size() && text[at].isDigit() && text[at].unicode() < 128) {
        ++at;
    }
    row = at > digitsStart ? RowNumber(text.mid(digitsStart, at - digitsStart)) : -1;
    return at == text.size() && (column != -1 || row != -1) && column != 0 && row != 0;
}

}  // namespace

CellRect ParseCellReference(const QString& reference) {
    const QString trimmed = reference.trimmed();
    const qsizetype colon = trimmed.indexOf(QLatin1Char(':'));
    const QStringView first = colon < 0 ? QStringView(trimmed) : QStringView(trimmed).left(colon);
    const QStringView last = colon < 0 ? first : QStringView(trimmed).mid(colon + 1);
    int c1, r1, c2, r2;
    if (!ParseReferenceEnd(first, c1, r1) || !ParseReferenceEnd(last, c2, r2)) {
        throw SpreadsheetError("referencia no válida: " + reference.toStdString());
    }
    CellRect rect;
    if (c1 > 0 && r1 > 0 && c2 > 0 && r2 > 0) {
        rect = {r1, c1, r2, c2};
    } else if (colon >= 0 && c1 < 0 && c2 < 0) {
        rect = {r1, 1, r2, kSheetColumns};
    } else if (colon >= 0 && r1 < 0 && r2 < 0) {
        rect = {1, c1, kSheetRows, c2};
    } else {
        throw SpreadsheetError("referencia no válida: " + reference.toStdString());
    }
    if (rect.top > rect.bottom) {
        std::swap(rect.top, rect.bottom);
    }
    if (rect.left > rect.right) {
        std::swap(rect.left, rect.right);
    }
    return rect;
}

QString ColumnLetters(int column) {
    QString letters;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        letters.prepend(QChar('A' + digit));
        column = (column - 1) / 26;
    }
    return letters;
}

bool ResolvedFormat::operator==(const ResolvedFormat& other) const {
    if (setMask != other.setMask) {
        return false;
    }
    for (int p = 0; p < kCellPropertyCount; ++p) {
        if ((setMask & (1u << p)) && values[size_t(p)] != other.values[size_t(p)]) {
            return false;
        }
    }
    return true;
}

size_t ResolvedFormatHash::operator()(const ResolvedFormat& f) const {
    size_t seed = f.setMask;
    for (int p = 0; p < kCellPropertyCount; ++p) {
        if (f.setMask & (1u << p)) {
            seed = Mix(seed, size_t(uint32_t(f.values[size_t(p)])));
        }
    }
    return seed;
}

size_t FormatLog::TransitionHash::operator()(const Transition& t) const {
    size_t seed = t.from;
    seed = Mix(seed, t.epoch);
    seed = Mix(seed, size_t(uint32_t(t.value)));
    return Mix(seed, size_t(t.property));
}

FormatLog::FormatLog() {
    intern({});
}

void FormatLog::applyToRange(const CellRect& range, CellProperty property, int32_t value) {
    rangeOps_.push_back({range, property, value});
}

uint32_t FormatLog::applyToCell(uint32_t cellPatch, CellProperty property, int32_t value) {
    const Transition key{cellPatch, uint32_t(rangeOps_.size()), value, property};
    if (key == lastTransition_) {
        return lastResult_;
    }
    uint32_t result;
    if (auto found = transitions_.find(key); found != transitions_.end()) {
        result = found->second;
    } else {
        std::vector<PatchEntry> entries = patches_[cellPatch];
        auto at = std::find_if(entries.begin(), entries.end(),
                               [&](const PatchEntry& e) { return e.property >= property; });
        const PatchEntry entry{property, value, key.epoch};
        if (at != entries.end() && at->property == property) {
            *at = entry;
        } else {
            entries.insert(at, entry);
        }
        result = intern(std::move(entries));
        transitions_.emplace(key, result);
    }
    lastTransition_ = key;
    lastResult_ = result;
    return result;
}

uint32_t FormatLog::intern(std::vector<PatchEntry>&& entries) {
    std::string key(entries.size() * sizeof(PatchEntry), '\0');
    for (size_t i = 0; i < entries.size(); ++i) {
        // Field by field: the struct's padding bytes are not part of its value.
        char* at = key.data() + i * sizeof(PatchEntry);
        std::memcpy(at, &entries[i].property, sizeof(CellProperty));
        std::memcpy(at + 1, &entries[i].value, sizeof(int32_t));
        std::memcpy(at + 5, &entries[i].epoch, sizeof(uint32_t));
    }
    if (auto found = patchIds_.find(key); found != patchIds_.end()) {
        return found->second;
    }
    const auto id = uint32_t(patches_.size());
    patches_.push_back(std::move(entries));
    patchIds_.emplace(std::move(key), id);
    return id;
}

void FormatLog::MergePatch(ResolvedFormat& format,
                           const std::array<int32_t, kCellPropertyCount>& opIndex,
                           const std::vector<PatchEntry>& patch) {
    for (const PatchEntry& entry : patch) {
        // opIndex is 1 + the index of the winning range operation; that operation came after
        // the cell's entry when its index is at least the entry's epoch.
        if (opIndex[size_t(entry.property)] <= int32_t(entry.epoch)) {
            format.set(entry.property, entry.value);
        }
    }
}

ResolvedFormat FormatLog::resolve(int row, int column, uint32_t cellPatch) const {
    ResolvedFormat format;
    std::array<int32_t, kCellPropertyCount> opIndex{};
    for (size_t i = 0; i < rangeOps_.size(); ++i) {
        const RangeOp& op = rangeOps_[i];
        if (op.range.contains(row, column)) {
            format.set(op.property, op.value);
            opIndex[size_t(op.property)] = int32_t(i + 1);
        }
    }
    MergePatch(format, opIndex, patches_[cellPatch]);
    return format;
}

FormatGrid::FormatGrid(const FormatLog& log) {
    std::vector<int> rows{1};
    std::vector<int> columns{1};
    for (const auto& op : log.rangeOps()) {
        rows.push_back(op.range.top);
        if (op.range.bottom < kSheetRows) {
            rows.push_back(op.range.bottom + 1);
        }
        columns.push_back(op.range.left);
        if (op.range.right < kSheetColumns) {
            columns.push_back(op.range.right + 1);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    rowStarts_ = std::move(rows);
    columnStarts_ = std::move(columns);
    regions_.resize(rowStarts_.size() * columnStarts_.size());
    const auto& ops = log.rangeOps();
    for (size_t i = 0; i < ops.size(); ++i) {
        const auto& op = ops[i];
        const int firstRow = rowBand(op.range.top);
        const int lastRow = rowBand(op.range.bottom);
        const int firstColumn = columnBand(op.range.left);
        const int lastColumn = columnBand(op.range.right);
        for (int rb = firstRow; rb <= lastRow; ++rb) {
            for (int cb = firstColumn; cb <= lastColumn; ++cb) {
                Region& region = regions_[size_t(rb) * columnStarts_.size() + size_t(cb)];
                region.format.set(op.property, op.value);
                region.opIndex[size_t(op.property)] = int32_t(i + 1);
            }
        }
    }
}

int FormatGrid::rowBand(int row) const {
    return int(std::upper_bound(rowStarts_.begin(), rowStarts_.end(), row) - rowStarts_.begin()) -
           1;
}

int FormatGrid::columnBand(int column) const {
    return int(std::upper_bound(columnStarts_.begin(), columnStarts_.end(), column) -
               columnStarts_.begin()) -
           1;
}

int FormatGrid::rowBandEnd(int band) const {
    return size_t(band + 1) < rowStarts_.size() ? rowStarts_[size_t(band) + 1] - 1 : kSheetRows;
}

int FormatGrid::columnBandEnd(int band) const {
    return size_t(band + 1) < columnStarts_.size() ? columnStarts_[size_t(band) + 1] - 1
                                                   : kSheetColumns;
}

int32_t PaletteColor(int colorIndex) {
    static constexpr std::array<int32_t, 56> kPalette = {
        0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
        0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
        0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
        0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
        0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
        0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
        0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
    };
    if (colorIndex < 1 || colorIndex > 56) {
        throw SpreadsheetError("índice de color fuera de la paleta");
    }
    return kPalette[size_t(colorIndex - 1)];
}

}  // namespace ponencias
