#include "JetDialect.h"

#include <sqlite3.h>

#include <QChar>
#include <QString>
#include <array>
#include <vector>

namespace ponencias {

namespace {

// Weights of one character: the primary weight orders by base letter (folded, accents taken off,
// "ñ" a letter of its own right after "n"); the secondary weight tells accented letters apart and
// is 0 for a letter without accent.
struct Weights {
    char32_t folded;
    uint32_t primary;
    uint32_t secondary;
};

constexpr char32_t kTableSize = 0x2000;
constexpr char32_t kSmallN = U'n';
constexpr char32_t kSmallEnye = U'\u00F1';

char32_t BaseLetter(char32_t c) {
    // Follow canonical decompositions down to the first character: "é" -> "e", "ǘ" -> "u".
    for (int depth = 0; depth < 4; ++depth) {
        if (QChar::decompositionTag(c) != QChar::Canonical) {
            break;
        }
        const QString decomposed = QChar::decomposition(c);
        if (decomposed.isEmpty()) {
            break;
        }
        const char32_t first = decomposed.at(0).isHighSurrogate() && decomposed.size() > 1
                                   ? QChar::surrogateToUcs4(decomposed.at(0), decomposed.at(1))
                                   : decomposed.at(0).unicode();
        if (first == c) {
            break;
        }
        c = first;
    }
    return QChar::toCaseFolded(c);
}

Weights ComputeWeights(char32_t c) {
    const char32_t folded = QChar::toCaseFolded(c);
    if (folded == kSmallEnye) {
        return {folded, kSmallN * 2 + 1, 0};
    }
    const char32_t base = BaseLetter(folded);
    return {folded, base * 2, base == folded ? 0u : uint32_t(folded)};
}

const std::array<Weights, kTableSize>& WeightTable() {
    static const std::array<Weights, kTableSize> table = [] {
        std::array<Weights, kTableSize> t{};
        for (char32_t c = 0; c < kTableSize; ++c) {
            t[c] = ComputeWeights(c);
        }
        return t;
    }();
    return table;
}

inline Weights WeightsOf(char32_t c) {
    if (c < kTableSize) {
        return WeightTable()[c];
    }
    // A few characters fold into the table ("Å" ANGSTROM SIGN to "å"): they weigh as what they
    // fold to, so equal folded texts compare equal.
    const char32_t folded = QChar::toCaseFolded(c);
    if (folded < kTableSize) {
        return WeightTable()[folded];
    }
    return {folded, folded * 2, 0};
}

// Decodes one UTF-8 character at text[i] and advances i. A byte that starts no valid sequence
// stands for itself (mapped outside the Unicode range), so different bytes stay different.
inline char32_t DecodeNext(std::string_view text, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int length = 0;
    char32_t c = 0;
    if ((b0 & 0xE0) == 0xC0) {
        length = 2;
        c = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3;
        c = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4;
        c = b0 & 0x07;
    }
    if (length == 0 || i + length > text.size()) {
        ++i;
        return 0x110000 + b0;
    }
    for (int k = 1; k < length; ++k) {
        const unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return 0x110000 + b0;
        }
        c = (c << 6) | (b & 0x3F);
    }
    i += length;
    return c;
}

inline char32_t Fold(char32_t c) {
    if (c < 0x80) {
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    }
    if (c >= 0x110000) {
        return c;
    }
    return WeightsOf(c).folded;
}

// Pattern tokens: folded characters, plus two values outside Unicode for the wildcards.
constexpr char32_t kAnyOne = 0x120000;
constexpr char32_t kAnyRun = 0x120001;

struct CompiledPattern {
    std::string source;
    char32_t escape = 0;
    std::vector<char32_t> tokens;
};

void Compile(std::string_view pattern, char32_t escape, std::vector<char32_t>& tokens) {
    tokens.clear();
    tokens.reserve(pattern.size());
    size_t i = 0;
    while (i < pattern.size()) {
        const char32_t c = DecodeNext(pattern, i);
        if (escape != 0 && c == escape && i < pattern.size()) {
            tokens.push_back(Fold(DecodeNext(pattern, i)));
        } else if (c == U'%') {
            if (tokens.empty() || tokens.back() != kAnyRun) {
                tokens.push_back(kAnyRun);
            }
        } else if (c == U'_') {
            tokens.push_back(kAnyOne);
        } else {
            tokens.push_back(Fold(c));
        }
    }
}

inline bool SegmentMatchesAt(const char32_t* segment, size_t length, const char32_t* text) {
    for (size_t k = 0; k < length; ++k) {
        if (segment[k] != kAnyOne && segment[k] != text[k]) {
            return false;
        }
    }
    return true;
}

// Runs between "%" are matched left to right, each at its leftmost place: with only "%" as the
// variable-length wildcard the leftmost place never loses a match, so there is no backtracking.
bool MatchTokens(const std::vector<char32_t>& p, const std::vector<char32_t>& t) {
    const size_t pn = p.size();
    const size_t tn = t.size();
    size_t firstRun = pn;
    size_t lastRun = pn;
    size_t fixed = 0;
    for (size_t k = 0; k < pn; ++k) {
        if (p[k] == kAnyRun) {
            if (firstRun == pn) {
                firstRun = k;
            }
            lastRun = k;
        } else {
            ++fixed;
        }
    }
    if (fixed > tn) {
        return false;
    }
    if (firstRun == pn) {
        return pn == tn && SegmentMatchesAt(p.data(), pn, t.data());
    }
    const size_t prefix = firstRun;
    const size_t suffix = pn - lastRun - 1;
    if (!SegmentMatchesAt(p.data(), prefix, t.data()) ||
        !SegmentMatchesAt(p.data() + lastRun + 1, suffix, t.data() + tn - suffix)) {
        return false;
    }
    size_t position = prefix;
    const size_t end = tn - suffix;
    size_t k = firstRun + 1;
    while (k < lastRun) {
        size_t segmentEnd = k;
        while (segmentEnd < lastRun && p[segmentEnd] != kAnyRun) {
            ++segmentEnd;
        }
        const size_t length = segmentEnd - k;
        bool found = false;
        while (position + length <= end) {
            if (SegmentMatchesAt(p.data() + k, length, t.data() + position)) {
                found = true;
                break;
            }
            ++position;
        }
        if (!found) {
            return false;
        }
        position += length;
        k = segmentEnd + 1;
    }
    return true;
}

void FoldText(std::string_view text, std::vector<char32_t>& out) {
    out.clear();
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        out.push_back(Fold(DecodeNext(text, i)));
    }
}

int CollationCallback(void*, int leftLength, const void* left, int rightLength, const void* right) {
    return JetCompare(std::string_view(static_cast<const char*>(left), size_t(leftLength)),
                      std::string_view(static_cast<const char*>(right), size_t(rightLength)));
}

void DeletePattern(void* pattern) {
    delete static_cast<CompiledPattern*>(pattern);
}

void LikeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    const auto* patternText = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int patternLength = sqlite3_value_bytes(argv[0]);
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const int textLength = sqlite3_value_bytes(argv[1]);
    char32_t escape = 0;
    if (argc == 3) {
        const auto* escapeText = reinterpret_cast<const char*>(sqlite3_value_text(argv[2]));
        if (escapeText == nullptr) {
            return;
        }
        const std::string_view escapeView(escapeText, size_t(sqlite3_value_bytes(argv[2])));
        size_t i = 0;
        if (!escapeView.empty()) {
            escape = DecodeNext(escapeView, i);
        }
        if (escapeView.empty() || i != escapeView.size()) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    if (patternText == nullptr || text == nullptr) {
        return;  // NULL, as for any comparison with a null
    }
    const std::string_view pattern(patternText, size_t(patternLength));
    // The pattern is usually a constant of the statement: compile it once per statement.
    auto* compiled = static_cast<CompiledPattern*>(sqlite3_get_auxdata(context, 0));
    if (compiled == nullptr || compiled->escape != escape || compiled->source != pattern) {
        compiled = new CompiledPattern;
        compiled->source.assign(pattern);
        compiled->escape = escape;
        Compile(pattern, escape, compiled->tokens);
        sqlite3_set_auxdata(context, 0, compiled, DeletePattern);
        compiled = static_cast<CompiledPattern*>(sqlite3_get_auxdata(context, 0));
        if (compiled == nullptr) {
            // SQLite keeps auxiliary data only for constant arguments; match without caching.
            std::vector<char32_t> tokens;
            std::vector<char32_t> folded;
            Compile(pattern, escape, tokens);
            FoldText(std::string_view(text, size_t(textLength)), folded);
            sqlite3_result_int(context, MatchTokens(tokens, folded) ? 1 : 0);
            return;
        }
    }
    thread_local std::vector<char32_t> folded;
    FoldText(std::string_view(text, size_t(textLength)), folded);
    sqlite3_result_int(context, MatchTokens(compiled->tokens, folded) ? 1 : 0);
}

}  // namespace

int JetCompare(std::string_view left, std::string_view right) {
    if (left == right) {
        return 0;
    }
    size_t i = 0;
    size_t j = 0;
    int accentOrder = 0;
    while (i < left.size() && j < right.size()) {
        const auto a = static_cast<unsigned char>(left[i]);
        const auto b = static_cast<unsigned char>(right[j]);
        if (a < 0x80 && b < 0x80) {
            const char32_t fa = Fold(a);
            const char32_t fb = Fold(b);
            ++i;
            ++j;
            if (fa != fb) {
                return fa < fb ? -1 : 1;
            }
            continue;
        }
        const char32_t ca = DecodeNext(left, i);
        const char32_t cb = DecodeNext(right, j);
        const Weights wa = ca >= 0x110000 ? Weights{ca, uint32_t(ca) * 2, 0} : WeightsOf(ca);
        const Weights wb = cb >= 0x110000 ? Weights{cb, uint32_t(cb) * 2, 0} : WeightsOf(cb);
        if (wa.primary != wb.primary) {
            return wa.primary < wb.primary ? -1 : 1;
        }
        if (accentOrder == 0 && wa.secondary != wb.secondary) {
            accentOrder = wa.secondary < wb.secondary ? -1 : 1;
        }
    }
    if (i < left.size()) {
        return 1;
    }
    if (j < right.size()) {
        return -1;
    }
    return accentOrder;
}

bool JetLike(std::string_view pattern, std::string_view text, char32_t escape) {
    std::vector<char32_t> tokens;
    std::vector<char32_t> folded;
    Compile(pattern, escape, tokens);
    FoldText(text, folded);
    return MatchTokens(tokens, folded);
}

int RegisterJetDialect(sqlite3* db) {
    int rc = sqlite3_create_collation_v2(db, kJetTextCollation, SQLITE_UTF8, nullptr,
                                         CollationCallback, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_create_function_v2(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                        LikeFunction, nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) {
        rc = sqlite3_create_function_v2(db, "like", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                        LikeFunction, nullptr, nullptr, nullptr);
    }
    return rc;
}

QString QuotedIdentifier(const QString& name) {
    QString text = name;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

}  // namespace ponencias
