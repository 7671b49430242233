#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/StrToInt.h"
#include "settings/TabStops.h"

namespace krn310 {
namespace {

using Stops = std::array<uint8_t, kTabStopCount>;

Stops StopsOf(const std::vector<uint8_t>& values)
{
    Stops stops{};
    for (std::size_t i = 0; i < values.size(); ++i)
        stops[i] = values[i];
    return stops;
}

std::string Numbers(int first, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::to_string(first + i) + ",";
    return text;
}

std::vector<uint8_t> Sequence(int first, int count)
{
    std::vector<uint8_t> values;
    for (int i = 0; i < count; ++i)
        values.push_back(static_cast<uint8_t>(first + i));
    return values;
}

struct DecodeCase {
    const char* name;
    std::vector<uint8_t> stops;
    std::string text;
};

class TabStopsDecode : public testing::TestWithParam<DecodeCase> {};

TEST_P(TabStopsDecode, ShowsEveryStopThenTheClosingZero)
{
    EXPECT_EQ(DecodeTabStops(StopsOf(GetParam().stops)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, TabStopsDecode,
    testing::Values(DecodeCase{"None", {}, "0"},
                    DecodeCase{"FactoryStops", {8, 16, 24, 32, 40, 48}, "8,16,24,32,40,48,0"},
                    DecodeCase{"ZeroEndsTheList", {8, 0, 24}, "8,0"},
                    DecodeCase{"AllThirtyTwo", Sequence(1, 32), Numbers(1, 32) + "0"},
                    DecodeCase{"FullByte", {255}, "255,0"}),
    [](const auto& info) { return std::string(info.param.name); });

struct EncodeCase {
    const char* name;
    std::string text;
    std::vector<uint8_t> stored;
};

class TabStopsEncode : public testing::TestWithParam<EncodeCase> {};

TEST_P(TabStopsEncode, StoresTheCommaTerminatedNumbersOverClearedStops)
{
    Stops stops;
    stops.fill(0xAA);
    EncodeTabStops(GetParam().text, stops);
    EXPECT_EQ(stops, StopsOf(GetParam().stored));
}

INSTANTIATE_TEST_SUITE_P(Cases, TabStopsEncode,
    testing::Values(EncodeCase{"FactoryText", "8,16,24,32,40,48,0", {8, 16, 24, 32, 40, 48}},
                    EncodeCase{"LastNumberWithoutCommaIsNotStored", "8,16,24", {8, 16}},
                    EncodeCase{"ZeroAlone", "0", {}},
                    EncodeCase{"Empty", "", {}},
                    EncodeCase{"LowEightBits", "300,0", {0x2C}},
                    EncodeCase{"MinusOne", "-1,0", {0xFF}},
                    EncodeCase{"LeadingBlankAndHex", " 5,$10,0x20,0", {5, 16, 32}},
                    EncodeCase{"AfterTheLastCommaAnything", "8,junk", {8}},
                    EncodeCase{"AtMostThirtyTwo", Numbers(1, 40), Sequence(1, 32)}),
    [](const auto& info) { return std::string(info.param.name); });

struct FailureCase {
    const char* name;
    std::string text;
    std::string message;
    std::vector<uint8_t> storedBefore;
};

class TabStopsFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(TabStopsFailure, NamesTheTokenAndKeepsTheStopsBeforeIt)
{
    Stops stops;
    stops.fill(0xAA);
    try {
        EncodeTabStops(GetParam().text, stops);
        FAIL() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().message);
    }
    EXPECT_EQ(stops, StopsOf(GetParam().storedBefore));
}

INSTANTIATE_TEST_SUITE_P(Cases, TabStopsFailure,
    testing::Values(FailureCase{"EmptyToken", "8,,16,0", "'''' is not a valid integer value", {8}},
                    FailureCase{"Letters", "8,ab,0", "''ab'' is not a valid integer value", {8}},
                    FailureCase{"BlankAfterNumber", "8 ,0", "''8 '' is not a valid integer value", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TabStops, DecodedTextEncodesBackToTheSameStops)
{
    for (const auto& values : {std::vector<uint8_t>{}, std::vector<uint8_t>{8, 16, 24, 32, 40, 48}, Sequence(200, 32)}) {
        Stops encoded{};
        EncodeTabStops(DecodeTabStops(StopsOf(values)), encoded);
        EXPECT_EQ(encoded, StopsOf(values));
    }
}

} // namespace
} // namespace krn310
