#include "AccessText.h"

#include <cerrno>
#include <string>
#include <vector>

namespace ponencias {

namespace {

constexpr char32_t kReplacement = 0xfffd;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xc0 | (c >> 6));
        out += char(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        out += char(0xe0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3f));
        out += char(0x80 | (c & 0x3f));
    } else {
        out += char(0xf0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3f));
        out += char(0x80 | ((c >> 6) & 0x3f));
        out += char(0x80 | (c & 0x3f));
    }
}

bool IsHighSurrogate(char16_t u) {
    return u >= 0xd800 && u < 0xdc00;
}

bool IsLowSurrogate(char16_t u) {
    return u >= 0xdc00 && u < 0xe000;
}

// The code units of Access's compressed form, which starts after FF FE. A 00 byte where a unit
// would start switches between one byte a unit (the unit's high byte 0) and two.
std::vector<char16_t> Decompressed(const unsigned char* bytes, size_t size, bool& oddEnd) {
    std::vector<char16_t> units;
    units.reserve(size);
    bool oneByte = true;
    size_t at = 0;
    while (at < size) {
        if (bytes[at] == 0) {
            oneByte = !oneByte;
            ++at;
        } else if (oneByte) {
            units.push_back(bytes[at++]);
        } else if (at + 1 < size) {
            units.push_back(char16_t(bytes[at] | bytes[at + 1] << 8));
            at += 2;
        } else {
            oddEnd = true;
            break;
        }
    }
    return units;
}

}  // namespace

void AppendUtf16(std::string& out, const char16_t* units, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const char16_t u = units[i];
        if (IsHighSurrogate(u) && i + 1 < count && IsLowSurrogate(units[i + 1])) {
            AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xd800) << 10) + (units[i + 1] - 0xdc00));
            ++i;
        } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, u);
        }
    }
}

AccessText::AccessText(bool jet3, int codePage) : jet3_(jet3) {
    if (!jet3_) {
        return;
    }
    const std::string name = "CP" + std::to_string(codePage);
    codePage_ = iconv_open("UTF-8", name.c_str());
    if (codePage_ == iconv_t(-1)) {
        // Access 97's own code page in western Windows.
        unknownCodePage_ = codePage;
        codePage_ = iconv_open("UTF-8", "CP1252");
    }
}

AccessText::~AccessText() {
    if (codePage_ != iconv_t(-1)) {
        iconv_close(codePage_);
    }
}

std::string AccessText::Decode(const unsigned char* bytes, size_t size) {
    if (jet3_) {
        return DecodeCodePage(bytes, size);
    }
    std::string out;
    out.reserve(size + size / 2);
    bool oddEnd = false;
    std::vector<char16_t> units;
    if (size >= 2 && bytes[0] == 0xff && bytes[1] == 0xfe) {
        units = Decompressed(bytes + 2, size - 2, oddEnd);
    } else {
        units.resize(size / 2);
        for (size_t i = 0; i < units.size(); ++i) {
            units[i] = char16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
        }
        oddEnd = size % 2 != 0;
    }
    AppendUtf16(out, units.data(), units.size());
    if (oddEnd) {
        AppendUtf8(out, kReplacement);
    }
    return out;
}

std::string AccessText::DecodeCodePage(const unsigned char* bytes, size_t size) {
    std::string out;
    out.reserve(size * 3);
    iconv(codePage_, nullptr, nullptr, nullptr, nullptr);
    auto* in = reinterpret_cast<char*>(const_cast<unsigned char*>(bytes));
    size_t left = size;
    char buffer[1024];
    while (left > 0) {
        char* to = buffer;
        size_t room = sizeof buffer;
        const size_t done = iconv(codePage_, &in, &left, &to, &room);
        out.append(buffer, size_t(to - buffer));
        if (done != size_t(-1) || errno == E2BIG) {
            continue;
        }
        // A byte the code page leaves undefined (or a lead byte without its second): the
        // control character, or letter, of its own number.
        AppendUtf8(out, static_cast<unsigned char>(*in));
        ++in;
        --left;
        iconv(codePage_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace ponencias
