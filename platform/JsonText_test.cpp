#include <gtest/gtest.h>

#include "JsonText.h"

using namespace mx::platform;

namespace {

std::string Json(std::string_view text) {
  std::string out;
  AppendJsonString(out, text);
  return out;
}

TEST(JsonTextTest, EscapesWhatJsonNeedsWhereverItStandsAndReplacesBrokenBytes) {
  EXPECT_EQ(Json(""), "\"\"");
  EXPECT_EQ(Json("a\"b\\c\n\r\t\x01"), "\"a\\\"b\\\\c\\n\\r\\t\\u0001\"");
  EXPECT_EQ(Json("f\xC3\xBCr \xE2\x82\xAC"), "\"f\xC3\xBCr \xE2\x82\xAC\"");
  EXPECT_EQ(Json("f\xFCr"), "\"f\xEF\xBF\xBDr\"");
  EXPECT_EQ(Json("\xEF\xBF\xBD"), "\"\xEF\xBF\xBD\"");
  // Every special character at every place of a long plain run, which is looked at eight bytes
  // at a time.
  for (const char special : {'"', '\\', '\n', '\x1F', '\x7F', '\x80'}) {
    for (std::size_t at = 0; at < 20; ++at) {
      std::string text(20, 'x');
      text[at] = special;
      const std::string json = Json(text);
      std::string expected = std::string(at, 'x');
      if (special == '"') expected += "\\\"";
      if (special == '\\') expected += "\\\\";
      if (special == '\n') expected += "\\n";
      if (special == '\x1F') expected += "\\u001f";
      if (special == '\x7F') expected += '\x7F';
      if (special == '\x80') expected += "\xEF\xBF\xBD";
      EXPECT_EQ(json, "\"" + expected + std::string(19 - at, 'x') + "\"")
          << static_cast<int>(special) << " at " << at;
    }
  }
}

}  // namespace
