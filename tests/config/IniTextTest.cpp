#include "platform/profile/IniText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace krn310 {
namespace {

struct ReadCase {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class IniReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, FindsTheValue)
{
    const ReadCase& c = GetParam();
    EXPECT_EQ(FindIniValue(c.text, c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniReadTest,
    ::testing::Values(
        ReadCase{"Plain", "[CONFIG]\nCOM_PORT=ttyS0\n", "CONFIG", "COM_PORT", "ttyS0"},
        ReadCase{"NamesIgnoreCase", "[Config]\ncom_Port=ttyS0\n", "CONFIG", "COM_PORT", "ttyS0"},
        ReadCase{"BlanksAroundNamesAndValue", "  [ CONFIG ]  \n\t COM_PORT \t=  tty S0 \t\n", "CONFIG",
                 "COM_PORT", "tty S0"},
        ReadCase{"QuotesDropped", "[CONFIG]\nETHER_IP=\"  10.0.0.1 \"\n", "CONFIG", "ETHER_IP", "  10.0.0.1 "},
        ReadCase{"OneQuoteStays", "[CONFIG]\nETHER_IP=\"10.0.0.1\n", "CONFIG", "ETHER_IP", "\"10.0.0.1"},
        ReadCase{"EmptyValue", "[CONFIG]\nCOM_PORT=\n", "CONFIG", "COM_PORT", ""},
        ReadCase{"EqualsInValue", "[CONFIG]\nX=a=b\n", "CONFIG", "X", "a=b"},
        ReadCase{"SemicolonInValue", "[CONFIG]\nX=a;b\n", "CONFIG", "X", "a;b"},
        ReadCase{"CommentIsNoKey", "[CONFIG]\n;COM_PORT=ttyS0\n", "CONFIG", "COM_PORT", std::nullopt},
        ReadCase{"KeyMissing", "[CONFIG]\nBAUD_RATE=9600\n", "CONFIG", "COM_PORT", std::nullopt},
        ReadCase{"SectionMissing", "[OTHER]\nCOM_PORT=ttyS0\n", "CONFIG", "COM_PORT", std::nullopt},
        ReadCase{"KeyOfAnotherSection", "[CONFIG]\nA=1\n[OTHER]\nCOM_PORT=ttyS0\n", "CONFIG", "COM_PORT",
                 std::nullopt},
        ReadCase{"KeyBeforeAnySection", "COM_PORT=ttyS0\n[CONFIG]\n", "CONFIG", "COM_PORT", std::nullopt},
        ReadCase{"FirstKeyCounts", "[CONFIG]\nX=1\nx=2\n", "CONFIG", "X", "1"},
        ReadCase{"FirstSectionCounts", "[CONFIG]\nX=1\n[config]\nX=2\n", "CONFIG", "X", "1"},
        ReadCase{"CrLf", "[CONFIG]\r\nX=1\r\n", "CONFIG", "X", "1"},
        ReadCase{"Utf8BomBeforeSection", "\xEF\xBB\xBF[CONFIG]\nX=1\n", "CONFIG", "X", "1"},
        ReadCase{"NoFinalLineBreak", "[CONFIG]\nX=1", "CONFIG", "X", "1"},
        ReadCase{"Utf8Value", "[CONFIG]\nX=Порт №1\n", "CONFIG", "X", "Порт №1"},
        ReadCase{"Empty", "", "CONFIG", "X", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    std::string value;
    std::string after;
};

class IniWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWriteTest, EditsOnlyTheKey)
{
    const WriteCase& c = GetParam();
    EXPECT_EQ(SetIniValue(c.before, c.section, c.key, c.value), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniWriteTest,
    ::testing::Values(
        WriteCase{"NewFile", "", "CONFIG", "COM_PORT", "ttyS0", "[CONFIG]\nCOM_PORT=ttyS0\n"},
        WriteCase{"ReplacesValueKeepsTheRest",
                  "; settings of the configurator\n[OTHER]\nA=1\n\n[CONFIG]\nINTERFACE_TYPE=0\n"
                  "COM_PORT = ttyS1 \n; baud\nBAUD_RATE=9600\n",
                  "CONFIG", "COM_PORT", "ttyUSB0",
                  "; settings of the configurator\n[OTHER]\nA=1\n\n[CONFIG]\nINTERFACE_TYPE=0\n"
                  "COM_PORT=ttyUSB0\n; baud\nBAUD_RATE=9600\n"},
        WriteCase{"MatchesIgnoringCaseKeepsSpelling", "[config]\n  com_port = ttyS1\n", "CONFIG", "COM_PORT",
                  "ttyS2", "[config]\ncom_port=ttyS2\n"},
        WriteCase{"NewKeyAfterLastKeyOfSection", "[CONFIG]\nA=1\n\n; next\n[X]\nB=2\n", "CONFIG", "C", "3",
                  "[CONFIG]\nA=1\nC=3\n\n; next\n[X]\nB=2\n"},
        WriteCase{"NewKeyInEmptySection", "[CONFIG]\n[X]\nB=2\n", "CONFIG", "C", "3",
                  "[CONFIG]\nC=3\n[X]\nB=2\n"},
        WriteCase{"CommentedKeyStays", "[CONFIG]\n;COM_PORT=old\n", "CONFIG", "COM_PORT", "new",
                  "[CONFIG]\nCOM_PORT=new\n;COM_PORT=old\n"},
        WriteCase{"NewSectionAtEnd", "[X]\nB=2\n", "CONFIG", "C", "3", "[X]\nB=2\n[CONFIG]\nC=3\n"},
        WriteCase{"NewSectionAfterUnterminatedLine", "[X]\nB=2", "CONFIG", "C", "3",
                  "[X]\nB=2\n[CONFIG]\nC=3\n"},
        WriteCase{"NewKeyAfterUnterminatedLine", "[CONFIG]\nA=1", "CONFIG", "B", "2", "[CONFIG]\nA=1\nB=2\n"},
        WriteCase{"ReplacesUnterminatedLine", "[CONFIG]\nA=1", "CONFIG", "A", "2", "[CONFIG]\nA=2"},
        WriteCase{"NewKeyAfterLastLineEndingInBareCr", "[CONFIG]\nA=1\r", "CONFIG", "B", "2",
                  "[CONFIG]\nA=1\r\nB=2\n"},
        WriteCase{"NewSectionAfterLastLineEndingInBareCr", "[X]\nB=2\r", "CONFIG", "C", "3",
                  "[X]\nB=2\r\n[CONFIG]\nC=3\n"},
        WriteCase{"KeepsCrLf", "[CONFIG]\r\nA=1\r\n", "CONFIG", "B", "2", "[CONFIG]\r\nA=1\r\nB=2\r\n"},
        WriteCase{"ReplacesInCrLf", "[CONFIG]\r\nA=1\r\nB=2\r\n", "CONFIG", "A", "7",
                  "[CONFIG]\r\nA=7\r\nB=2\r\n"},
        WriteCase{"KeepsBom", "\xEF\xBB\xBF[CONFIG]\nA=1\n", "CONFIG", "A", "2", "\xEF\xBB\xBF[CONFIG]\nA=2\n"},
        WriteCase{"FirstSectionEdited", "[CONFIG]\nA=1\n[CONFIG]\nA=2\n", "CONFIG", "A", "3",
                  "[CONFIG]\nA=3\n[CONFIG]\nA=2\n"},
        WriteCase{"EmptyValue", "[CONFIG]\nCOM_PORT=ttyS0\n", "CONFIG", "COM_PORT", "", "[CONFIG]\nCOM_PORT=\n"},
        WriteCase{"BlanksAtEndsQuoted", "", "CONFIG", "ETHER_IP", " 10.0.0.1 ", "[CONFIG]\nETHER_IP=\" 10.0.0.1 \"\n"},
        WriteCase{"QuotedValueQuotedAgain", "", "CONFIG", "ETHER_IP", "\"x\"", "[CONFIG]\nETHER_IP=\"\"x\"\"\n"},
        WriteCase{"Utf8Value", "", "CONFIG", "X", "Порт", "[CONFIG]\nX=Порт\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniTextTest, ValuesReadBackExactlyAsWritten)
{
    const std::string values[] = {"", " ", "  lead", "trail\t", "\"", "\"\"", "\"quoted\"", "a \"b\" c",
                                  "; not a comment", "[not a section]", "x=y", "999.300.1.x", "Ёж 1"};
    for (const std::string& value : values) {
        const std::optional<std::string> text = SetIniValue("[CONFIG]\nA=1\n", "CONFIG", "ETHER_IP", value);
        ASSERT_TRUE(text) << value;
        EXPECT_EQ(FindIniValue(*text, "CONFIG", "ETHER_IP"), value);
        EXPECT_EQ(FindIniValue(*text, "CONFIG", "A"), "1");
    }
}

TEST(IniTextTest, RefusesWhatAnIniLineCannotHold)
{
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"CONFIG", "ETHER_IP", "10.0.0.1\n[CONFIG]"},
        {"CONFIG", "ETHER_IP", "a\rb"},
        {"CONFIG", "A=B", "1"},
        {"CONFIG", "", "1"},
        {"CONFIG", ";A", "1"},
        {"CON]FIG", "A", "1"},
        {"", "A", "1"},
        {"CONFIG\n", "A", "1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SetIniValue("[CONFIG]\nA=1\n", c.section, c.key, c.value), std::nullopt) << c.key << c.value;
}

} // namespace
} // namespace krn310
