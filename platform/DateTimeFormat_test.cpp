#include "DateTimeFormat.h"

#include <gtest/gtest.h>

using namespace mx::platform;

TEST(DateTimeFormatTest, FormatsDelphiSpecifiers) {
  const TFormatSettings us;
  TDateTimeParts t{2024, 3, 5, 13, 5, 9, 2};
  EXPECT_EQ(FormatDateTime("dddd, mmmm d, yyyy", t, us), "Tuesday, March 5, 2024");
  EXPECT_EQ(FormatDateTime("h:nn AMPM", t, us), "1:05 PM");
  EXPECT_EQ(FormatDateTime("h:mm AMPM", t, us), "1:05 PM");
  EXPECT_EQ(FormatDateTime("hh:nn:ss", t, us), "13:05:09");
  EXPECT_EQ(FormatDateTime("m/d/yyyy", t, us), "3/5/2024");
  EXPECT_EQ(FormatDateTime("ddd dd mmm yy 'at' h am/pm", t, us), "Tue 05 Mar 24 at 1 pm");
  TFormatSettings german = us;
  german.DateSeparator = '.';
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy", t, german), "05.03.2024");
  t.Hour = 0;
  EXPECT_EQ(FormatDateTime("h:nn AMPM", t, us), "12:05 AM");
  t.Hour = 12;
  EXPECT_EQ(FormatDateTime("h:nn A/P", t, us), "12:05 P");

  TFormatSettings custom = us;
  custom.LongDateFormat = "d. mmmm yyyy";
  SetUserFormatSettings(custom);
  EXPECT_EQ(FormatLongDate(t), "5. March 2024");
  SetUserFormatSettings(us);
}
