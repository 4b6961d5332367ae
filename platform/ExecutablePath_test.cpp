#include <gtest/gtest.h>

#include <filesystem>

#include "ExecutablePath.h"
#include "FileNames.h"

using namespace mx::platform;

namespace {

TEST(ProgramFoldersTest, TakesTheInstalledLayoutOnlyWhereTheCoreWasLoadedFromIt) {
  const auto root = std::filesystem::temp_directory_path() / "mx programs";
  const std::string prefix = (root / "prefix").string();
  const std::string bin = machinepath::Join(prefix, "bin");
  const std::string lib = machinepath::Join(machinepath::Join(prefix, "lib"), "moxtal");
  const std::string share = machinepath::Join(machinepath::Join(prefix, "share"), "moxtal");
  const std::string elsewhere = (root / "other" / "lib" / "moxtal").string();

  struct TCase {
    std::string Core;     // where the core library was loaded from
    std::string Modules;  // what is taken for the modules
    std::string Data;
  };
  const TCase cases[] = {
      {bin, bin, bin},    // the build tree, and the Windows zip: all beside it
      {lib, lib, share},  // an installation: the core where the run path points
      {machinepath::Join(machinepath::Join(machinepath::Join(prefix, "lib"), "x86_64-linux-gnu"),
                         "moxtal"),
       machinepath::Join(machinepath::Join(machinepath::Join(prefix, "lib"), "x86_64-linux-gnu"),
                         "moxtal"),
       share},                // a multiarch library folder
      {elsewhere, bin, bin},  // a core from another prefix says nothing of this one
      {(root / "prefix" / "lib" / "other").string(), bin, bin},  // not a moxtal folder
  };
  for (const auto& c : cases) {
    const auto folders = ProgramFoldersFor(bin, c.Core);
    EXPECT_EQ(folders.Executable, bin) << c.Core;
    EXPECT_EQ(folders.Modules, c.Modules) << c.Core;
    EXPECT_EQ(folders.Data, c.Data) << c.Core;
  }
  // An executable that is not in a bin folder has nothing installed around it.
  EXPECT_EQ(ProgramFoldersFor(machinepath::Join(prefix, "tools"), lib).Modules,
            machinepath::Join(prefix, "tools"));

  // The running test program knows where it is, and its code is its own.
  EXPECT_TRUE(machinepath::FileExists(
      machinepath::Join(ExecutableFolder(), machinepath::ExtractFileName(MX_TEST_EXE))));
  EXPECT_EQ(CoreModuleFolder(), ExecutableFolder());
  EXPECT_EQ(ProgramFolders().Modules, ExecutableFolder());
}

}  // namespace
