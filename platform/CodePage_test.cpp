#include "CodePage.h"

#include <gtest/gtest.h>

#include "Exception.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace mx::platform;

TEST(CodePageTest, Windows1252RoundTripsEveryByte) {
  EXPECT_EQ(Utf8ToAnsi("Caf\xC3\xA9 \xE2\x82\xAC \xE2\x84\xA2", 1252), "Caf\xE9 \x80 \x99");
  EXPECT_EQ(Utf8ToAnsi("\xE4\xB8\xAD", 1252), "?");  // a character 1252 lacks
  EXPECT_EQ(Utf8ToAnsi("\xFF", 1252), "?");          // malformed UTF-8
  std::string all;
  for (int b = 0; b < 256; ++b)
    all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all, 1252), 1252), all);
  EXPECT_EQ(Utf8ToAnsi("x\xC3\xA9", 65001), "x\xC3\xA9");
}

TEST(CodePageTest, OtherCodePagesGoThroughTheSystemConverter) {
  EXPECT_EQ(Utf8ToAnsi("\xD0\x96", 1251), "\xC6");  // Cyrillic Zhe
  EXPECT_EQ(AnsiToUtf8("\xC6", 1251), "\xD0\x96");
  EXPECT_EQ(Utf8ToAnsi("a\xE2\x82\xAC\xE4\xB8\xAD"
                       "b",
                       1251),
            "a\x88?b");
  EXPECT_THROW(Utf8ToAnsi("x", 99999), mx::Exception);
}

#ifdef _WIN32
TEST(CodePageTest, AnsiCodePageIsTheSystemOne) {
  SetAnsiCodePage(1250);
  EXPECT_EQ(mx::platform::GetACP(), static_cast<int>(::GetACP()));
  SetAnsiCodePage(0);
}
#else
TEST(CodePageTest, AnsiCodePageIsConfigurable) {
  SetAnsiCodePage(1250);
  EXPECT_EQ(GetACP(), 1250);
  SetAnsiCodePage(0);
  EXPECT_EQ(GetACP(), 1252);
}
#endif

TEST(CodePageTest, Utf16AndValidity) {
  EXPECT_EQ(Utf8ToUtf16Le("A\xC3\xA9\xF0\x9F\x98\x80"),
            std::string("A\0\xE9\0\x3D\xD8\x00\xDE", 8));
  EXPECT_EQ(Utf16LeToUtf8(std::string("A\0\xE9\0\x3D\xD8\x00\xDE", 8)),
            "A\xC3\xA9\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16LeToUtf8(std::string("\x00\xD8"
                                      "A\0",
                                      4)),
            "\xEF\xBF\xBD"
            "A");
  EXPECT_TRUE(IsValidUtf8("plain \xC3\xA9 \xEF\xBF\xBD"));
  EXPECT_FALSE(IsValidUtf8("\xE9t\xE9"));
  EXPECT_FALSE(IsValidUtf8("\xC0\x80"));  // overlong
}
