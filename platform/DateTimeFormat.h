#pragma once

#include <array>
#include <ctime>
#include <string>
#include <string_view>

namespace mx::platform {

/// A local date and time broken into fields. DayOfWeek counts from 0 for Sunday.
struct TDateTimeParts {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int DayOfWeek = 6;
};

/// The user's regional formats in the format language of FormatDateTime.
struct TFormatSettings {
  std::string LongDateFormat = "dddd, mmmm d, yyyy";
  std::string ShortTimeFormat = "h:nn AMPM";
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char DecimalSeparator = '.';
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::array<std::string, 12> LongMonthNames = {"January",   "February", "March",    "April",
                                                "May",       "June",     "July",     "August",
                                                "September", "October",  "November", "December"};
  std::array<std::string, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 7> LongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                             "Thursday", "Friday", "Saturday"};
  std::array<std::string, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
};

/// Formats a date and time. Specifiers (letters in any case, except am/pm and a/p):
/// d dd ddd dddd, m mm mmm mmmm (minutes right after an hour), yy yyyy, h hh, n nn, s ss,
/// ampm (the AM/PM strings), am/pm, a/p (each switches h to a 12-hour clock), "/" and ":"
/// (the separators), and text in double or single quotes taken literally.
std::string FormatDateTime(std::string_view format, const TDateTimeParts& t,
                           const TFormatSettings& settings);

/// The current local date and time.
TDateTimeParts Now();
/// A moment of the system clock in local time.
std::tm LocalTime(std::time_t t);

/// The user's formats: on Windows read from the regional settings, elsewhere the United States
/// English formats unless the host set others.
TFormatSettings UserFormatSettings();
void SetUserFormatSettings(const TFormatSettings& settings);

/// The date in the user's long date format ("Tuesday, March 5, 2024").
std::string FormatLongDate(const TDateTimeParts& t);
/// The time in the user's short time format ("1:05 PM").
std::string FormatShortTime(const TDateTimeParts& t);

}  // namespace mx::platform
