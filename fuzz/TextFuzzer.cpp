// Arbitrary text into the string-to-integer conversion, checked against a
// plain model of the accepted forms, and into the tab-stop text: the encoder
// against the same model token by token, and the decoder's text must encode
// back to the stops it came from.

#include "FuzzCheck.h"

#include "platform/StrToInt.h"
#include "settings/TabStops.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace krn310 {
namespace {

bool IsDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c)
{
    return IsDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

unsigned DigitValue(char c)
{
    if (IsDecimalDigit(c))
        return static_cast<unsigned>(c - '0');
    return static_cast<unsigned>((c | 0x20) - 'a' + 10);
}

// Blanks, a sign, then decimal digits within 32 signed bits, or hexadecimal
// digits after "$" or "0x" within 32 bits. Written from the forms, not from
// the conversion: the digit count bounds the value before any arithmetic.
std::optional<int32_t> ModelStrToInt(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    bool hex = false;
    if (text.starts_with("$")) {
        hex = true;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        hex = true;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    for (char c : text)
        if (!(hex ? IsHexDigit(c) : IsDecimalDigit(c)))
            return std::nullopt;
    while (text.size() > 1 && text.front() == '0')
        text.remove_prefix(1);
    if (text.size() > (hex ? 8u : 10u))
        return std::nullopt;
    uint64_t magnitude = 0;
    for (char c : text)
        magnitude = magnitude * (hex ? 16 : 10) + DigitValue(c);
    const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    if (magnitude > limit)
        return std::nullopt;
    const auto bits = static_cast<uint32_t>(magnitude);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
}

// what() ends at the first NUL the text may hold.
bool SameMessage(const EConvertError& e, const std::string& message)
{
    return std::string_view(e.what()) == std::string_view(message.c_str());
}

void CheckStrToInt(std::string_view text)
{
    const std::optional<int32_t> expected = ModelStrToInt(text);
    int32_t value = 0;
    KRN310_FUZZ_CHECK(TryStrToInt(text, value) == expected.has_value());
    try {
        const int32_t converted = StrToInt(text);
        KRN310_FUZZ_CHECK(expected.has_value() && converted == *expected && value == *expected);
    } catch (const EConvertError& e) {
        KRN310_FUZZ_CHECK(!expected.has_value());
        KRN310_FUZZ_CHECK(SameMessage(e, InvalidIntegerMessage(text)));
    }
}

using Stops = std::array<uint8_t, kTabStopCount>;

// The stops the encoder must leave, and the token it must reject, if any.
struct ExpectedStops {
    Stops stops{};
    std::optional<std::string> rejected;
};

ExpectedStops ModelEncodeTabStops(std::string_view text)
{
    ExpectedStops expected;
    for (std::size_t i = 0; i < kTabStopCount; ++i) {
        const std::size_t comma = text.find(',');
        if (comma == std::string_view::npos)
            break;
        const std::string_view token = text.substr(0, comma);
        const std::optional<int32_t> value = ModelStrToInt(token);
        if (!value) {
            expected.rejected = std::string(token);
            break;
        }
        expected.stops[i] = static_cast<uint8_t>(*value);
        text.remove_prefix(comma + 1);
    }
    return expected;
}

void CheckEncodeTabStops(std::string_view text)
{
    const ExpectedStops expected = ModelEncodeTabStops(text);
    Stops stops;
    stops.fill(0xA5);
    try {
        EncodeTabStops(text, stops);
        KRN310_FUZZ_CHECK(!expected.rejected);
    } catch (const EConvertError& e) {
        KRN310_FUZZ_CHECK(expected.rejected && SameMessage(e, InvalidIntegerMessage(*expected.rejected)));
    }
    KRN310_FUZZ_CHECK(stops == expected.stops);
}

// The decoder shows the stops up to the first zero; that text encodes back to
// exactly those stops and decodes to itself.
void CheckDecodeTabStops(const Stops& stops)
{
    const std::string text = DecodeTabStops(stops);
    KRN310_FUZZ_CHECK(text.ends_with("0"));
    Stops shown{};
    for (std::size_t i = 0; i < kTabStopCount && stops[i] != 0; ++i)
        shown[i] = stops[i];
    Stops encoded;
    encoded.fill(0xA5);
    EncodeTabStops(text, encoded);
    KRN310_FUZZ_CHECK(encoded == shown);
    KRN310_FUZZ_CHECK(DecodeTabStops(encoded) == text);
}

} // namespace
} // namespace krn310

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    krn310::CheckStrToInt(text);
    krn310::CheckEncodeTabStops(text);
    krn310::Stops stops{};
    for (std::size_t i = 0; i < stops.size() && i < size; ++i)
        stops[i] = data[i];
    krn310::CheckDecodeTabStops(stops);
    return 0;
}
