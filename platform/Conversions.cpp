#include "Conversions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "Exception.h"
#include "StrUtils.h"

namespace mx::platform {
namespace {

// Shared grammar of the 32- and 64-bit conversions; `bits` is 32 or 64.
std::optional<std::int64_t> ParseInteger(std::string_view s, int bits) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ')
    ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < s.size() && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  } else if (i < s.size() && (s[i] == 'x' || s[i] == 'X')) {
    hex = true;
    ++i;
  }
  if (i == s.size()) return std::nullopt;

  if (hex) {
    std::uint64_t value = 0;
    int significant = 0;
    for (; i < s.size(); ++i) {
      const int d = HexDigit(s[i]);
      if (d < 0) return std::nullopt;
      if (value != 0 || d != 0) ++significant;
      if (significant > bits / 4) return std::nullopt;
      value = (value << 4) | static_cast<std::uint64_t>(d);
    }
    std::int64_t result = bits == 32 ? static_cast<std::int32_t>(static_cast<std::uint32_t>(value))
                                     : static_cast<std::int64_t>(value);
    // Negating the bit pattern wraps like the two's-complement arithmetic it models.
    if (negative) result = static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(result));
    if (bits == 32) result = static_cast<std::int32_t>(static_cast<std::uint32_t>(result));
    return result;
  }

  const std::uint64_t limit = bits == 32 ? (std::uint64_t{1} << 31) : (std::uint64_t{1} << 63);
  std::uint64_t value = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    const auto d = static_cast<std::uint64_t>(s[i] - '0');
    if (value > (limit - d) / 10) return std::nullopt;
    value = value * 10 + d;
  }
  if (!negative && value == limit) return std::nullopt;
  if (negative) return static_cast<std::int64_t>(0 - value);
  return static_cast<std::int64_t>(value);
}

[[noreturn]] void ThrowNotInteger(std::string_view s) {
  throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
}

}  // namespace

std::optional<std::int32_t> TryStrToInt(std::string_view s) {
  const auto v = ParseInteger(s, 32);
  if (!v) return std::nullopt;
  return static_cast<std::int32_t>(*v);
}

std::optional<std::int64_t> TryStrToInt64(std::string_view s) {
  return ParseInteger(s, 64);
}

std::int32_t StrToInt(std::string_view s) {
  const auto v = TryStrToInt(s);
  if (!v) ThrowNotInteger(s);
  return *v;
}

std::int64_t StrToInt64(std::string_view s) {
  const auto v = TryStrToInt64(s);
  if (!v) ThrowNotInteger(s);
  return *v;
}

std::int32_t StrToIntDef(std::string_view s, std::int32_t fallback) {
  return TryStrToInt(s).value_or(fallback);
}

std::optional<double> TryStrToFloat(std::string_view s, char decimalSeparator) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && s[b] == ' ')
    ++b;
  while (e > b && s[e - 1] == ' ')
    --e;
  const std::string_view t = s.substr(b, e - b);

  // Validate the grammar ourselves, then hand a normalised copy to strtod so that neither the C
  // locale nor strtod's extras (hexadecimal floats, "inf", "nan") leak into the result.
  std::string normal;
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) normal += t[i++];
  int digits = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9')
    normal += t[i++], ++digits;
  if (i < t.size() && t[i] == decimalSeparator) {
    normal += '.';
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9')
      normal += t[i++], ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    normal += 'e';
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) normal += t[i++];
    int expDigits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9')
      normal += t[i++], ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != t.size()) return std::nullopt;
  errno = 0;
  const double value = std::strtod(normal.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(value)) return std::nullopt;
  return value;
}

double StrToFloat(std::string_view s, char decimalSeparator) {
  const auto v = TryStrToFloat(s, decimalSeparator);
  if (!v) throw EConvertError("'" + std::string(s) + "' is not a valid floating point value");
  return *v;
}

std::int64_t Round(double x) {
  if (!std::isfinite(x)) throw EInvalidOp();
  double r = std::floor(x);
  const double diff = x - r;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  if (r >= 9223372036854775808.0 || r < -9223372036854775808.0) throw EInvalidOp();
  return static_cast<std::int64_t>(r);
}

std::optional<bool> TryStrToBool(std::string_view s) {
  if (const auto number = TryStrToFloat(Trim(s))) return *number != 0.0;
  if (SameText(s, "True")) return true;
  if (SameText(s, "False")) return false;
  return std::nullopt;
}

bool StrToBool(std::string_view s) {
  const auto v = TryStrToBool(s);
  if (!v) throw EConvertError("'" + std::string(s) + "' is not a valid boolean value");
  return *v;
}

bool StrToBoolDef(std::string_view s, bool fallback) {
  return TryStrToBool(s).value_or(fallback);
}

std::string BoolToStr(bool b) {
  return b ? "True" : "False";
}

namespace {
std::string Hex(std::uint64_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string r;
  do {
    r.insert(r.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(r.size()) < digits)
    r.insert(0, static_cast<std::size_t>(digits) - r.size(), '0');
  return r;
}
}  // namespace

std::string IntToHex(std::int32_t value, int digits) {
  return Hex(static_cast<std::uint32_t>(value), digits);
}

std::string IntToHex(std::int64_t value, int digits) {
  return Hex(static_cast<std::uint64_t>(value), digits);
}

}  // namespace mx::platform
