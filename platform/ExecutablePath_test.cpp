#include <gtest/gtest.h>

#include <filesystem>

#include "ExecutablePath.h"
#include "FileNames.h"

using namespace mx::platform;

namespace {

TEST(ProgramFoldersTest, FindsTheInstalledLayoutAndOtherwiseEverythingBesideTheExecutable) {
  const auto root = std::filesystem::temp_directory_path() / "mx programs";
  std::filesystem::remove_all(root);
  const std::string bin = (root / "prefix" / "bin").string();
  std::filesystem::create_directories(bin);

  // The build tree: no lib/moxtal or share/moxtal beside bin.
  auto folders = ProgramFoldersFor(bin);
  EXPECT_EQ(folders.Executable, bin);
  EXPECT_EQ(folders.Modules, bin);
  EXPECT_EQ(folders.Data, bin);

  // An installation: each folder is taken when it exists.
  std::filesystem::create_directories(root / "prefix" / "lib" / "moxtal");
  folders = ProgramFoldersFor(bin);
  EXPECT_EQ(folders.Modules, (root / "prefix" / "lib" / "moxtal").string());
  EXPECT_EQ(folders.Data, bin);
  std::filesystem::create_directories(root / "prefix" / "share" / "moxtal");
  EXPECT_EQ(ProgramFoldersFor(bin).Data, (root / "prefix" / "share" / "moxtal").string());

  // The running test program knows where it is.
  EXPECT_TRUE(machinepath::FileExists(
      machinepath::Join(ExecutableFolder(), machinepath::ExtractFileName(MX_TEST_EXE))));
  std::filesystem::remove_all(root);
}

}  // namespace
