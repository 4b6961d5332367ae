#include "WineDrives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace mx::platform {
namespace {

namespace fs = std::filesystem;

class WineDrivesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!WindowsProgramsNeedWine()) GTEST_SKIP() << "Windows runs Windows programs itself";
    // A folder of its own: CTest runs each test as a process of its own, maybe at once.
    root_ = fs::weakly_canonical(fs::temp_directory_path()) /
            ("mx_wine_drives_" + std::to_string(std::random_device()()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "prefix/dosdevices");
    fs::create_directories(root_ / "prefix/drive_c/Program Files/Borland/CBuilder6/Bin");
    std::ofstream(root_ / "prefix/drive_c/Program Files/Borland/CBuilder6/Bin/make.exe") << "MZ";
    fs::create_directories(root_ / "data/src");
    fs::create_directory_symlink("../drive_c", root_ / "prefix/dosdevices/c:");
    fs::create_directory_symlink(root_ / "data", root_ / "prefix/dosdevices/d:");
    fs::create_directory_symlink("/", root_ / "prefix/dosdevices/z:");
    // Not drives: a serial port and a name that only looks like one.
    fs::create_symlink("/dev/null", root_ / "prefix/dosdevices/com1");
    fs::create_directory_symlink("/", root_ / "prefix/dosdevices/zz:");
    fs::create_directory_symlink(root_ / "prefix/drive_c", root_ / "alias");
  }
  void TearDown() override {
    if (!root_.empty()) fs::remove_all(root_);
  }
  std::string At(const std::string& relative) const { return (root_ / relative).string(); }

  fs::path root_;
};

TEST_F(WineDrivesTest, NamesAFileThroughTheClosestDrive) {
  const TWineDrives drives(At("prefix"));
  std::string unixRoot = root_.string().substr(1);
  std::replace(unixRoot.begin(), unixRoot.end(), '/', '\\');
  EXPECT_EQ(drives.ToWindows(At("data/src/Unit1.cpp")), "D:\\src\\Unit1.cpp");
  EXPECT_EQ(drives.ToWindows(At("data")), "D:\\");
  EXPECT_EQ(drives.ToWindows(At("prefix/drive_c/Program Files/x.exe")), "C:\\Program Files\\x.exe");
  // Dots and doubled separators go; a folder reached through a link finds its drive.
  EXPECT_EQ(drives.ToWindows(At("data/../prefix/drive_c//windows")), "C:\\windows");
  EXPECT_EQ(drives.ToWindows(At("alias/windows")), "C:\\windows");
  // Anything else is on the drive of the root.
  EXPECT_EQ(drives.ToWindows(At("elsewhere/a b.bpr")), "Z:\\" + unixRoot + "\\elsewhere\\a b.bpr");
  EXPECT_EQ(drives.ToWindows("/"), "Z:\\");
  // A "\" in a name of this machine is no separator there: the file has no Windows name.
  EXPECT_EQ(drives.ToWindows(At("odd\\name.cpp")), "");
  // A prefix without drives names nothing.
  EXPECT_EQ(TWineDrives(At("data")).ToWindows(At("data/src")), "");
}

TEST_F(WineDrivesTest, FindsTheFileAWindowsNameStandsFor) {
  const TWineDrives drives(At("prefix"));
  const std::string driveC = (fs::weakly_canonical(root_ / "prefix/drive_c")).string();
  // Letter case is the file system's where only case differs, as Wine finds files.
  EXPECT_EQ(drives.ToMachine("c:\\program files\\BORLAND\\CBuilder6\\bin\\make.exe"),
            driveC + "/Program Files/Borland/CBuilder6/Bin/make.exe");
  EXPECT_EQ(drives.ToMachine("C:/Program Files/./Borland/../Borland/New"),
            driveC + "/Program Files/Borland/New");
  // Never above the drive's own folder.
  EXPECT_EQ(drives.ToMachine("C:\\..\\..\\etc\\passwd"), driveC + "/etc/passwd");
  EXPECT_EQ(drives.ToMachine("C:"), driveC);
  EXPECT_EQ(drives.ToMachine("D:\\src\\Unit1.cpp"), At("data/src/Unit1.cpp"));
  EXPECT_EQ(drives.ToMachine("Z:\\"), "/");
  EXPECT_EQ(drives.ToMachine("z:\\usr\\bin"), "/usr/bin");
  for (const char* none : {"Q:\\x", "\\\\server\\share\\x", "CC:\\x", "C:x", "Unit1.cpp", ""})
    EXPECT_EQ(drives.ToMachine(none), "") << none;
  // As written, for names a tool's message makes up.
  EXPECT_EQ(drives.ToMachine("c:\\program files", TWineDrives::TSpelling::AsWritten),
            driveC + "/program files");
  // Both ways round.
  const std::string file = At("elsewhere/Unit1.cpp");
  EXPECT_EQ(drives.ToMachine(drives.ToWindows(file)), file);
}

TEST_F(WineDrivesTest, TellsWindowsNamesProgramsAndWinesOwnServices) {
  for (const char* name : {"C:\\x", "c:/x", "\\\\server\\share"})
    EXPECT_TRUE(IsWindowsName(name)) << name;
  for (const char* name : {"C:", "C:x", "/c:/x", "x\\y", "\\"})
    EXPECT_FALSE(IsWindowsName(name)) << name;
  EXPECT_TRUE(IsWineServiceProgram("/usr/lib/wine/wineserver64"));
  EXPECT_TRUE(IsWineServiceProgram("C:\\windows\\system32\\SERVICES.EXE"));
  EXPECT_FALSE(IsWineServiceProgram("C:\\Program Files\\Borland\\CBuilder6\\Bin\\make.exe"));
  EXPECT_FALSE(IsWineServiceProgram(""));

  EXPECT_TRUE(
      IsWindowsExecutable(At("prefix/drive_c/Program Files/Borland/CBuilder6/Bin/make.exe")));
  std::ofstream(root_ / "elf") << "\x7f"
                                  "ELF";
  std::ofstream(root_ / "short") << "M";
  EXPECT_FALSE(IsWindowsExecutable(At("elf")));
  EXPECT_FALSE(IsWindowsExecutable(At("short")));
  EXPECT_FALSE(IsWindowsExecutable(At("missing")));
  EXPECT_FALSE(IsWindowsExecutable(At("data")));
}

}  // namespace
}  // namespace mx::platform
