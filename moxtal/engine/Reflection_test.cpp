#include "moxtal/api/Reflection.h"

#include <gtest/gtest.h>

#include "moxtal/api/Persistent.h"

namespace mx {
namespace {

MX_ENUM(TColour, clRed, clGreen, clBlue)

class TSample : public TQlXMLObject {
 public:
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info = [] {
      TClassInfo c("TSample", &TQlXMLObject::StaticClassInfo());
      TClassBuilder<TSample>(c)
          .Boolean("Flag", &TSample::GetFlag, &TSample::SetFlag)
          .Integer("Count", &TSample::GetCount, &TSample::SetCount)
          .Cardinal("Base", &TSample::GetBase, &TSample::SetBase)
          .String("Text", &TSample::GetText, &TSample::SetText)
          .Enum("Colour", &TSample::GetColour, &TSample::SetColour)
          .Set("Colours", &TSample::GetColours, &TSample::SetColours)
          .StringList("Lines", &TSample::GetLines, &TSample::SetLines);
      return c;
    }();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool GetFlag() const { return flag_; }
  void SetFlag(bool v) { flag_ = v; }
  std::int32_t GetCount() const { return count_; }
  void SetCount(std::int32_t v) { count_ = v; }
  std::uint32_t GetBase() const { return base_; }
  void SetBase(std::uint32_t v) { base_ = v; }
  std::string GetText() const { return text_; }
  void SetText(const std::string& v) { text_ = v; }
  TColour GetColour() const { return colour_; }
  void SetColour(TColour v) { colour_ = v; }
  TSet<TColour> GetColours() const { return colours_; }
  void SetColours(TSet<TColour> v) { colours_ = v; }
  platform::TStringList& GetLines() { return lines_; }
  void SetLines(const platform::TStringList& v) { lines_.Assign(v); }

 private:
  bool flag_ = true;
  std::int32_t count_ = 0;
  std::uint32_t base_ = 0x400000;
  std::string text_;
  TColour colour_ = TColour::clGreen;
  TSet<TColour> colours_;
  platform::TStringList lines_;
};

}  // namespace

TEST(ReflectionTest, EveryKindRoundTripsThroughItsTextForm) {
  TSample s;
  EXPECT_EQ(GetPropertyList(s, true), (std::vector<std::string>{"Flag", "Count", "Base", "Text",
                                                                "Colour", "Colours", "Lines"}));
  EXPECT_EQ(GetPropAsString(s, "flag"), "True");
  EXPECT_EQ(GetPropAsString(s, "Base"), "4194304");
  EXPECT_EQ(GetPropAsString(s, "Colour"), "clGreen");
  EXPECT_EQ(GetPropAsString(s, "Colours"), "[]");

  const std::pair<const char*, const char*> cases[] = {
      {"Flag", "False"},          {"Count", "-42"},     {"Base", "4294967295"},
      {"Text", "a=b;\"c\""},      {"Colour", "clBlue"}, {"Colours", "[clRed,clBlue]"},
      {"Lines", "one\r\ntwo\r\n"}};
  for (const auto& [name, text] : cases) {
    SetPropAsString(s, name, text);
    EXPECT_EQ(GetPropAsString(s, name), text) << name;
  }
  // Other spellings of the same values read too; the text form written is the canonical one.
  SetPropAsString(s, "Colours", " clblue , clRed ");
  EXPECT_EQ(GetPropAsString(s, "Colours"), "[clRed,clBlue]");
  SetPropAsString(s, "Base", "$FFFFFFFF");
  EXPECT_EQ(s.GetBase(), 0xFFFFFFFFu);
  SetPropAsString(s, "Count", "0x2000");
  EXPECT_EQ(s.GetCount(), 8192);
  SetPropAsString(s, "Colour", "CLRED");
  EXPECT_EQ(s.GetColour(), TColour::clRed);
}

TEST(ReflectionTest, BadValuesAndNamesGiveClearErrors) {
  TSample s;
  const std::pair<const char*, const char*> bad[] = {
      {"Count", "'many' is not a valid integer value"},
      {"Base", "'-1' is not a valid unsigned 32-bit value"},
      {"Colour", "'clPink' is not a valid TColour value; its values are clRed, clGreen, clBlue"},
      {"Colour",
       "'clBlu' is not a valid TColour value; did you mean clBlue?; its values are "
       "clRed, clGreen, clBlue"},
      {"Colours",
       "'clPink' is not a member of TColour (in '[clRed,clPink]'); its members are "
       "clRed, clGreen, clBlue"},
      {"Flag", "'maybe' is not a Boolean value: give True or False"},
  };
  const char* values[] = {"many", "-1", "clPink", "clBlu", "[clRed,clPink]", "maybe"};
  for (std::size_t i = 0; i < std::size(bad); ++i) {
    try {
      SetPropAsString(s, bad[i].first, values[i]);
      ADD_FAILURE() << bad[i].first;
    } catch (const Exception& e) {
      EXPECT_EQ(e.what(), std::string(bad[i].second));
    }
  }
  try {
    GetPropAsString(s, "Missing");
    FAIL();
  } catch (const EPropertyError& e) {
    EXPECT_STREQ(e.what(),
                 "TSample has no property 'Missing'; its properties are Flag, Count, Base, Text, "
                 "Colour, Colours, Lines");
  }
  EXPECT_EQ(GetPropAsString(s, "Count"), "0");  // nothing changed by the failures
}

TEST(ReflectionTest, StringListPropertiesCopyLinesButScriptsEditInPlace) {
  TSample s;
  platform::TStringList source("-wpar=1\n");
  s.SetLines(source);
  source.Add("-waus=0");
  EXPECT_EQ(s.GetLines().Count(), 1);
  const TPropInfo& lines = GetPropInfo(s, "Lines");
  lines.List(s)->Add("-wrch=0");
  EXPECT_EQ(GetPropAsString(s, "Lines"), "-wpar=1\r\n-wrch=0\r\n");
}

}  // namespace mx
