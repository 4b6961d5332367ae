// Recognising tool diagnostics in transcripts written in each tool's documented format.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "moxtal/api/ToolFiles.h"
#include "moxtal/engine/Host.h"
#include "package/actionbase/ToolDiagnostics.h"

using namespace mx;
using namespace mx::bcc;

namespace {

// "tool severity code file|relative line:column message", or "-" for no diagnostic.
std::string Describe(const TDiagnostics& found) {
  if (found.empty()) return "-";
  const TDiagnostic& d = found.front();
  const std::string severity = EnumInfoOf(d.Severity).Name(static_cast<int>(d.Severity));
  return d.Tool + " " + severity + " " + (d.Code.empty() ? "." : d.Code) + " " + d.File + "|" +
         d.RelativeFile + " " + std::to_string(d.Line) + ":" + std::to_string(d.Column) + " " +
         d.Message;
}

using TTranscript = std::vector<std::pair<std::string, std::string>>;

// Feeds a make run's lines to one recogniser, as the build does, and checks what each gives.
void ExpectTranscript(const TTranscript& transcript) {
  TToolDiagnostics recogniser("make", "/work/app", "/work/app");
  for (const auto& [line, expected] : transcript)
    EXPECT_EQ(Describe(recogniser.Recognise(line)), expected) << line;
}

// Each tool's format, as a make run as C++Builder writes it: make echoes each command, the tool
// answers.
TEST(ToolDiagnosticsTest, MakeTranscript) {
  ExpectTranscript({
      {"MAKE Version 5.2  Copyright (c) 1987, 2000 Borland", "-"},
      {"Fatal: 'Unit4.cpp' does not exist - don't know how to make it",
       "make dsError . | 0:0 'Unit4.cpp' does not exist - don't know how to make it"},
      {"** error 1 ** deleting App.exe", "make dsError . | 0:0 error 1 ** deleting App.exe"},
  });
}

TEST(ToolDiagnosticsTest, CompilerTranscript) {
  ExpectTranscript({
      {"        bcc32 -c -O2 -w-par -tWM src\\Unit1.cpp", "-"},
      {"Borland C++ 5.6.4 for Win32 Copyright (c) 1993, 2002 Borland", "-"},
      {"src\\Unit1.cpp:", "-"},
      {"Error E2451 src\\Unit1.cpp 12: Undefined symbol 'x' in function "
       "TForm1::Button1Click(TObject *)",
       "bcc32 dsError E2451 src\\Unit1.cpp|src/Unit1.cpp 12:0 Undefined symbol 'x' in function "
       "TForm1::Button1Click(TObject *)"},
      {"Warning W8004 src\\Unit1.cpp 20: 'i' is assigned a value that is never used in function "
       "std::vector<int>::operator[](unsigned int)",
       "bcc32 dsWarning W8004 src\\Unit1.cpp|src/Unit1.cpp 20:0 'i' is assigned a value that is "
       "never used in function std::vector<int>::operator[](unsigned int)"},
      {"Error E2209 C:\\Program Files\\Borland\\CBuilder6\\Include\\Vcl\\sysmac.h 3: Unable to "
       "open include file 'x.h'",
       "bcc32 dsError E2209 C:\\Program Files\\Borland\\CBuilder6\\Include\\Vcl\\sysmac.h| 3:0 "
       "Unable to open include file 'x.h'"},
      {"Fatal F1003 ..\\shared\\common.h 8: Error directive: unsupported",
       "bcc32 dsError F1003 ..\\shared\\common.h| 8:0 Error directive: unsupported"},
      {"*** 2 errors in Compile ***", "-"},
  });
}

TEST(ToolDiagnosticsTest, LinkerAndLibrarianTranscript) {
  ExpectTranscript({
      {"        ilink32 -aa -Tpe -x -Gn c0w32.obj Unit1.obj, App.exe,,vcl.lib", "-"},
      {"Turbo Incremental Link 5.69 Copyright (c) 1997-2005 Borland", "-"},
      {"Fatal: Unable to open file 'MISSING.OBJ'",
       "ilink32 dsError . | 0:0 Unable to open file 'MISSING.OBJ'"},
      {"Error: Unresolved external 'Foo()' referenced from C:\\WORK\\APP\\OBJ\\UNIT1.OBJ",
       "ilink32 dsError . C:\\WORK\\APP\\OBJ\\UNIT1.OBJ| 0:0 Unresolved external 'Foo()' "
       "referenced from C:\\WORK\\APP\\OBJ\\UNIT1.OBJ"},
      {"Warning: Public symbol '_x' defined in both module A.OBJ and B.OBJ",
       "ilink32 dsWarning . | 0:0 Public symbol '_x' defined in both module A.OBJ and B.OBJ"},
      {"        tlib App.lib /P64 +Unit1.obj", "-"},
      {"Warning: 'unit9' not found in library",
       "tlib dsWarning . | 0:0 'unit9' not found in library"},
  });
}

TEST(ToolDiagnosticsTest, ResourceCompilerTranscript) {
  ExpectTranscript({
      {"        brcc32 -fo App.res App.rc", "-"},
      {"Error App.rc 12 11: Expecting resource name or resource type name",
       "brcc32 dsError . App.rc|App.rc 12:11 Expecting resource name or resource type name"},
  });
}

TEST(ToolDiagnosticsTest, PascalAndAssemblerTranscript) {
  ExpectTranscript({
      {"        \"C:\\Program Files\\Borland\\Delphi7\\Bin\\dcc32.exe\" -Q Unit2.pas", "-"},
      {"Unit2.pas(30) Error: Undeclared identifier: 'Foo'",
       "dcc32 dsError . Unit2.pas|Unit2.pas 30:0 Undeclared identifier: 'Foo'"},
      {"Unit2.pas(31) Hint: Value assigned to 'y' never used",
       "dcc32 dsNote . Unit2.pas|Unit2.pas 31:0 Value assigned to 'y' never used"},
      {"Unit3.pas(7): W1036 Variable 'z' might not have been initialized",
       "dcc32 dsWarning W1036 Unit3.pas|Unit3.pas 7:0 Variable 'z' might not have been "
       "initialized"},
      {"Unit3.pas(9): H2164 Variable 'q' is declared but never used",
       "dcc32 dsNote H2164 Unit3.pas|Unit3.pas 9:0 Variable 'q' is declared but never used"},
      {"Unit3.pas(11): E2003 Undeclared identifier: 'Bar'",
       "dcc32 dsError E2003 Unit3.pas|Unit3.pas 11:0 Undeclared identifier: 'Bar'"},
      {"Unit4.pas(1) Fatal: File not found: 'Missing.dcu'",
       "dcc32 dsError . Unit4.pas|Unit4.pas 1:0 File not found: 'Missing.dcu'"},
      {"Unit4.pas(2): F2613 Unit 'Gone' not found.",
       "dcc32 dsError F2613 Unit4.pas|Unit4.pas 2:0 Unit 'Gone' not found."},
      {"Unit4.pas(3) Info: Compiling Unit4",
       "dcc32 dsNote . Unit4.pas|Unit4.pas 3:0 Compiling Unit4"},
      {"**Error** fast.asm(14) Undefined symbol: LOOP2",
       "tasm32 dsError . fast.asm|fast.asm 14:0 Undefined symbol: LOOP2"},
      {"*Warning* fast.asm(20) Argument needs type override",
       "tasm32 dsWarning . fast.asm|fast.asm 20:0 Argument needs type override"},
      {"**Fatal** fast.asm(1) Can't locate file: macros.inc",
       "tasm32 dsError . fast.asm|fast.asm 1:0 Can't locate file: macros.inc"},
  });
}

TEST(ToolDiagnosticsTest, MSBuildCanonicalMessages) {
  TToolDiagnostics recogniser("msbuild", "C:\\Work\\App", "C:\\Work\\App");
  const std::vector<std::pair<std::string, std::string>> transcript = {
      {"Build started 12/6/2026 10:00:00 AM.", "-"},
      {"Unit1.cpp(12,3): error E2451: Undefined symbol 'x' in function f(int) "
       "[C:\\Work\\App\\App.cbproj]",
       "bcc32 dsError E2451 Unit1.cpp|Unit1.cpp 12:3 Undefined symbol 'x' in function f(int)"},
      {"C:\\Program Files (x86)\\CodeGear\\RAD Studio\\5.0\\include\\vcl\\sysmac.h(20): warning "
       "W8022: 'f' hides virtual function",
       "bcc32 dsWarning W8022 C:\\Program Files (x86)\\CodeGear\\RAD "
       "Studio\\5.0\\include\\vcl\\sysmac.h| 20:0 'f' hides virtual function"},
      {"C:\\Work\\App\\src\\Form.cpp(5): warning W8057: Parameter 'Sender' is never used",
       "bcc32 dsWarning W8057 C:\\Work\\App\\src\\Form.cpp|src/Form.cpp 5:0 Parameter 'Sender' "
       "is never used"},
      {"Unit2.pas(8): hint warning H2077: Value assigned to 'y' never used",
       "dcc32 dsNote H2077 Unit2.pas|Unit2.pas 8:0 Value assigned to 'y' never used"},
      {"Unit1.cpp(1): fatal error F1003: Error directive: unsupported",
       "bcc32 dsError F1003 Unit1.cpp|Unit1.cpp 1:0 Error directive: unsupported"},
      {"MSBUILD : error MSB1009: Project file does not exist.",
       "msbuild dsError MSB1009 | 0:0 Project file does not exist."},
      {"C:\\Program Files\\MSBuild\\CodeGear.Cpp.Targets(1234,5): error MSB3073: The command "
       "\"ilink32 ...\" exited with code 2.",
       "msbuild dsError MSB3073 C:\\Program Files\\MSBuild\\CodeGear.Cpp.Targets| 1234:5 The "
       "command \"ilink32 ...\" exited with code 2."},
      {"App.cbproj : warning : No configuration named Debug2",
       "msbuild dsWarning . App.cbproj|App.cbproj 0:0 No configuration named Debug2"},
      {"    0 Warning(s)", "-"},
      {"    2 Error(s)", "-"},
      {"Time Elapsed 00:00:03.42", "-"},
  };
  for (const auto& [line, expected] : transcript)
    EXPECT_EQ(Describe(recogniser.Recognise(line)), expected) << line;
}

TEST(ToolDiagnosticsTest, LinesThatOnlyLookLikeDiagnostics) {
  TToolDiagnostics recogniser("make", "/p", "/p");
  for (const char* line : {
           "Errors: none",
           "Warnings: 0",
           "Error",
           "Error ",
           "Warning W8004",
           "Error E2451 no number: here",
           "Note : To build all configs, leave Config field blank.",
           "bcc32 -c -O2 -w-par src\\unit000001.cpp: compiled, 0 warnings",
           "Checking dependencies (errors: 0)",
           "ERROR_SUCCESS: the operation completed",
           "warning: this is only prose",
           "Compiling (stage 2): done",
           "",
           "   ",
       }) {
    EXPECT_EQ(Describe(recogniser.Recognise(line)), "-") << line;
  }
  // An endless line is not looked at.
  EXPECT_EQ(Describe(recogniser.Recognise("Error E2451 a.cpp 1: " + std::string(100000, 'x'))),
            "-");
}

// Numbers too long for a line or a column are dropped and the message keeps its file; nothing is
// invented. A resource script is known by its extension even when make, not the resource
// compiler, is the tool at work.
TEST(ToolDiagnosticsTest, NumbersThatDoNotFitAreDroppedAndResourceScriptsKnown) {
  TToolDiagnostics recogniser("make", "/p", "/p");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Error E2451 Unit1.cpp 1234567890: Undefined symbol 'x'",
       "bcc32 dsError E2451 Unit1.cpp|Unit1.cpp 0:0 Undefined symbol 'x'"},
      {"Error E2451 Unit1.cpp 12345678901234: Undefined symbol 'x'",
       "bcc32 dsError E2451 Unit1.cpp|Unit1.cpp 0:0 Undefined symbol 'x'"},
      {"Unit2.pas(99999999999) Error: Undeclared identifier: 'Foo'",
       "dcc32 dsError . Unit2.pas|Unit2.pas 0:0 Undeclared identifier: 'Foo'"},
      {"a.cpp(12,99999999999): error E2451: Undefined symbol 'x'",
       "bcc32 dsError E2451 a.cpp|a.cpp 12:0 Undefined symbol 'x'"},
      {"Error app.rc 12 11: Expecting resource name",
       "brcc32 dsError . app.rc|app.rc 12:11 Expecting resource name"},
  };
  for (const auto& [line, expected] : cases)
    EXPECT_EQ(Describe(recogniser.Recognise(line)), expected) << line;
}

TEST(ToolDiagnosticsTest, FilesAreGivenRelativeToTheProjectFolder) {
  TToolDiagnostics recogniser("make", "/work/app/build", "/work/app");
  const auto relative = [&](const std::string& file) {
    const auto found = recogniser.Recognise("Error E2451 " + file + " 1: x");
    return found.empty() ? std::string("-") : found.front().RelativeFile;
  };
  EXPECT_EQ(relative("..\\src\\Unit1.cpp"), "src/Unit1.cpp");
  EXPECT_EQ(relative("Unit1.cpp"), "build/Unit1.cpp");
  EXPECT_EQ(relative("/work/app/src/a.cpp"), "src/a.cpp");
  EXPECT_EQ(relative("/WORK/APP/src/a.cpp"), "src/a.cpp");
  EXPECT_EQ(relative("..\\..\\lib\\b.cpp"), "");
  EXPECT_EQ(relative("/work/application/c.cpp"), "");
  const auto found = recogniser.Recognise("Warning W8004 ..\\a b\\Unit 2.cpp 7: x");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].File, "..\\a b\\Unit 2.cpp");
  EXPECT_EQ(found[0].RelativeFile, "a b/Unit 2.cpp");
  EXPECT_EQ(found[0].ProjectFolder, "/work/app");
  EXPECT_EQ(found[0].LogLine, "Warning W8004 ..\\a b\\Unit 2.cpp 7: x");
}

#ifndef _WIN32
// A tool run through Wine names files by their Windows names: they are the project's files all
// the same, also where the drive's folder is reached through a link ("/home" to "/var/home");
// its command line refuses a file that no Windows name can say.
TEST(ToolDiagnosticsTest, WindowsNamesOfAToolUnderWineAreTheProjectsFiles) {
  namespace fs = std::filesystem;
  const fs::path root = fs::weakly_canonical(fs::temp_directory_path()) /
                        ("mx_wine_names_" + std::to_string(std::random_device()()));
  fs::create_directories(root / "prefix/dosdevices");
  fs::create_directories(root / "var/home/App");
  fs::create_directory_symlink(root / "var/home", root / "home");
  fs::create_directory_symlink(root / "home", root / "prefix/dosdevices/h:");
  fs::create_directory_symlink("/", root / "prefix/dosdevices/z:");
  engine::THost::Instance().SetWine("", (root / "prefix").string());
  const TToolFiles files =
      TToolFiles::For("C:\\CBuilder6\\Bin\\make.exe", engine::THost::Instance().ToolSetup());
  EXPECT_TRUE(files.ThroughWine());
  const std::string project = (root / "home/App").string();
  TToolDiagnostics recogniser("make", project, project, files);
  const auto names = [&](const std::string& file) {
    const auto found = recogniser.Recognise("Error E2451 " + file + " 1: x");
    return found.empty() ? std::string("-") : found.front().File + "|" + found.front().RelativeFile;
  };
  std::string onZ = "Z:" + project + "/Unit2.cpp";
  std::replace(onZ.begin(), onZ.end(), '/', '\\');
  EXPECT_EQ(names("H:\\App\\Unit1.cpp"), (root / "var/home/App/Unit1.cpp").string() + "|Unit1.cpp");
  EXPECT_EQ(names(onZ), project + "/Unit2.cpp|Unit2.cpp");
  EXPECT_EQ(names("\\\\?\\" + onZ), project + "/Unit2.cpp|Unit2.cpp");  // the long form
  EXPECT_EQ(names("src\\Unit3.cpp"), "src\\Unit3.cpp|src/Unit3.cpp");
  EXPECT_EQ(names("H:\\Other\\Unit4.cpp"), (root / "var/home/Other/Unit4.cpp").string() + "|");
  // Spelt as written: a name in a message is not looked for on the disk.
  EXPECT_EQ(names("h:\\APP\\unit5.cpp"), (root / "var/home/APP/unit5.cpp").string() + "|unit5.cpp");

  EXPECT_EQ(files.ToTool(project + "/MxTemp.MAK"), "H:\\App\\MxTemp.MAK");
  EXPECT_THROW(files.ToTool(project + "/odd\\name.bpr"), Exception);
  EXPECT_EQ(TToolFiles::Join("C:\\Tools", "make.exe"), "C:\\Tools\\make.exe");
  EXPECT_EQ(TToolFiles::Join("/opt/tools", "make.exe"), "/opt/tools/make.exe");
  engine::THost::Instance().SetWine("", "");
  fs::remove_all(root);
}
#endif

}  // namespace
