#include "MemIniFile.h"

#include <gtest/gtest.h>

using namespace mx::platform;
using Lines = std::vector<std::string>;

TEST(MemIniFileTest, ReadsTheProjectVersionBlock) {
  const TMemIniFile ini(
      TStringList("; settings\n"
                  "orphan=1\n"
                  "[ Version Info ]\n"
                  "  IncludeVerInfo =  1 \n"
                  "MajorVer=0x10\n"
                  "Release=abc\n"
                  "Flag=true\n"
                  "Empty=\n"
                  "#note\n"
                  "[Version Info Keys]\r\n"
                  "CompanyName=Acme = Sons\r\n"
                  "FileVersion=1.2.0.17\r\n"
                  "[version info]\n"
                  "MajorVer=7\n"));
  EXPECT_EQ(ini.ReadString("VERSION INFO", "includeverinfo", "?"), "1");
  EXPECT_EQ(ini.ReadString("Version Info", "Empty", "?"), "");
  EXPECT_EQ(ini.ReadString("Version Info", "orphan", "?"), "?");
  EXPECT_EQ(ini.ReadString("Missing", "x", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("Version Info Keys", "CompanyName", ""), "Acme = Sons");
  EXPECT_EQ(ini.ReadInteger("Version Info", "MajorVer", 0), 16);  // the first block answers
  EXPECT_EQ(ini.ReadInteger("Version Info", "Release", -1), -1);
  EXPECT_TRUE(ini.ReadBool("Version Info", "IncludeVerInfo", false));
  EXPECT_FALSE(ini.ReadBool("Version Info", "Flag", false));  // "true" is not an integer
  EXPECT_TRUE(ini.ReadBool("Version Info", "Flag", true));
  EXPECT_EQ(ini.ReadSection("Version Info"),
            (Lines{"IncludeVerInfo", "MajorVer", "Release", "Flag", "Empty", ""}));
  EXPECT_EQ(ini.ReadSectionValues("Version Info Keys"),
            (Lines{"CompanyName=Acme = Sons", "FileVersion=1.2.0.17"}));
  EXPECT_EQ(ini.ReadSectionValues("Version Info").back(), "#note");
  EXPECT_EQ(ini.ReadSections(), (Lines{"Version Info", "Version Info Keys", "version info"}));
  EXPECT_TRUE(ini.ValueExists("version info", "EMPTY"));
  EXPECT_FALSE(ini.SectionExists("orphan"));
  EXPECT_TRUE(ini.ReadSection("nothing").empty());
}

TEST(MemIniFileTest, OddLinesAreTolerated) {
  const TMemIniFile ini(TStringList("[]\n=v\n[A] ; note\nk=v\n[\n]\n"));
  EXPECT_EQ(ini.ReadSections(), (Lines{""}));  // "[A] ; note" is not a header
  EXPECT_EQ(ini.ReadString("", "", "?"), "v");
  EXPECT_EQ(ini.ReadString("", "k", "?"), "v");
  EXPECT_EQ(ini.ReadSection(""), (Lines{"", "", "k", "", ""}));
}
