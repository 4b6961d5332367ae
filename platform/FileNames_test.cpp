#include "FileNames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace mx::platform;

TEST(FileNamesTest, WindowsTextSplitsAtBackslashAndColonOnly) {
  struct Case {
    const char* f;
    const char* path;
    const char* dir;
    const char* name;
    const char* ext;
  };
  const Case cases[] = {
      {"C:\\dir\\file.txt", "C:\\dir\\", "C:\\dir", "file.txt", ".txt"},
      {"C:\\file.txt", "C:\\", "C:\\", "file.txt", ".txt"},
      {"C:file.txt", "C:", "C:", "file.txt", ".txt"},
      {"file.txt", "", "", "file.txt", ".txt"},
      {"C:\\dir\\", "C:\\dir\\", "C:\\dir", "", ""},
      {"C:\\dir.v2\\file", "C:\\dir.v2\\", "C:\\dir.v2", "file", ""},
      {"a.tar.gz", "", "", "a.tar.gz", ".gz"},
      {"name.", "", "", "name.", "."},
      {".profile", "", "", ".profile", ".profile"},
      {"\\file", "\\", "\\", "file", ""},
      {"\\\\srv\\share\\f.txt", "\\\\srv\\share\\", "\\\\srv\\share", "f.txt", ".txt"},
      {"C:/dir/f.txt", "C:", "C:", "/dir/f.txt", ".txt"},
      {"..\\bin\\Demo.exe", "..\\bin\\", "..\\bin", "Demo.exe", ".exe"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(wintext::ExtractFilePath(c.f), c.path) << c.f;
    EXPECT_EQ(wintext::ExtractFileDir(c.f), c.dir) << c.f;
    EXPECT_EQ(wintext::ExtractFileName(c.f), c.name) << c.f;
    EXPECT_EQ(wintext::ExtractFileExt(c.f), c.ext) << c.f;
  }
}

TEST(FileNamesTest, ChangeExtensionAndTrailingDelimiters) {
  EXPECT_EQ(wintext::ChangeFileExt("file.txt", ".bak"), "file.bak");
  EXPECT_EQ(wintext::ChangeFileExt("file", ".bak"), "file.bak");
  EXPECT_EQ(wintext::ChangeFileExt("C:\\dir.v2\\file", ".bak"), "C:\\dir.v2\\file.bak");
  EXPECT_EQ(wintext::ChangeFileExt("a.tar.gz", ".zip"), "a.tar.zip");
  EXPECT_EQ(wintext::ChangeFileExt("file.txt", ""), "file");
  EXPECT_EQ(wintext::ChangeFileExt("file.txt", "bak"), "filebak");
  EXPECT_EQ(wintext::ChangeFileExt(".profile", ".x"), ".x");

  EXPECT_EQ(wintext::IncludeTrailingPathDelimiter("C:\\Path"), "C:\\Path\\");
  EXPECT_EQ(wintext::IncludeTrailingPathDelimiter("C:\\Path\\"), "C:\\Path\\");
  EXPECT_EQ(wintext::IncludeTrailingPathDelimiter(""), "\\");
  EXPECT_EQ(wintext::ExcludeTrailingPathDelimiter("C:\\"), "C:");
  EXPECT_EQ(wintext::ExcludeTrailingPathDelimiter("C:\\a\\\\"), "C:\\a\\");
  EXPECT_EQ(wintext::ExcludeTrailingPathDelimiter("\\"), "");
  EXPECT_EQ(wintext::ExcludeTrailingPathDelimiter("C:\\a/"), "C:\\a/");
}

#ifndef _WIN32
TEST(FileNamesTest, MachinePathsUseSlashAndAcceptBackslash) {
  EXPECT_EQ(machinepath::ExtractFilePath("/work/demo/Demo.bpr"), "/work/demo/");
  EXPECT_EQ(machinepath::ExtractFileDir("/work/demo/Demo.bpr"), "/work/demo");
  EXPECT_EQ(machinepath::ExtractFileDir("/Demo.bpr"), "/");
  EXPECT_EQ(machinepath::ExtractFileName("sub\\Demo.bpr"), "Demo.bpr");
  EXPECT_EQ(machinepath::ExtractFileName("C:Demo.bpr"), "C:Demo.bpr");
  EXPECT_EQ(machinepath::ChangeFileExt("/w/x.y/Demo", ".MAK"), "/w/x.y/Demo.MAK");
  EXPECT_EQ(machinepath::IncludeTrailingPathDelimiter("/opt/cb6"), "/opt/cb6/");
  EXPECT_EQ(machinepath::Join("/opt/cb6/", "bin"), "/opt/cb6/bin");
  EXPECT_EQ(machinepath::Join("", "bin"), "bin");
}
#else
TEST(FileNamesTest, MachinePathsUseBackslashAndAcceptSlash) {
  EXPECT_EQ(machinepath::ExtractFilePath("C:\\work\\demo\\Demo.bpr"), "C:\\work\\demo\\");
  EXPECT_EQ(machinepath::ExtractFileDir("C:\\work\\demo\\Demo.bpr"), "C:\\work\\demo");
  EXPECT_EQ(machinepath::ExtractFileName("C:/work/Demo.bpr"), "Demo.bpr");
  EXPECT_EQ(machinepath::ExtractFileName("C:Demo.bpr"), "Demo.bpr");
  EXPECT_EQ(machinepath::ChangeFileExt("C:\\w\\x.y\\Demo", ".MAK"), "C:\\w\\x.y\\Demo.MAK");
  EXPECT_EQ(machinepath::IncludeTrailingPathDelimiter("C:\\cb6"), "C:\\cb6\\");
  EXPECT_EQ(machinepath::Join("C:\\cb6\\", "bin"), "C:\\cb6\\bin");
  EXPECT_EQ(machinepath::Join("", "bin"), "bin");
}
#endif

TEST(FileNamesTest, FileExistsIsTrueOnlyForFiles) {
  const auto dir = std::filesystem::temp_directory_path() / "mx_filenames_test";
  std::filesystem::create_directories(dir);
  const auto file = dir / "f.txt";
  std::ofstream(file) << "x";
  EXPECT_TRUE(machinepath::FileExists(file.string()));
  EXPECT_FALSE(machinepath::FileExists(dir.string()));
  EXPECT_TRUE(machinepath::DirectoryExists(dir.string()));
  EXPECT_FALSE(machinepath::FileExists((dir / "none").string()));
  EXPECT_FALSE(machinepath::FileExists(""));
  std::filesystem::remove_all(dir);
}

TEST(FileNamesTest, NormalisedPathsHaveNoDotSegmentsOrDoubledSeparators) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/home/me/ci/../proj/MxTemp.MAK", "/home/me/proj/MxTemp.MAK"},
      {"/opt/CBuilder6//bin/make.exe", "/opt/CBuilder6/bin/make.exe"},
      {"/a/./b/", "/a/b/"},
      {"/../a", "/a"},
      {"../a/b/../c", "../a/c"},
      {"a/..", "."},
      {"", ""},
#ifdef _WIN32
      {"C:\\CB6\\\\bin\\make.exe", "C:\\CB6\\bin\\make.exe"},
      {"C:/work/ci/../proj/App.bpr", "C:/work/proj/App.bpr"},
      {"\\\\server\\share\\..\\x", "\\\\server\\x"},
      {"/work/main\\\\bin/x.exe", "/work/main\\bin/x.exe"},
#else
      {"//server/share/x", "//server/share/x"},
      {"a\\b", "a\\b"},
#endif
  };
  for (const auto& [path, expected] : cases)
    EXPECT_EQ(machinepath::Normalise(path), expected) << path;
}
