#pragma once
// The moxtal executable end to end: a fixture that runs it as a real process in a folder of the
// test's own, on small build scripts.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "platform/Environment.h"
#include "platform/ProcessRunner.h"
#include "tests/support/Corpus.h"

namespace mx::test {

using namespace mx::platform;

struct TResult {
  int Code;
  std::string Out;
  std::string Err;
};

// Console output on Windows ends its lines with CR LF; the tests compare the lines themselves.
std::string UnixLineEnds(std::string text) {
  std::erase(text, '\r');
  return text;
}

class MoxtalCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        std::filesystem::temp_directory_path() /
        ("mx_cli_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    // The registry is what each test names, never one the person running the tests set up.
    RemoveEnvironmentVariable("MOXTAL_REGISTRY");
#ifndef _WIN32
    RemoveEnvironmentVariable("WINEPREFIX");
#endif
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
  }

  TResult Moxtal(const std::string& parameters, const std::string& launcher = "") {
    TResult r{0, {}, {}};
    TProcessRequest request;
    request.Executable = launcher.empty() ? MX_MOXTAL_EXE : launcher;
    request.Parameters = parameters;
    request.WorkingDirectory = dir_.string();
    request.OnStdOut = [&r](std::string_view t) { r.Out += t; };
    request.OnStdErr = [&r](std::string_view t) { r.Err += t; };
    r.Code = RunProcess(request);
    r.Out = UnixLineEnds(std::move(r.Out));
    r.Err = UnixLineEnds(std::move(r.Err));
    return r;
  }

  std::string Path(const std::string& name) const {
    return (dir_ / name).string();
  }

  // A C++Builder 6 project App.bpr in `folder`, and "machine.reg" naming the stand-in
  // installation as C++Builder 6.
  void WriteBcb6Project(const std::filesystem::path& folder) const {
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "App.bpr", std::ios::binary)
        << "<?xml version='1.0' encoding='utf-8' ?>\n<PROJECT>\n<MACROS>\n"
           "<VERSION value=\"BCB.06.00\"/>\n<PROJECT value=\"App.exe\"/>\n</MACROS>\n</PROJECT>\n";
    std::string root = MX_STANDIN_ROOT;
    for (std::size_t at = root.find('\\'); at != std::string::npos; at = root.find('\\', at + 2))
      root.insert(at, 1, '\\');
    std::ofstream(Path("machine.reg"), std::ios::binary)
        << "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\C++Builder\\6.0]\n\"RootDir\"=\""
        << root << "\"\n";
  }
  // A registry file "name" in the test's folder that names the stand-in installation as each
  // version of `keys` ("C++Builder\\6.0", "BDS\\4.0"), and the stand-in .NET Framework 2.0.
  void WriteStandInRegistry(const char* name, std::initializer_list<const char*> keys,
                            const std::string& root = MX_STANDIN_ROOT) const {
    const auto escaped = [](std::string text) {
      for (std::size_t at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 2))
        text.insert(at, 1, '\\');
      return text;
    };
    std::ofstream out(Path(name), std::ios::binary);
    out << "REGEDIT4\n";
    for (const char* key : keys) {
      out << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\" << key << "]\n\"RootDir\"=\""
          << escaped(root) << "\"\n";
    }
    out << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\.NETFramework]\n\"InstallRoot\"=\""
        << escaped(MX_STANDIN_DOTNET) << "\"\n";
  }
  // make and bpr2mak of a C++Builder 6 in "cb", registered in "cb.reg", as Windows programs: a
  // DOS header whose PE header names `machine` (two bytes, low first).
  void WriteWindowsTools(const char* machine) const {
    std::filesystem::create_directories(Path("cb/bin"));
    std::string program(0x48, '\0');
    program[0] = 'M';
    program[1] = 'Z';
    program[0x3C] = 0x40;
    program.replace(0x40, 6, std::string("PE\0\0", 4) + std::string(machine, 2));
    for (const char* tool : {"make.exe", "bpr2mak.exe"})
      std::ofstream(Path(std::string("cb/bin/") + tool), std::ios::binary) << program;
    WriteStandInRegistry("cb.reg", {"C++Builder\\6.0"}, Path("cb"));
  }
  // A file of the corpus copied to `to` in the test's folder (folders made as needed); false
  // when the corpus is not there.
  bool CopyFromCorpus(const std::filesystem::path& from, const std::string& to) const {
    const auto source = mx::test::kCorpus / from;
    if (!std::filesystem::exists(source)) return false;
    std::filesystem::create_directories((dir_ / to).parent_path());
    std::filesystem::copy_file(source, dir_ / to,
                               std::filesystem::copy_options::overwrite_existing);
    // The corpus is read-only; the copy is the test's own (and must go when the test ends).
    std::filesystem::permissions(dir_ / to, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    return true;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  std::filesystem::path dir_;
};

}  // namespace mx::test
