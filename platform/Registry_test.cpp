#include "Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "CodePage.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace mx::platform;

namespace {

const char* const kExport =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "; C++Builder 6 on the build server\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\C++Builder\\6.0]\r\n"
    "\"RootDir\"=\"C:\\\\Program Files\\\\Borland\\\\CBuilder6\\\\\"\r\n"
    "\"Quoted\"=\"say \\\"hi\\\"\"\r\n"
    "@=\"default\"\r\n"
    "\"Build\"=dword:0000002a\r\n"
    "\"Path\"=hex(2):25,00,42,00,43,00,42,00,25,00,5c,00,62,00,\\\r\n"
    "  69,00,6e,00,00,00\r\n"
    "\"Blob\"=hex:01,02,ff\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Borland\\C++Builder\\6.0\\Environment Variables]\r\n"
    "\"BCB\"=\"C:\\\\CB6\"\r\n"
    "\"Extra\"=\"x\"\r\n"
    "\"Removed\"=\"gone\"\r\n"
    "\"Removed\"=-\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\BDS\\4.0]\r\n"
    "\"RootDir\"=\"C:\\\\BDS\\\\4.0\\\\\"\r\n"
    "\r\n"
    "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\BDS\\4.0]\r\n";

std::string ReadBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(RegistryFileTest, ReadsEveryValueFormOfAnExport) {
  const auto reg = RegistryFromText(kExport, "build.reg");
  const auto key =
      reg->OpenKeyReadOnly(TRegistryRoot::rkLocalMachine, "Software\\Borland\\C++Builder\\6.0");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadString("RootDir"), "C:\\Program Files\\Borland\\CBuilder6\\");
  EXPECT_EQ(key->ReadString("rootdir"), "C:\\Program Files\\Borland\\CBuilder6\\");
  EXPECT_EQ(key->ReadString("Quoted"), "say \"hi\"");
  EXPECT_EQ(key->ReadString(""), "default");
  EXPECT_EQ(key->ReadString("Path"), "%BCB%\\bin");  // hex(2) is UTF-16 in version 5 files
  EXPECT_EQ(key->ReadInteger("Build"), 42);
  EXPECT_EQ(key->ReadString("Missing"), std::nullopt);
  try {
    key->ReadString("Build");
    FAIL();
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'Build'");
  }
  EXPECT_THROW(key->ReadInteger("Blob"), ERegistryException);

  const auto env = reg->OpenKeyReadOnly(
      TRegistryRoot::rkCurrentUser, "\\Software\\Borland\\C++Builder\\6.0\\Environment Variables");
  ASSERT_TRUE(env);
  EXPECT_EQ(env->GetValueNames(), (std::vector<std::string>{"BCB", "Extra"}));

  // Parents of a section exist; deleted and unknown keys do not, and opening never creates.
  EXPECT_TRUE(reg->OpenKeyReadOnly(TRegistryRoot::rkLocalMachine, "SOFTWARE\\Borland"));
  EXPECT_FALSE(reg->OpenKeyReadOnly(TRegistryRoot::rkLocalMachine, "SOFTWARE\\Borland\\BDS\\4.0"));
  EXPECT_FALSE(
      reg->OpenKeyReadOnly(TRegistryRoot::rkLocalMachine, "SOFTWARE\\Borland\\C++Builder\\5.0"));
  EXPECT_FALSE(
      reg->OpenKeyReadOnly(TRegistryRoot::rkCurrentUser, "SOFTWARE\\Borland\\C++Builder\\5.0"));
  EXPECT_THROW(key->WriteInteger("x", 1), ERegistryException);
}

TEST(RegistryFileTest, Regedit4AndUtf16FilesDecode) {
  const std::string v4 =
      "REGEDIT4\n\n[HKLM\\Software\\Test]\n\"Name\"=\"Caf\xE9\"\n\"Exp\"=hex(2):41,42,00\n";
  const auto reg4 = RegistryFromText(v4, "old.reg");
  const auto k4 = reg4->OpenKeyReadOnly(TRegistryRoot::rkLocalMachine, "Software\\Test");
  ASSERT_TRUE(k4);
  EXPECT_EQ(k4->ReadString("Name"), "Caf\xC3\xA9");
  EXPECT_EQ(k4->ReadString("Exp"), "AB");  // hex(2) is ANSI in REGEDIT4 files

  const std::string utf16 = "\xFF\xFE" + Utf8ToUtf16Le(kExport);
  const auto reg5 = RegistryFromText(utf16, "unicode.reg");
  const auto k5 =
      reg5->OpenKeyReadOnly(TRegistryRoot::rkLocalMachine, "Software\\Borland\\C++Builder\\6.0");
  ASSERT_TRUE(k5);
  EXPECT_EQ(k5->ReadInteger("Build"), 42);
}

TEST(RegistryFileTest, MalformedFilesNameFileAndLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"[HKEY_LOCAL_MACHINE\\X]\n",
       "bad.reg: not a registry file (the first line must be \"Windows Registry Editor Version "
       "5.00\" or \"REGEDIT4\")"},
      {"REGEDIT4\n\"a\"=\"b\"\n", "bad.reg:2: value outside a key section"},
      {"REGEDIT4\n[HKEY_NOWHERE\\X]\n", "bad.reg:2: unknown registry root \"HKEY_NOWHERE\""},
      {"REGEDIT4\n[HKLM\\X\n", "bad.reg:2: key section without closing \"]\""},
      {"REGEDIT4\n[HKLM\\X]\n\"a\"=dword:xyz\n", "bad.reg:3: invalid dword value \"dword:xyz\""},
      {"REGEDIT4\n[HKLM\\X]\n\"a\"=hex:1,zz\n", "bad.reg:3: invalid byte \"1\" in \"hex:1,zz\""},
      {"REGEDIT4\n[HKLM\\X]\n\"a\"=\"open\n",
       "bad.reg:3: missing closing quote in \"\"a\"=\"open\""},
      {"REGEDIT4\n[HKLM\\X]\ngarbage\n", "bad.reg:3: unexpected text \"garbage\""},
      {"REGEDIT4\n[HKLM\\X]\n\"a\" \"b\"\n",
       "bad.reg:3: expected \"=\" after the value name in \"\"a\" \"b\"\""},
  };
  for (const auto& [text, message] : cases) {
    try {
      RegistryFromText(text, "bad.reg");
      ADD_FAILURE() << "accepted: " << text;
    } catch (const ERegistryException& e) {
      EXPECT_EQ(e.what(), message);
    }
  }
}

TEST(RegistryFileTest, WritesChangeOnlyTheirOwnLines) {
  const auto dir = std::filesystem::temp_directory_path() / "mx_registry_test";
  std::filesystem::create_directories(dir);
  const auto file = dir / "machine.reg";
  {
    std::ofstream out(file, std::ios::binary);
    out << "\xFF\xFE" << Utf8ToUtf16Le(kExport);
  }
  {
    const auto reg = OpenRegistryFile(file.string());
    auto opts = reg->CreateKey(TRegistryRoot::rkCurrentUser,
                               "\\Software\\Quillon\\Moxtal\\5.0\\Options\\BorlandCBuilder");
    opts->WriteInteger("ProjectFilter", 2);
    opts->WriteInteger("ProjectFilter", -1);
    auto bcb = reg->CreateKey(TRegistryRoot::rkLocalMachine, "SOFTWARE\\Borland\\C++Builder\\6.0");
    bcb->WriteInteger("build", 43);    // replaces "Build" in place
    bcb->WriteString("New", "C:\\x");  // goes after the section's last value
  }
  const std::string bytes = ReadBytes(file);
  ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  const std::string text = Utf16LeToUtf8(bytes.substr(2));
  std::string expected = kExport;
  expected.replace(expected.find("\"Build\"=dword:0000002a"), 22, "\"build\"=dword:0000002b");
  expected.replace(expected.find("\"Blob\"=hex:01,02,ff\r\n") + 21, 0, "\"New\"=\"C:\\\\x\"\r\n");
  expected +=
      "\r\n[HKEY_CURRENT_USER\\Software\\Quillon\\Moxtal\\5.0\\Options\\BorlandCBuilder]\r\n"
      "\"ProjectFilter\"=dword:ffffffff\r\n\r\n";
  EXPECT_EQ(text, expected);

  const auto again = OpenRegistryFile(file.string());
  const auto opts = again->OpenKeyReadOnly(
      TRegistryRoot::rkCurrentUser, "Software\\Quillon\\Moxtal\\5.0\\Options\\BorlandCBuilder");
  ASSERT_TRUE(opts);
  EXPECT_EQ(opts->ReadInteger("ProjectFilter"), -1);

  // A registry file that does not exist yet is empty and is created by the first write.
  const auto fresh = dir / "fresh.reg";
  std::filesystem::remove(fresh);
  const auto empty = OpenRegistryFile(fresh.string());
  EXPECT_FALSE(empty->OpenKeyReadOnly(TRegistryRoot::rkCurrentUser, "Software"));
  empty->CreateKey(TRegistryRoot::rkCurrentUser, "Software\\A")->WriteString("v", "1");
  EXPECT_EQ(ReadBytes(fresh),
            "Windows Registry Editor Version "
            "5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n\"v\"=\"1\"\r\n\r\n");
  std::filesystem::remove_all(dir);
}

// A Wine prefix as wineboot leaves it, with what a 32-bit installer and reg.exe wrote.
TEST(WinePrefixRegistryTest, ReadsWinesOwnFilesAndTheThirtyTwoBitView) {
  const auto prefix = std::filesystem::temp_directory_path() / "mx_wine_prefix";
  std::filesystem::remove_all(prefix);
  std::filesystem::create_directories(prefix);
  std::ofstream(prefix / "system.reg", std::ios::binary)
      << "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n"
         "#arch=win64\n\n"
         "[Software\\\\Borland\\\\C++Builder\\\\6.0] 1796615559\n"
         "\"RootDir\"=\"D:\\\\The 64-bit view\\\\\"\n\n"
         "[Software\\\\Wow6432Node\\\\Borland\\\\C++Builder\\\\6.0] 1796615559\r\n"
         "#time=1dd85fe67883aea\r\n"
         "\"Caf\"=\"Caf\\xe9 \\\"q\\\" \\x4e2d\\xd83d\\xde00\"\r\n"
         "\"RootDir\"=\"C:\\\\Program Files\\\\Borland\\\\CBuilder6\\\\\"\r\n"
         "@=\"default\"\r\n"
         "\"Build\"=dword:0000002a\r\n"
         "\"List\"=str(7):\"a\\0b\\0\"\r\n"
         "\"Path\"=str(2):\"%SystemRoot%\\\\x\"\r\n"
         "\"Blob\"=hex:01,02,\\\r\n  03,04\r\n"
         "\"After\"=\"still read\"\r\n\n"
         "[Software\\\\Microsoft\\\\.NETFramework] 1796615559\n"
         "\"InstallRoot\"=\"C:\\\\windows\\\\Microsoft.NET\\\\Framework64\\\\\"\n";
  std::ofstream(prefix / "user.reg", std::ios::binary)
      << "WINE REGISTRY Version 2\n#arch=win64\n"
         "[Software\\\\Borland\\\\C++Builder\\\\6.0\\\\Environment Variables] 1\n"
         "\"BCB\"=\"C:\\\\CB6\"\n";
  const auto registry = OpenWinePrefixRegistry(prefix.string());

  // HKLM\Software is read in the 32-bit view where the installers wrote; a key only the 64-bit
  // view has is still found.
  auto key = registry->OpenKeyReadOnly(TRegistryRoot::rkLocalMachine,
                                       "SOFTWARE\\Borland\\C++Builder\\6.0");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->ReadString("rootdir"), "C:\\Program Files\\Borland\\CBuilder6\\");
  EXPECT_EQ(key->ReadString("Caf"), "Caf\u00e9 \"q\" \u4e2d\U0001F600");
  EXPECT_EQ(key->ReadString(""), "default");
  EXPECT_EQ(key->ReadInteger("Build"), 42);
  EXPECT_EQ(key->ReadString("Path"), "%SystemRoot%\\x");
  EXPECT_EQ(key->ReadString("After"), "still read");
  EXPECT_THROW(key->ReadString("Build"), ERegistryException);
  EXPECT_THROW(key->ReadString("List"), ERegistryException);
  EXPECT_EQ(key->ReadString("Missing"), std::nullopt);
  EXPECT_EQ(key->GetValueNames(), (std::vector<std::string>{"Caf", "RootDir", "", "Build", "List",
                                                            "Path", "Blob", "After"}));
  EXPECT_NE(registry->OpenKeyReadOnly(TRegistryRoot::rkLocalMachine,
                                      "\\Software\\Microsoft\\.NETFramework\\"),
            nullptr);
  auto user = registry->OpenKeyReadOnly(
      TRegistryRoot::rkCurrentUser, "Software\\Borland\\C++Builder\\6.0\\Environment Variables");
  ASSERT_NE(user, nullptr);
  EXPECT_EQ(user->ReadString("BCB"), "C:\\CB6");

  // A 32-bit prefix has no 32-bit view of its own: its keys are read where they stand, and a
  // key of the same name under Wow6432Node is only itself.
  const auto win32 = WineRegistryFromText(
      "WINE REGISTRY Version 2\n[Software\\\\Wow6432Node\\\\A] 1\n\"V\"=\"redirected\"\n"
      "[Software\\\\A] 1\n\"V\"=\"plain\"\n",
      "", "prefix32");
  EXPECT_EQ(win32->OpenKeyReadOnly(TRegistryRoot::rkLocalMachine, "Software\\A")->ReadString("V"),
            "plain");
  EXPECT_EQ(win32->OpenKeyReadOnly(TRegistryRoot::rkCurrentUser, "Software\\A"), nullptr);
  EXPECT_EQ(win32->OpenKeyReadOnly(TRegistryRoot::rkClassesRoot, "Software\\A"), nullptr);

  // Never written: Wine owns these files.
  const std::string before = ReadBytes(prefix / "system.reg");
  EXPECT_THROW(key->WriteString("RootDir", "x"), ERegistryException);
  EXPECT_THROW(registry->CreateKey(TRegistryRoot::rkCurrentUser, "Software\\X"),
               ERegistryException);
  EXPECT_EQ(ReadBytes(prefix / "system.reg"), before);

  // Bad prefixes and bad files name what is wrong and where.
  std::ofstream(prefix / "user.reg", std::ios::binary) << "WINE REGISTRY Version 2\n\"x\"=\"y\"\n";
  try {
    OpenWinePrefixRegistry(prefix.string());
    ADD_FAILURE() << "a value before any key was taken";
  } catch (const ERegistryException& e) {
    EXPECT_NE(std::string(e.what()).find("user.reg:2: a value before any key"), std::string::npos)
        << e.what();
  }
  std::ofstream(prefix / "user.reg", std::ios::binary) << "REGEDIT4\n";
  EXPECT_THROW(OpenWinePrefixRegistry(prefix.string()), ERegistryException);
  std::filesystem::remove(prefix / "system.reg");
  try {
    OpenWinePrefixRegistry(prefix.string());
    ADD_FAILURE() << "a folder without system.reg was taken";
  } catch (const ERegistryException& e) {
    EXPECT_NE(std::string(e.what()).find("is not a Wine prefix"), std::string::npos) << e.what();
  }
  std::filesystem::remove_all(prefix);
}

#ifdef _WIN32
// The Windows back end against the real registry: a scratch key under HKEY_CURRENT_USER.
TEST(WindowsRegistryTest, CreatesWritesReadsAndListsValues) {
  const auto registry = OpenSystemRegistry();
  const std::string path = "\\Software\\MxRegistryTest\\Nested";
  {
    auto key = registry->CreateKey(TRegistryRoot::rkCurrentUser, path);
    ASSERT_NE(key, nullptr);
    key->WriteString("RootDir", "C:\\Program Files\\CBuilder6\\");
    key->WriteString("Caf\xC3\xA9", "\xE2\x82\xAC");
    key->WriteInteger("Build", -2);
  }
  auto key = registry->OpenKeyReadOnly(TRegistryRoot::rkCurrentUser, path);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->ReadString("rootdir"), "C:\\Program Files\\CBuilder6\\");
  EXPECT_EQ(key->ReadString("Caf\xC3\xA9"), "\xE2\x82\xAC");
  EXPECT_EQ(key->ReadInteger("Build"), -2);
  EXPECT_EQ(key->ReadString("Missing"), std::nullopt);
  EXPECT_THROW(key->ReadString("Build"), ERegistryException);
  EXPECT_THROW(key->ReadInteger("RootDir"), ERegistryException);
  EXPECT_THROW(key->WriteString("RootDir", "x"), ERegistryException);
  // The registry lists values in an order of its own choosing.
  auto names = key->GetValueNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Build", "Caf\xC3\xA9", "RootDir"}));
  EXPECT_EQ(registry->OpenKeyReadOnly(TRegistryRoot::rkLocalMachine, "Software\\MxNoSuchKey"),
            nullptr);
  key.reset();
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\MxRegistryTest");
}
#endif
