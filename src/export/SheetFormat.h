#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace ponencias {

// A refused spreadsheet operation: no application, no workbook, a bad reference or a value the
// sheet does not accept. The export skips the step and carries on.
class SpreadsheetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr int kSheetRows = 1048576;
inline constexpr int kSheetColumns = 16384;

// The spreadsheet application's codes, as its automation interface takes them.
inline constexpr int xlContinuous = 1;
inline constexpr int xlLineStyleNone = -4142;
inline constexpr int xlColorIndexNone = -4142;
inline constexpr int xlColorIndexAutomatic = -4105;
inline constexpr int xlGeneral = 1;
inline constexpr int xlCenter = -4108;
inline constexpr int xlLeft = -4131;
inline constexpr int xlRight = -4152;
inline constexpr int xlJustify = -4130;
inline constexpr int xlDistributed = -4117;
inline constexpr int xlFill = 5;
inline constexpr int xlCenterAcrossSelection = 7;
inline constexpr int xlTop = -4160;
inline constexpr int xlBottom = -4107;
inline constexpr int xlContext = -5002;
inline constexpr int xlLTR = -5003;
inline constexpr int xlRTL = -5004;

// A rectangle of cells, 1-based and inclusive. Whole rows run over every column, whole columns
// over every row.
struct CellRect {
    int top = 1;
    int left = 1;
    int bottom = 1;
    int right = 1;

    static CellRect Cell(int row, int column) { return {row, column, row, column}; }
    static CellRect WholeSheet() { return {1, 1, kSheetRows, kSheetColumns}; }
    bool isSingleCell() const { return top == bottom && left == right; }
    bool contains(int row, int column) const {
        return row >= top && row <= bottom && column >= left && column <= right;
    }
    bool operator==(const CellRect&) const = default;
};

// Parses "A2", "A1:C3", "2:11" (whole rows) or "K:K" (whole columns). Throws SpreadsheetError.
CellRect ParseCellReference(const QString& reference);
// "A", "Z", "AA" … for a 1-based column number.
QString ColumnLetters(int column);

// The cell properties that formatting sets. Each is resolved on its own: a cell's value of a
// property is the one of the last operation whose range covers the cell.
enum class CellProperty : uint8_t {
    FontName,       // index into the worksheet's font names
    FontSize,       // hundredths of a point
    FontBold,       // 0 / 1
    FontColor,      // 0xRRGGBB
    FontUnderline,  // 0 / 1
    FillColor,      // 0xRRGGBB; kNoFill clears it
    LineStyle,      // xlContinuous or xlLineStyleNone, on all four edges
    HorizontalAlignment,
    VerticalAlignment,
    WrapText,
    Orientation,  // degrees
    AddIndent,
    IndentLevel,
    ShrinkToFit,
    ReadingOrder,
    MergeCells,
    Count
};
inline constexpr int kCellPropertyCount = int(CellProperty::Count);
inline constexpr int32_t kNoFill = -1;

// The effective format of a cell: the properties that some operation set, and their values.
struct ResolvedFormat {
    std::array<int32_t, kCellPropertyCount> values{};
    uint32_t setMask = 0;

    bool has(CellProperty p) const { return setMask & (1u << int(p)); }
    int32_t get(CellProperty p) const { return values[size_t(p)]; }
    void set(CellProperty p, int32_t v) {
        values[size_t(p)] = v;
        setMask |= 1u << int(p);
    }
    bool operator==(const ResolvedFormat& other) const;
};

struct ResolvedFormatHash {
    size_t operator()(const ResolvedFormat& f) const;
};

// The formatting of one worksheet as the ordered list of operations made on it. Operations on a
// single cell are folded into a small interned "patch" that the cell carries (the export makes
// sixteen of them per row, so a list scanned per cell would not scale); operations on larger
// ranges (rows, columns, the whole sheet) are few and kept in order. A cell patch records, per
// property, how many large-range operations preceded it, which is all that is needed to decide
// whether the patch or a later large-range operation wins.
class FormatLog {
public:
    FormatLog();

    // Records an operation on `range`. For a single cell the new patch id is returned through
    // `cellPatch` (the cell's current patch on entry).
    void applyToRange(const CellRect& range, CellProperty property, int32_t value);
    uint32_t applyToCell(uint32_t cellPatch, CellProperty property, int32_t value);

    // The effective format of a cell carrying `cellPatch` at (row, column). Scans the
    // large-range operations; the writer uses FormatGrid instead.
    ResolvedFormat resolve(int row, int column, uint32_t cellPatch) const;

    struct RangeOp {
        CellRect range;
        CellProperty property;
        int32_t value;
    };
    struct PatchEntry {
        CellProperty property;
        int32_t value;
        uint32_t epoch;  // number of range operations made before this entry
        bool operator==(const PatchEntry&) const = default;
    };

    const std::vector<RangeOp>& rangeOps() const { return rangeOps_; }
    const std::vector<PatchEntry>& patch(uint32_t id) const { return patches_[id]; }
    // Folds a cell patch over the large-range format of its place.
    static void MergePatch(ResolvedFormat& format,
                           const std::array<int32_t, kCellPropertyCount>& opIndex,
                           const std::vector<PatchEntry>& patch);

private:
    uint32_t intern(std::vector<PatchEntry>&& entries);

    std::vector<RangeOp> rangeOps_;
    std::vector<std::vector<PatchEntry>> patches_;  // id 0 is the empty patch
    std::unordered_map<std::string, uint32_t> patchIds_;
    struct Transition {
        uint32_t from;
        uint32_t epoch;
        int32_t value;
        CellProperty property;
        bool operator==(const Transition&) const = default;
    };
    struct TransitionHash {
        size_t operator()(const Transition& t) const;
    };
    std::unordered_map<Transition, uint32_t, TransitionHash> transitions_;
    Transition lastTransition_{~0u, 0, 0, CellProperty::Count};
    uint32_t lastResult_ = 0;
};

// The large-range operations cut the sheet into a grid of bands; within each grid region every
// cell sees the same large-range format. Built once for writing.
class FormatGrid {
public:
    explicit FormatGrid(const FormatLog& log);

    int rowBand(int row) const;
    int columnBand(int column) const;
    int rowBandCount() const { return int(rowStarts_.size()); }
    int columnBandCount() const { return int(columnStarts_.size()); }
    int rowBandStart(int band) const { return rowStarts_[size_t(band)]; }
    int rowBandEnd(int band) const;
    int columnBandStart(int band) const { return columnStarts_[size_t(band)]; }
    int columnBandEnd(int band) const;

    struct Region {
        ResolvedFormat format;
        // For each property, 1 + the index of the range operation that set it (0: none).
        std::array<int32_t, kCellPropertyCount> opIndex{};
    };
    const Region& region(int rowBand, int columnBand) const {
        return regions_[size_t(rowBand) * columnStarts_.size() + size_t(columnBand)];
    }

private:
    std::vector<int> rowStarts_;
    std::vector<int> columnStarts_;
    std::vector<Region> regions_;
};

// The spreadsheet application's default 56-colour palette, as 0xRRGGBB; index 1 to 56.
int32_t PaletteColor(int colorIndex);

}  // namespace ponencias
