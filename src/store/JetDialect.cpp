#include "JetDialect.h"

#include <sqlite3.h>

#include <QChar>
#include <QList>
#include <array>
#include <bitset>
#include <optional>
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

// The first character of the canonical decomposition, folded: "é" -> "e", "ǘ" -> "u".
char32_t BaseLetter(char32_t c) {
    const QList<uint> decomposed =
        QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D).toUcs4();
    return QChar::toCaseFolded(char32_t(decomposed.value(0, c)));
}

Weights ComputeWeights(char32_t c) {
    const char32_t folded = QChar::toCaseFolded(c);
    if (folded == kSmallEnye) {
        return {folded, kSmallN * 2 + 1, 0};
    }
    const char32_t base = BaseLetter(folded);
    return {folded, base * 2, base == folded ? 0u : uint32_t(folded)};
}

// A character's weights, worked out at its first use: a process meets a few hundred of the
// table's characters, and each costs a normalization. The store is read from one thread.
Weights TableWeights(char32_t c) {
    static std::array<Weights, kTableSize> table{};
    static std::bitset<kTableSize> known;
    if (!known[c]) {
        table[c] = ComputeWeights(c);
        known[c] = true;
    }
    return table[c];
}

inline Weights WeightsOf(char32_t c) {
    // A few characters fold into the table ("Å" ANGSTROM SIGN to "å"): they weigh as what they
    // fold to, so equal folded texts compare equal.
    const char32_t folded = c < kTableSize ? c : QChar::toCaseFolded(c);
    return folded < kTableSize ? TableWeights(folded) : Weights{folded, folded * 2, 0};
}

// Decodes one UTF-8 character at text[i] and advances i. A byte that starts no valid sequence
// stands for itself (mapped outside the Unicode range), so different bytes stay different.
inline char32_t DecodeNext(std::string_view text, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    int length = b0 < 0x80             ? 1
                 : (b0 & 0xE0) == 0xC0 ? 2
                 : (b0 & 0xF0) == 0xE0 ? 3
                 : (b0 & 0xF8) == 0xF0 ? 4
                                       : 0;
    char32_t c = length == 1 ? b0 : b0 & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if (i + k >= text.size() || (byte(i + k) & 0xC0) != 0x80) {
            length = 0;
            break;
        }
        c = c << 6 | (byte(i + k) & 0x3F);
    }
    if (length == 0) {
        ++i;
        return 0x110000 + b0;
    }
    i += size_t(length);
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

// Matches greedily, going back only to the last "%" met: with "%" the only wildcard of varying
// length, that never loses a match, and the time stays within the product of the two lengths.
bool MatchTokens(const std::vector<char32_t>& p, const std::vector<char32_t>& t) {
    size_t pi = 0;
    size_t ti = 0;
    size_t lastRun = p.size();  // the last "%" met, none yet
    size_t resumeAt = 0;        // where the text goes on after it
    while (ti < t.size()) {
        if (pi < p.size() && p[pi] != kAnyRun && (p[pi] == kAnyOne || p[pi] == t[ti])) {
            ++pi;
            ++ti;
        } else if (pi < p.size() && p[pi] == kAnyRun) {
            lastRun = pi++;
            resumeAt = ti;
        } else if (lastRun < p.size()) {
            pi = lastRun + 1;
            ti = ++resumeAt;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == kAnyRun) {
        ++pi;
    }
    return pi == p.size();
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

void LikeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    const auto textOf = [&](int i) -> std::optional<std::string_view> {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[i]));
        if (text == nullptr) {
            return std::nullopt;
        }
        return std::string_view(text, size_t(sqlite3_value_bytes(argv[i])));
    };
    char32_t escape = 0;
    if (argc == 3) {
        const std::optional<std::string_view> escapeText = textOf(2);
        if (!escapeText) {
            return;
        }
        size_t i = 0;
        if (!escapeText->empty()) {
            escape = DecodeNext(*escapeText, i);
        }
        if (escapeText->empty() || i != escapeText->size()) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    const std::optional<std::string_view> pattern = textOf(0);
    const std::optional<std::string_view> text = textOf(1);
    if (pattern && text) {  // otherwise NULL, as for any comparison with a null
        sqlite3_result_int(context, JetLike(*pattern, *text, escape) ? 1 : 0);
    }
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
    thread_local std::vector<char32_t> tokens;
    thread_local std::vector<char32_t> folded;
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
