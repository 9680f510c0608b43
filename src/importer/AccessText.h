#pragma once

#include <iconv.h>

#include <cstddef>
#include <string>

namespace ponencias {

// Text and memo values as Access stored them, to UTF-8. Jet 4 and ACE keep UTF-16LE, surrogate
// pairs included, or Access's compressed form (after the bytes FF FE: runs of one byte per
// character, for characters up to U+00FF, alternating at each 00 byte with runs of UTF-16);
// a lone surrogate or an odd last byte of a damaged file reads as U+FFFD. Jet 3 keeps the
// file's code page: what the code page defines is converted by the C library (iconv), and each
// byte it leaves undefined reads as the control character of the same number, as Windows reads
// it (0x81 in Windows-1252 is U+0081).
class AccessText {
public:
    // Jet 3 text is in `codePage` (a Windows code page number); the others ignore it.
    AccessText(bool jet3, int codePage);
    ~AccessText();
    AccessText(const AccessText&) = delete;
    AccessText& operator=(const AccessText&) = delete;

    std::string Decode(const unsigned char* bytes, size_t size);

    // The code page a Jet 3 file declares but the C library does not know (its text is then
    // read as Windows-1252); 0 when known or not Jet 3.
    int unknownCodePage() const { return unknownCodePage_; }

private:
    std::string DecodeCodePage(const unsigned char* bytes, size_t size);

    bool jet3_ = false;
    iconv_t codePage_ = iconv_t(-1);
    int unknownCodePage_ = 0;
};

// The UTF-8 of UTF-16LE code units, pairs joined, a lone surrogate as U+FFFD.
void AppendUtf16(std::string& out, const char16_t* units, size_t count);

}  // namespace ponencias
