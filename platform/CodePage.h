#pragma once

#include <string>
#include <string_view>

namespace mx::platform {

/// The system's ANSI code page. On Windows this is GetACP(); elsewhere 1252 unless the host
/// configured another with SetAnsiCodePage or the environment variable MX_ANSI_CODEPAGE names one.
int GetACP();
/// Overrides the ANSI code page of a non-Windows system (0 goes back to the default).
void SetAnsiCodePage(int codePage);

/// UTF-8 text in the given code page; characters the code page lacks become "?". Code page
/// 65001 returns the text unchanged. Throws mx::Exception for a code page this system cannot
/// convert to.
std::string Utf8ToAnsi(std::string_view utf8, int codePage);
/// Text in the given code page as UTF-8.
std::string AnsiToUtf8(std::string_view bytes, int codePage);

/// The code point of the UTF-8 sequence at `at`, which advances past it; a malformed byte gives
/// U+FFFD and advances by one. The one UTF-8 decoder of the program.
char32_t NextUtf8CodePoint(std::string_view text, std::size_t& at);
/// Appends a code point as UTF-8.
void AppendUtf8CodePoint(std::string& out, char32_t codePoint);

/// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);
/// Text a program wrote, as UTF-8: itself when it is UTF-8 already, else decoded from the ANSI
/// code page (as a compiler in a German Windows writes "f\xFCr"); bytes that neither reads
/// become U+FFFD. Never throws for the text's sake.
std::string ToolTextToUtf8(std::string_view bytes);
/// UTF-16 little-endian bytes (no byte-order mark) as UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);
/// UTF-8 text as UTF-16 little-endian bytes; malformed input bytes become U+FFFD.
std::string Utf8ToUtf16Le(std::string_view utf8);

}  // namespace mx::platform
