#include "platform/AnsiText.h"

#include <gtest/gtest.h>

#include <vector>

namespace krn310 {
namespace {

TEST(AnsiText, AsciiPassesUnchanged)
{
    EXPECT_EQ(AnsiToUtf8(std::string_view("KRN-310 v1.2")), "KRN-310 v1.2");
}

TEST(AnsiText, CyrillicLettersOfWindows1251)
{
    const std::vector<uint8_t> bytes = {0xCF, 0xF0, 0xE8, 0xED, 0xF2, 0xE5, 0xF0, 0xA8, 0xB8};
    EXPECT_EQ(AnsiToUtf8(bytes), "ПринтерЁё");
}

TEST(AnsiText, PunctuationOfTheUpperHalf)
{
    const std::vector<uint8_t> bytes = {0x88, 0xB9, 0x96, 0xAB, 0xBB, 0x98};
    EXPECT_EQ(AnsiToUtf8(bytes), "€№–«»\xC2\x98");
}

TEST(AnsiText, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
}

TEST(AnsiText, UnmappableCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(Utf8ToAnsi("COM\xE4\xB8\xAD"), "COM?");   // a CJK character
    EXPECT_EQ(Utf8ToAnsi("a\xFF" "b"), "a?b");           // a stray byte
    EXPECT_EQ(Utf8ToAnsi("a\xD0"), "a?");                // a cut sequence
}

} // namespace
} // namespace krn310
