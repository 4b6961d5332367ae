#include "CodePage.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Exception.h"

#ifdef _WIN32
#include "Win32Text.h"
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace mx::platform {
namespace {

std::atomic<int> configuredCodePage{0};

// Code points of the bytes 0x80 to 0x9F in Windows-1252; the five unassigned bytes map to the
// C1 control of the same value, as Windows itself does, so that every byte round-trips.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at `i`; returns U+FFFD and advances one byte when malformed.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  int len = 0;
  char32_t cp = 0;
  if (b0 < 0x80) {
    ++i;
    return b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07;
  } else {
    ++i;
    return 0xFFFD;
  }
  if (i + static_cast<std::size_t>(len) > s.size()) {
    ++i;
    return 0xFFFD;
  }
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return 0xFFFD;
  }
  i += static_cast<std::size_t>(len);
  return cp;
}

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t cp = NextCodePoint(utf8, i);
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k) {
      if (kCp1252High[k] == cp) mapped = static_cast<char>(0x80 + k);
    }
    out += mapped;
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b);
  }
  return out;
}

#ifndef _WIN32
// Converts with iconv; an input character the target lacks becomes `replacement` and is skipped.
std::string Iconv(std::string_view in, const std::string& from, const std::string& to,
                  bool utf8Input) {
  iconv_t cd = ::iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw Exception("Code page conversion from " + from + " to " + to + " is not available");
  }
  std::string out;
  std::vector<char> buffer(4 * in.size() + 16);
  std::string input(in);
  char* src = input.data();
  std::size_t srcLeft = input.size();
  while (srcLeft > 0) {
    char* dst = buffer.data();
    std::size_t dstLeft = buffer.size();
    const std::size_t r = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer.data(), buffer.size() - dstLeft);
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // Skip one character of input: one UTF-8 sequence, or one byte of a legacy code page.
      std::size_t skip = 1;
      if (utf8Input) {
        std::size_t i = static_cast<std::size_t>(src - input.data());
        NextCodePoint(input, i);
        skip = i - static_cast<std::size_t>(src - input.data());
        out += '?';
      } else {
        out += "\xEF\xBF\xBD";
      }
      src += skip;
      srcLeft -= skip;
    }
  }
  ::iconv_close(cd);
  return out;
}
#endif

}  // namespace

int GetACP() {
#ifdef _WIN32
  return static_cast<int>(::GetACP());
#else
  if (const int cp = configuredCodePage.load(); cp != 0) return cp;
  if (const char* env = std::getenv("MX_ANSI_CODEPAGE"); env && std::atoi(env) > 0)
    return std::atoi(env);
  return 1252;
#endif
}

void SetAnsiCodePage(int codePage) {
  configuredCodePage.store(codePage);
}

std::string Utf8ToAnsi(std::string_view utf8, int codePage) {
  if (codePage == 65001) return std::string(utf8);
  if (codePage == 1252) return Utf8ToCp1252(utf8);
  if (utf8.empty()) return {};
#ifdef _WIN32
  const std::wstring wide = win32::Widen(utf8);
  BOOL usedDefault = FALSE;
  const int n = ::WideCharToMultiByte(static_cast<UINT>(codePage), 0, wide.data(),
                                      static_cast<int>(wide.size()), nullptr, 0, "?", &usedDefault);
  if (n == 0) throw Exception("Code page " + std::to_string(codePage) + " is not available");
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(static_cast<UINT>(codePage), 0, wide.data(), static_cast<int>(wide.size()),
                        out.data(), n, "?", &usedDefault);
  return out;
#else
  return Iconv(utf8, "UTF-8", "CP" + std::to_string(codePage), true);
#endif
}

std::string AnsiToUtf8(std::string_view bytes, int codePage) {
  if (codePage == 65001) return std::string(bytes);
  if (codePage == 1252) return Cp1252ToUtf8(bytes);
  if (bytes.empty()) return {};
#ifdef _WIN32
  const int n = ::MultiByteToWideChar(static_cast<UINT>(codePage), 0, bytes.data(),
                                      static_cast<int>(bytes.size()), nullptr, 0);
  if (n == 0) throw Exception("Code page " + std::to_string(codePage) + " is not available");
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(static_cast<UINT>(codePage), 0, bytes.data(),
                        static_cast<int>(bytes.size()), wide.data(), n);
  return win32::Narrow(wide);
#else
  return Iconv(bytes, "CP" + std::to_string(codePage), "UTF-8", false);
#endif
}

char32_t NextUtf8CodePoint(std::string_view text, std::size_t& at) {
  return NextCodePoint(text, at);
}

void AppendUtf8CodePoint(std::string& out, char32_t codePoint) {
  AppendUtf8(out, codePoint);
}

bool IsValidUtf8(std::string_view bytes) {
  // Most text is ASCII: it is passed over eight bytes at a time.
  std::size_t i = 0;
  while (i + 8 <= bytes.size()) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    if (word & 0x8080808080808080ull) break;
    i += 8;
  }
  while (i < bytes.size()) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    const char32_t cp = NextCodePoint(bytes, i);
    // A real U+FFFD in the input is three bytes long; a malformed byte advances by one.
    if (cp == 0xFFFD && i - start != 3) return false;
  }
  return true;
}

std::string ToolTextToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  try {
    std::string text = AnsiToUtf8(bytes, GetACP());
    if (IsValidUtf8(text)) return text;
  } catch (const Exception&) {
    // A code page this system cannot convert from: the bytes are replaced below.
  }
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();)
    AppendUtf8(out, NextCodePoint(bytes, i));
  return out;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  const std::size_t units = bytes.size() / 2;
  const auto unit = [&](std::size_t k) {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                 (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
  };
  for (std::size_t k = 0; k < units; ++k) {
    const char16_t u = unit(k);
    if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units && unit(k + 1) >= 0xDC00 &&
        unit(k + 1) <= 0xDFFF) {
      AppendUtf8(out,
                 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (unit(k + 1) - 0xDC00));
      ++k;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

std::string Utf8ToUtf16Le(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() * 2);
  const auto put = [&out](char32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>((u >> 8) & 0xFF);
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t cp = NextCodePoint(utf8, i);
    if (cp >= 0x10000) {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      put(cp);
    }
  }
  return out;
}

}  // namespace mx::platform
