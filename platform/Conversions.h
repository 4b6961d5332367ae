#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mx::platform {

/// The value of a hexadecimal digit of either case, or -1 when `c` is not one.
constexpr int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

/// Parses a 32-bit integer: optional leading blanks, an optional sign, then decimal digits or
/// hexadecimal digits after "$", "0x" or "x". Hexadecimal text of up to 8 significant digits is
/// taken as a two's-complement bit pattern ("$FFFFFFFF" is -1). Trailing characters, blanks
/// included, make the text invalid. Throws EConvertError "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::string_view s);
/// As StrToInt for 64-bit values (16 significant hexadecimal digits).
std::int64_t StrToInt64(std::string_view s);
/// StrToInt without the exception: nullopt when the text is not a valid integer.
std::optional<std::int32_t> TryStrToInt(std::string_view s);
std::optional<std::int64_t> TryStrToInt64(std::string_view s);
/// StrToInt that returns `fallback` when the text is not a valid integer.
std::int32_t StrToIntDef(std::string_view s, std::int32_t fallback);

/// Parses a decimal number whose decimal point is `decimalSeparator`: blanks around it are
/// ignored, then an optional sign, digits with at most one separator, and an optional exponent
/// ("E" or "e", optional sign, digits). Throws EConvertError
/// "'<text>' is not a valid floating point value".
double StrToFloat(std::string_view s, char decimalSeparator = '.');
std::optional<double> TryStrToFloat(std::string_view s, char decimalSeparator = '.');

/// Rounds to the nearest integer, exact halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
/// Throws EInvalidOp when the result does not fit 64 bits.
std::int64_t Round(double x);

/// Text to Boolean: a number is false when zero and true otherwise; otherwise "True" or "False"
/// in any letter case. Anything else throws EConvertError "'<text>' is not a valid boolean value".
bool StrToBool(std::string_view s);
std::optional<bool> TryStrToBool(std::string_view s);
/// StrToBool that returns `fallback` instead of throwing.
bool StrToBoolDef(std::string_view s, bool fallback);
/// "True" or "False".
std::string BoolToStr(bool b);

/// Upper-case hexadecimal digits, left-padded with "0" to at least `digits` characters. A negative
/// value is shown as the two's complement of its type (8 digits for 32 bits, 16 for 64 bits).
std::string IntToHex(std::int32_t value, int digits);
std::string IntToHex(std::int64_t value, int digits);

}  // namespace mx::platform
