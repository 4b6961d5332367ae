#include "WholeFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Exception.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace mx::platform;
namespace fs = std::filesystem;

namespace {

class WholeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("mx_wholefile_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const char* name) const { return (dir_ / name).string(); }
  // Every file of the folder, so that a temporary file left behind shows.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

}  // namespace

TEST_F(WholeFileTest, WritesReadBackAndReplaceOnlyTheContent) {
  WriteWholeFile(Path("new.txt"), std::string("a\0b\r\n", 5));
  EXPECT_EQ(ReadWholeFile(Path("new.txt")), std::string("a\0b\r\n", 5));
  WriteWholeFile(Path("new.txt"), "");
  EXPECT_EQ(ReadWholeFile(Path("new.txt")), "");
  EXPECT_EQ(Files(), (std::vector<std::string>{"new.txt"}));
#ifndef _WIN32
  // The permissions stay; a link the user named stays a link and its target gets the content.
  fs::permissions(Path("new.txt"), fs::perms::owner_read | fs::perms::owner_write |
                                       fs::perms::group_read | fs::perms::others_exec);
  const auto perms = fs::status(Path("new.txt")).permissions();
  fs::create_symlink("new.txt", Path("link.txt"));
  WriteWholeFile(Path("link.txt"), "through the link", TLinkPolicy::lpFollow);
  EXPECT_TRUE(fs::is_symlink(Path("link.txt")));
  EXPECT_EQ(ReadWholeFile(Path("new.txt")), "through the link");
  EXPECT_EQ(fs::status(Path("new.txt")).permissions(), perms);
  EXPECT_EQ(Files(), (std::vector<std::string>{"link.txt", "new.txt"}));
#endif
}

#ifndef _WIN32
// A file written for a project never goes through a link: not to a file that exists, not to one
// that a dangling link would create, and a size limit on reads holds for endless devices.
TEST_F(WholeFileTest, ProjectFilesRefuseLinksAndReadsHaveALimit) {
  WriteWholeFile(Path("outside.txt"), "keep");
  fs::create_symlink(Path("outside.txt"), Path("mainicon.ico"));
  fs::create_symlink(Path("absent/.bash_aliases"), Path("AppManifest.xml"));
  for (const char* name : {"mainicon.ico", "AppManifest.xml"}) {
    try {
      WriteWholeFile(Path(name), "hostile");
      ADD_FAILURE() << name;
    } catch (const EFOpenError& e) {
      EXPECT_EQ(std::string(e.what()),
                "Cannot create file \"" + Path(name) + "\". " + kRefusedLinkReason);
    }
  }
  EXPECT_EQ(ReadWholeFile(Path("outside.txt")), "keep");
  EXPECT_FALSE(fs::exists(dir_ / "absent"));
  EXPECT_EQ(Files(), (std::vector<std::string>{"AppManifest.xml", "mainicon.ico", "outside.txt"}));

  EXPECT_EQ(ReadWholeFile(Path("outside.txt"), 4), "keep");
  EXPECT_THROW(ReadWholeFile(Path("outside.txt"), 3), EFOpenError);
  try {
    ReadWholeFile("/dev/zero", 1 << 20);
    ADD_FAILURE();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Reason(), TooLargeReason(1 << 20));
  }
  // A named pipe in a cloned folder would hold a read forever.
  ASSERT_EQ(::mkfifo(Path("pipe.bpg").c_str(), 0600), 0);
  try {
    ReadWholeFile(Path("pipe.bpg"));
    ADD_FAILURE();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Reason(), "It is a pipe, not a file");
  }
}
#endif

TEST_F(WholeFileTest, ErrorsNameTheFile) {
  const std::string missing = Path("missing.txt");
  try {
    ReadWholeFile(missing);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + missing + "\". ", 0), 0u);
    EXPECT_EQ(e.Path(), missing);
  }
  // A folder is not a file, whether it is read or written.
  EXPECT_THROW(ReadWholeFile(dir_.string()), EFOpenError);
  fs::create_directories(dir_ / "sub");
  EXPECT_THROW(WriteWholeFile(Path("sub"), "x"), EFOpenError);
  EXPECT_THROW(WriteWholeFile(Path("nofolder/x.txt"), "x"), EFOpenError);
  EXPECT_EQ(Files(), (std::vector<std::string>{"sub"}));
}

#ifndef _WIN32
// Writes `bytes` over `path` in a process whose files may not grow beyond 4 KB, as on a disk
// that fills up, and exits 0 when the write failed with an error naming the file.
[[noreturn]] void WriteUnderAFileSizeLimit(const std::string& path, const std::string& bytes) {
  ::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{4096, 4096};
  ::setrlimit(RLIMIT_FSIZE, &limit);
  try {
    WriteWholeFile(path, bytes);
  } catch (const EFOpenError& e) {
    ::_exit(std::string(e.what()).rfind("Cannot write file \"" + path + "\". ", 0) == 0 ? 0 : 2);
  }
  ::_exit(1);
}

// A disk that fills up while the file is written: the old content stays, nothing is left over.
TEST_F(WholeFileTest, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  WriteWholeFile(Path("script.mxs"), "the old content\n");
  const std::string big(64 * 1024, 'x');
  EXPECT_EXIT(WriteUnderAFileSizeLimit(Path("script.mxs"), big), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadWholeFile(Path("script.mxs")), "the old content\n");
  EXPECT_EQ(Files(), (std::vector<std::string>{"script.mxs"}));
}
#endif
