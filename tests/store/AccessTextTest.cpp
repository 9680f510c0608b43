// Access's stored text to UTF-8: UTF-16 with surrogate pairs and Access's compressed form (Jet 4
// and ACE), and a Jet 3 code page with every byte read as Windows reads it.
#include <gtest/gtest.h>

#include <QList>
#include <QString>
#include <string>

#include "AccessText.h"

using namespace ponencias;

namespace {

std::string Decode(AccessText& text, const std::string& bytes) {
    return text.Decode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

TEST(AccessText, Utf16KeepsCharactersBeyondTheBasicPlane) {
    AccessText text(false, 0);
    // "a😀a" as Access stores it.
    EXPECT_EQ(Decode(text, std::string("a\0\x3d\xd8\x00\xde" "a\0", 8)), "a\U0001F600a");
    // A lone surrogate, a pair the wrong way round, and an odd last byte each read as U+FFFD.
    EXPECT_EQ(Decode(text, std::string("\x3d\xd8" "a\0", 4)), "\uFFFDa");
    EXPECT_EQ(Decode(text, std::string("\x00\xde\x3d\xd8", 4)), "\uFFFD\uFFFD");
    EXPECT_EQ(Decode(text, std::string("a\0b", 3)), "a\uFFFD");
}

TEST(AccessText, TheCompressedFormSwitchesAtEachZeroByte) {
    AccessText text(false, 0);
    // "ñu", then UTF-16 "😁€", then one byte a character again: "!". (A unit whose first
    // byte is 00 cannot stand in a UTF-16 run: Access keeps such text uncompressed.)
    const std::string stored("\xff\xfe\xf1u\0\x3d\xd8\x01\xde\xac\x20\0!", 13);
    EXPECT_EQ(Decode(text, stored), "ñu\U0001F601€!");
    EXPECT_EQ(Decode(text, std::string("\xff\xfe", 2)), "");
    EXPECT_EQ(Decode(text, std::string("\xff\xfe\0\x3d", 4)), "\uFFFD");
}

TEST(AccessText, Jet3ReadsEveryByteOfItsCodePage) {
    AccessText windows1252(true, 1252);
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all += char(byte);
    }
    const std::string decoded = Decode(windows1252, all);
    // The C library's table for what Windows-1252 defines, the byte's own number for the five
    // it leaves undefined.
    EXPECT_EQ(Decode(windows1252, "\x80\x8c\xf1\xff"), "€Œñÿ");
    EXPECT_EQ(Decode(windows1252, "a\x81\x8d\x8f\x90\x9dz"), "a\u0081\u008D\u008F\u0090\u009Dz");
    // Every byte gives one character, none of them a replacement.
    const QList<uint> characters = QString::fromStdString(decoded).toUcs4();
    EXPECT_EQ(characters.size(), 255);
    EXPECT_FALSE(characters.contains(0xfffd));

    // Another code page, and its own undefined byte (0x98 in Windows-1251).
    AccessText cyrillic(true, 1251);
    EXPECT_EQ(Decode(cyrillic, "\xc0\xe1\x98"), "Аб\u0098");
    // A lead byte of Shift JIS without its second byte.
    AccessText japanese(true, 932);
    EXPECT_EQ(Decode(japanese, "\x82\xa0\x82"), "あ\u0082");
    EXPECT_EQ(japanese.unknownCodePage(), 0);
}

TEST(AccessText, AnUnknownCodePageReadsAsWindows1252) {
    AccessText unknown(true, 4242);
    EXPECT_EQ(unknown.unknownCodePage(), 4242);
    EXPECT_EQ(Decode(unknown, "\x80\x81"), "€\u0081");
}

}  // namespace
