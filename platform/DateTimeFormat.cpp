#include "DateTimeFormat.h"

#include <cctype>
#include <ctime>
#include <mutex>
#include <optional>

#ifdef _WIN32
#include "Win32Text.h"
#endif

namespace mx::platform {
namespace {

std::mutex settingsMutex;
std::optional<TFormatSettings> configuredSettings;

std::string TwoDigits(int v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

bool StartsWithNoCase(std::string_view s, std::size_t i, std::string_view word) {
  if (i + word.size() > s.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k) {
    if (std::tolower(static_cast<unsigned char>(s[i + k])) != word[k]) return false;
  }
  return true;
}

bool UsesTwelveHourClock(std::string_view f) {
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (f[i] == '"' || f[i] == '\'') {
      const auto close = f.find(f[i], i + 1);
      if (close == std::string_view::npos) return false;
      i = close;
      continue;
    }
    if (StartsWithNoCase(f, i, "ampm") || StartsWithNoCase(f, i, "am/pm") ||
        StartsWithNoCase(f, i, "a/p")) {
      return true;
    }
  }
  return false;
}

// A quoted literal or an AM/PM marker at `i`: appended to `out`, with `i` moved past it; false
// when there is none.
bool AppendTextPart(std::string_view f, std::size_t& i, const TDateTimeParts& t,
                    const TFormatSettings& s, std::string& out) {
  const char c = f[i];
  if (c == '"' || c == '\'') {
    const auto close = f.find(c, i + 1);
    const auto end = close == std::string_view::npos ? f.size() : close;
    out.append(f.substr(i + 1, end - i - 1));
    i = end == f.size() ? end : end + 1;
    return true;
  }
  if (StartsWithNoCase(f, i, "ampm")) {
    out += t.Hour < 12 ? s.TimeAMString : s.TimePMString;
    i += 4;
    return true;
  }
  // The letters of these two keep the case in which the format writes them.
  const bool upper = std::isupper(static_cast<unsigned char>(c)) != 0;
  if (StartsWithNoCase(f, i, "am/pm")) {
    out += t.Hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
    i += 5;
    return true;
  }
  if (StartsWithNoCase(f, i, "a/p")) {
    out += t.Hour < 12 ? (upper ? "A" : "a") : (upper ? "P" : "p");
    i += 3;
    return true;
  }
  return false;
}

// The text a run of `n` of the field letter `letter` (d, m, y, h, n, s) stands for; "m" right
// after an hour is minutes.
std::string Field(char letter, std::size_t n, bool afterHour, int hour, const TDateTimeParts& t,
                  const TFormatSettings& s) {
  const auto number = [n](int value) { return n == 1 ? std::to_string(value) : TwoDigits(value); };
  switch (letter) {
    case 'd':
      if (n <= 2) return number(t.Day);
      return n == 3 ? s.ShortDayNames[static_cast<std::size_t>(t.DayOfWeek)]
                    : s.LongDayNames[static_cast<std::size_t>(t.DayOfWeek)];
    case 'm':
      if (afterHour && n <= 2) return number(t.Minute);
      if (n <= 2) return number(t.Month);
      return n == 3 ? s.ShortMonthNames[static_cast<std::size_t>(t.Month - 1)]
                    : s.LongMonthNames[static_cast<std::size_t>(t.Month - 1)];
    case 'y':
      return n <= 2 ? TwoDigits(t.Year % 100) : std::to_string(t.Year);
    case 'h':
      return number(hour);
    case 'n':
      return number(t.Minute);
    default:
      return number(t.Second);
  }
}

}  // namespace

std::string FormatDateTime(std::string_view f, const TDateTimeParts& t, const TFormatSettings& s) {
  const int hour12 = t.Hour % 12 == 0 ? 12 : t.Hour % 12;
  const int hour = UsesTwelveHourClock(f) ? hour12 : t.Hour;
  std::string out;
  bool lastWasHour = false;
  std::size_t i = 0;
  while (i < f.size()) {
    if (AppendTextPart(f, i, t, s, out)) continue;
    const char c = f[i];
    const char lc = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (std::string_view("dmyhns").find(lc) != std::string_view::npos) {
      std::size_t n = 0;
      while (i + n < f.size() && std::tolower(static_cast<unsigned char>(f[i + n])) == lc)
        ++n;
      out += Field(lc, n, lastWasHour, hour, t, s);
      i += n;
      lastWasHour = lc == 'h';
      continue;
    }
    ++i;
    if (c == '/') {
      out += s.DateSeparator;
    } else if (c == ':') {
      out += s.TimeSeparator;
    } else {
      out += c;
      // Blanks and punctuation between an hour and "m" keep "m" meaning minutes.
      if (std::isalpha(static_cast<unsigned char>(c))) lastWasHour = false;
    }
  }
  return out;
}

std::tm LocalTime(std::time_t t) {
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  return tm;
}

TDateTimeParts Now() {
  const std::tm tm = LocalTime(std::time(nullptr));
  TDateTimeParts t;
  t.Year = tm.tm_year + 1900;
  t.Month = tm.tm_mon + 1;
  t.Day = tm.tm_mday;
  t.Hour = tm.tm_hour;
  t.Minute = tm.tm_min;
  t.Second = tm.tm_sec;
  t.DayOfWeek = tm.tm_wday;
  return t;
}

void SetUserFormatSettings(const TFormatSettings& settings) {
  std::lock_guard lock(settingsMutex);
  configuredSettings = settings;
}

TFormatSettings UserFormatSettings() {
  std::lock_guard lock(settingsMutex);
  return configuredSettings.value_or(TFormatSettings{});
}

#ifdef _WIN32
namespace {
SYSTEMTIME ToSystemTime(const TDateTimeParts& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.Year);
  st.wMonth = static_cast<WORD>(t.Month);
  st.wDay = static_cast<WORD>(t.Day);
  st.wDayOfWeek = static_cast<WORD>(t.DayOfWeek);
  st.wHour = static_cast<WORD>(t.Hour);
  st.wMinute = static_cast<WORD>(t.Minute);
  st.wSecond = static_cast<WORD>(t.Second);
  return st;
}
bool HostConfigured() {
  std::lock_guard lock(settingsMutex);
  return configuredSettings.has_value();
}
}  // namespace

std::string FormatLongDate(const TDateTimeParts& t) {
  if (HostConfigured())
    return FormatDateTime(UserFormatSettings().LongDateFormat, t, UserFormatSettings());
  const SYSTEMTIME st = ToSystemTime(t);
  wchar_t buffer[128];
  const int n = ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_LONGDATE, &st, nullptr, buffer,
                                  128, nullptr);
  return n > 0 ? win32::Narrow(std::wstring_view(buffer, static_cast<std::size_t>(n - 1)))
               : std::string();
}

std::string FormatShortTime(const TDateTimeParts& t) {
  if (HostConfigured())
    return FormatDateTime(UserFormatSettings().ShortTimeFormat, t, UserFormatSettings());
  const SYSTEMTIME st = ToSystemTime(t);
  wchar_t buffer[128];
  const int n =
      ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, buffer, 128);
  return n > 0 ? win32::Narrow(std::wstring_view(buffer, static_cast<std::size_t>(n - 1)))
               : std::string();
}
#else
std::string FormatLongDate(const TDateTimeParts& t) {
  const TFormatSettings s = UserFormatSettings();
  return FormatDateTime(s.LongDateFormat, t, s);
}

std::string FormatShortTime(const TDateTimeParts& t) {
  const TFormatSettings s = UserFormatSettings();
  return FormatDateTime(s.ShortTimeFormat, t, s);
}
#endif

}  // namespace mx::platform
