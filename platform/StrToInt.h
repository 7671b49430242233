#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace krn310 {

// The conversion error the operator sees when a typed number does not convert.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The platform's string-to-integer conversion for operator-typed numbers:
// optional leading blanks, an optional sign, then decimal digits, or
// hexadecimal digits after "$" or "0x". Decimal values must fit 32 signed bits;
// hexadecimal ones may use all 32 bits (so "$FFFFFFFF" is -1). Anything else,
// trailing characters included, raises EConvertError with the text
// "''<text>'' is not a valid integer value".
int32_t StrToInt(std::string_view text);

// The same conversion without the exception.
bool TryStrToInt(std::string_view text, int32_t& value);

std::string InvalidIntegerMessage(std::string_view text);

} // namespace krn310
