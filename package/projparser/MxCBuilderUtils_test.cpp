#include "package/projparser/MxCBuilderUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "moxtal/engine/Host.h"
#include "package/action/MxCBuilderAction.h"
#include "package/projparser/MxCBuilder56ProjParser.h"
#include "platform/XmlDocument.h"
#include "tests/support/Corpus.h"

using namespace mx;
using namespace mx::bcc;
using platform::TStringList;

using mx::test::kCorpus;

namespace {

std::string Project(const std::string& version, const std::string& output,
                    const std::string& extra = "") {
  return "<?xml version='1.0' encoding='utf-8' ?>\r\n<!-- C++Builder XML Project "
         "-->\r\n<PROJECT>\r\n  <MACROS>\r\n"
         "    <VERSION value=\"" +
         version + "\"/>\r\n    <PROJECT value=\"" + output + "\"/>\r\n" + extra +
         "    <LIBPATH value=\"$(BCB)\\lib\\;&quot;C:\\My Lib\\&quot;;src\"/>\r\n"
         "    <INCLUDEPATH value=\"$(BCB)\\include;C:\\obj_debug\\\"/>\r\n"
         "  </MACROS>\r\n  <OPTIONS>\r\n    <CFLAG1 value=\"-Od -v -c \r\n      -tW\"/>\r\n  "
         "</OPTIONS>\r\n"
         "  <IDEOPTIONS>\r\n[Version Info]\r\nIncludeVerInfo=1\r\n  "
         "</IDEOPTIONS>\r\n</PROJECT>\r\n";
}

class ParserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::THost::Instance().SetHostFolder(MX_BIN_DIR);
    dir_ = std::filesystem::temp_directory_path() /
           ("mx_parser_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Write(const char* name, const std::string& text) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  std::shared_ptr<ICBuilderProjectParser> Create(const std::string& path) {
    return CBuilderProjectParserFactory(MxDesignApplicationServices())
        ->CreateProjectParser(path, nullptr, AllParserOptions());
  }

  std::string CreateError(const std::string& path) {
    try {
      Create(path);
    } catch (const EMxCBuilderInvalidProjectFileException& e) {
      return e.what();
    }
    return "(accepted)";
  }

  std::filesystem::path dir_;
};

// Records which families the fixed orders call.
class TRecordingParser : public TMxCBuilder56ProjectParser {
 public:
  using TMxCBuilder56ProjectParser::TMxCBuilder56ProjectParser;
  std::vector<std::string> Calls;
  void ParseCompilerOptions() override { Calls.push_back("Compiler"); }
  void ParseLinkerOptions() override { Calls.push_back("Linker"); }
  void ParseAdvLinkerOptions() override { Calls.push_back("AdvLinker"); }
  void ParseTLibOptions() override { Calls.push_back("TLib"); }
  void ParseVersionInfo() override { Calls.push_back("VersionInfo"); }
  void ParseDirectoryOptions() override { Calls.push_back("Directories"); }
  void ParsePackageOptions() override { Calls.push_back("Packages"); }
  void ApplyDirectorySettings(const ICBuilderProjectSettings&) override {
    Calls.push_back("Directories");
  }
  void ApplyCompilerSettings(const ICBuilderProjectSettings&) override {
    Calls.push_back("Compiler");
  }
  void ApplyLinkerSettings(const ICBuilderProjectSettings&) override { Calls.push_back("Linker"); }
  void ApplyAdvLinkerSettings(const ICBuilderProjectSettings&) override {
    Calls.push_back("AdvLinker");
  }
  void ApplyTLibSettings(const ICBuilderProjectSettings&) override { Calls.push_back("TLib"); }
  void ApplyCPPSettings(const ICBuilderProjectSettings&) override { Calls.push_back("CPP"); }
  void ApplyCodeGuardSettings(const ICBuilderProjectSettings&) override {
    Calls.push_back("CodeGuard");
  }
  void ApplyPackageSettings(const ICBuilderProjectSettings&) override {
    Calls.push_back("Packages");
  }
};

}  // namespace

TEST_F(ParserTest, FactoryRecognisesVersionsWithExactMessages) {
  EXPECT_EQ(Create(Write("six.bpr", Project("BCB.06.00", "Demo.exe")))->GetCBuilderVersion(),
            TCBuilderVersion::cvBCB6);
  EXPECT_EQ(Create(Write("five.bpr", Project("BCB.05.03", "Demo.exe")))->GetCBuilderVersion(),
            TCBuilderVersion::cvBCB5);
  EXPECT_EQ(CreateError(Write("seven.bpr", Project("BCB.07.00", "Demo.exe"))),
            "Invalid Project File or BCB version\r\n");
  EXPECT_EQ(CreateError(Write("three.bpr", "VERSION = BCB.03\r\nPROJECT = x.exe\r\n")),
            "BCB3 is not currently supported, it may be supported in a future version");
  EXPECT_EQ(CreateError(Write("four.bpr", "VERSION = BCB.04.04\r\n")),
            "BCB4 is not currently supported, it may be supported in a future version");
  EXPECT_EQ(CreateError(Write("text.bpr", "just some text\r\n")),
            "Invalid Project File or BCB version\r\n");
  const std::string missing = (dir_ / "missing.bpr").string();
  EXPECT_EQ(CreateError(missing), "File : " + missing + " - does not exist!");
  const std::string broken = CreateError(
      Write("broken.bpr", "<?xml version='1.0'?>\r\n<PROJECT>\r\n<MACROS>\r\n</PROJECT>\r\n"));
  EXPECT_EQ(broken.rfind("Invalid Project File or BCB version\r\n", 0), 0u) << broken;
  EXPECT_NE(broken.find("\r\n</PROJECT>\r\nLine : 4"), std::string::npos) << broken;

  // The factory expands the file name; with an action, through the action.
  engine::THost::Instance().CommandLineVariables().Set("MX_PARSER_DIR", dir_.string());
  EXPECT_TRUE(Create("%MX_PARSER_DIR%/six.bpr"));
  engine::THost::Instance().CommandLineVariables().Remove("MX_PARSER_DIR");
}

TEST_F(ParserTest, ProjectTypeAndOutputPathComeFromTheProjectMacro) {
  const std::pair<std::string, TCBuilderProjectType> cases[] = {
      {"..\\bin\\Demo.exe", TCBuilderProjectType::ptExe},
      {"Pkg.bpl", TCBuilderProjectType::ptBPL},
      {"&quot;C:\\Out\\Lib.LIB&quot;", TCBuilderProjectType::ptLIB},
      {"x.dll", TCBuilderProjectType::ptDLL},
      {"odd.ocx", TCBuilderProjectType::ptExe}};
  for (const auto& [output, type] : cases) {
    auto parser = Create(Write("p.bpr", Project("BCB.06.00", output)));
    parser->ParseProjectFile();
    EXPECT_EQ(parser->GetProjectType(), type) << output;
  }
  auto parser = Create(Write("p.bpr", Project("BCB.06.00", "..\\bin\\Demo.exe")));
  parser->ParseProjectFile();
  EXPECT_EQ(parser->GetFinalOutputPath(), "..\\bin\\");
}

TEST_F(ParserTest, FamiliesRunInTheirFixedOrdersAndTheLibrarianReplacesTheLinker) {
  const auto run = [&](const std::string& output, TMxCBuilderAction& action) {
    TRecordingParser parser(MxDesignApplicationServices(),
                            Write("o.bpr", Project("BCB.06.00", output)), TCBuilderVersion::cvBCB6,
                            AllParserOptions());
    parser.ParseProjectFile();
    std::vector<std::string> parsed = parser.Calls;
    parser.Calls.clear();
    parser.ApplyChanges(action, false);
    return std::make_pair(parsed, parser.Calls);
  };
  TMxCBuilderAction action;
  action.SetUsesFamily(TSettingsFamily::sfTLib, true);
  auto [parsed, applied] = run("App.exe", action);
  EXPECT_EQ(parsed,
            (std::vector<std::string>{"Directories", "VersionInfo", "Compiler", "Linker",
                                      "AdvLinker", "VersionInfo", "Packages", "Directories"}));
  EXPECT_EQ(applied, (std::vector<std::string>{"Directories", "Compiler", "Linker", "AdvLinker",
                                               "CPP", "Packages", "CodeGuard"}));
  std::tie(parsed, applied) = run("Code.lib", action);
  EXPECT_EQ(parsed, (std::vector<std::string>{"Directories", "VersionInfo", "Compiler", "TLib",
                                              "VersionInfo", "Packages", "Directories"}));
  EXPECT_EQ(applied, (std::vector<std::string>{"Directories", "Compiler", "TLib", "CPP", "Packages",
                                               "CodeGuard"}));

  action.SetUsesFamily(TSettingsFamily::sfCompiler, false);
  action.SetUsesFamily(TSettingsFamily::sfDirectory, false);
  std::tie(parsed, applied) = run("App.exe", action);
  EXPECT_EQ(applied,
            (std::vector<std::string>{"Linker", "AdvLinker", "CPP", "Packages", "CodeGuard"}));

  auto parser = Create(Write("x.bpr", Project("BCB.06.00", "App.exe")));
  class TOther : public TMxAction {
   public:
    std::string GetActionName() const override { return "Other"; }
    bool Execute() override { return true; }
  } other;
  EXPECT_THROW(parser->ApplyChanges(other, false), platform::EInvalidCast);
}

TEST_F(ParserTest, SaveKeepsWhatNoFamilyTouchedAndPreProcessFixesPaths) {
  const std::string path = Write("keep.bpr", Project("BCB.06.00", "App.exe"));
  auto parser = std::dynamic_pointer_cast<TMxCBuilder56ProjectParser>(Create(path));
  ASSERT_TRUE(parser);
  parser->SaveToFile((dir_ / "same.bpr").string());
  const auto before = platform::TXmlDocument::LoadFromFile(path);
  const auto after = platform::TXmlDocument::LoadFromFile((dir_ / "same.bpr").string());
  for (const char* element :
       {"/PROJECT/MACROS/LIBPATH", "/PROJECT/OPTIONS/CFLAG1", "/PROJECT/MACROS/VERSION"}) {
    EXPECT_EQ(after.SelectSingleNode(element).Attribute("value"),
              before.SelectSingleNode(element).Attribute("value"));
  }
  EXPECT_EQ(after.SelectSingleNode("/PROJECT/IDEOPTIONS").FirstTextChild().Data(),
            before.SelectSingleNode("/PROJECT/IDEOPTIONS").FirstTextChild().Data());

  parser->PreProcessProjectFile();
  EXPECT_EQ(parser->ElementValue("/PROJECT/MACROS/LIBPATH"), "$(BCB)\\lib;\"C:\\My Lib\";src");
  EXPECT_EQ(parser->ElementValue("/PROJECT/MACROS/INCLUDEPATH"),
            "$(BCB)\\include;\"C:\\obj_debug\"");
}

TEST(TokenListTest, ParseAttributesRemoveOptionAndBuildList) {
  using P = TMxCBuilder56ProjectParser;
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"", {}},
      {"-a  -b", {"-a", "-b"}},
      {"-I\"C:\\My Dir\" -v", {"-I\"C:\\My Dir\"", "-v"}},
      {"\"quoted\"x -y", {"\"quoted\"", "-y"}},  // the letter after the closing quote is lost
      {"-D\"\" -aa", {"-D\"\"", "-aa"}},
      {"-open\"never closed", {"-open\"never closed"}},
  };
  for (const auto& [text, tokens] : cases) {
    TStringList list;
    list.SetCaseSensitive(true);
    P::ParseAttributes(text, list);
    EXPECT_EQ(list.Lines(), tokens) << text;
  }

  TStringList list("-v\n-V\n-v\n-Gz\n-GCcomment\n");
  list.SetCaseSensitive(true);
  P::RemoveOption(list, "-V", true);
  EXPECT_EQ(list.Lines(),
            (std::vector<std::string>{"-v", "-v", "-Gz", "-GCcomment"}));  // only the first, exact
  P::RemoveOption(list, "-gc", 3, false);
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"-v", "-v", "-Gz"}));
  EXPECT_TRUE(list.CaseSensitive());  // restored after the look-up
  P::RemoveOption(list, "-x", true);
  EXPECT_EQ(list.Count(), 3);

  TStringList built;
  P::BuildList("vcl.bpi; rtl.bpi ;  db.bpi", built, ";", 4);
  // The rest after a separator is trimmed, the piece before it is not: "rtl.bpi " loses "bpi ".
  EXPECT_EQ(built.Lines(), (std::vector<std::string>{"vcl", "rtl.", "db"}));
  TStringList spaced;
  P::BuildList("a b  c ", spaced, " ", 0);
  EXPECT_EQ(spaced.Lines(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(WarningFunctionsTest, InternalFormatBothWays) {
  EXPECT_EQ(InternalFormatToWarning("-wpar=1"), "-wpar");
  EXPECT_EQ(InternalFormatToWarning("-wpar=0"), "-w-par");
  EXPECT_EQ(WarningToInternalFormat("-w-aus"), "-waus=0");
  EXPECT_EQ(WarningToInternalFormat("-waus"), "-waus=1");
  EXPECT_EQ(NormaliseWarning("-w-par"), "-wpar");
  EXPECT_EQ(NormaliseWarning("-w"), "-w");
  EXPECT_TRUE(IsWarning("/wxxx"));
  EXPECT_FALSE(IsWarning("-W"));
  EXPECT_TRUE(IsOptimisation("-O2"));
  EXPECT_FALSE(IsOptimisation("-o2"));
  for (const char* bad : {"-wpar", ""}) {
    try {
      InternalFormatToWarning(bad);
      ADD_FAILURE() << bad;
    } catch (const Exception& e) {
      EXPECT_STREQ(e.what(), "Invalid string format passed to InternalFormatToWarning");
    }
  }
}

// A catalogue that cannot be read, or has a line it cannot mean, is an error that says where; it
// must not quietly drop the project's warnings.
TEST_F(ParserTest, BrokenWarningCataloguesSayWhatIsWrong) {
  engine::THost::Instance().SetHostFolder(dir_.string());
  const std::string catalogue = (dir_ / "BCBCompilerWarnings.txt").string();
  std::filesystem::create_directories(catalogue);
  EXPECT_THROW(LoadKnownWarnings("BCBCompilerWarnings.txt"), platform::EFOpenError);
  std::filesystem::remove(catalogue);
  Write("BCBCompilerWarnings.txt", "-wpar=Parameter never used\r\n\r\nwaus is never used\r\n");
  try {
    LoadKnownWarnings("BCBCompilerWarnings.txt");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()),
              catalogue + ":3: not a line \"-switch=description\": waus is never used");
  }
  engine::THost::Instance().SetHostFolder(MX_BIN_DIR);
}

TEST(PathFixupTest, BackslashesQuotesAndEmptyPieces) {
  EXPECT_EQ(FixupLibPathBackSlash("C:\\lib\\;\"C:\\My Lib\\\""), "C:\\lib;\"C:\\My Lib\"");
  EXPECT_EQ(FixupLibPathBackSlash("C:\\obj_debug;C:\\lib;a+b;v1.2"),
            "\"C:\\obj_debug\";C:\\lib;\"a+b\";\"v1.2\"");
  EXPECT_EQ(FixupLibPathBackSlash(";a;;b;"), "a;;b");
  EXPECT_EQ(FixupLibPathQuotes("C:\\My Lib;C:\\lib;;\"x y\""), "\"C:\\My Lib\";C:\\lib;;\"x y\"");
  EXPECT_EQ(FixupPathBackSlash("C:\\My Out\\"), "\"C:\\My Out\"");
  EXPECT_EQ(FixupPathBackSlash("C:\\Out\\"), "\"C:\\Out\\\"");
  EXPECT_EQ(FixupPathBackSlash("\"C:\\Out\\\""), "\"C:\\Out\\\"");
}

TEST_F(ParserTest, CorpusProjectsAreRecognisedParsedOrRejected) {
  if (!std::filesystem::exists(kCorpus)) GTEST_SKIP() << "no project corpus at " << kCorpus;
  int parsed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kCorpus / "bcb56")) {
    auto parser = Create(entry.path().string());
    parser->ParseProjectFile();
    const auto version = parser->GetCBuilderVersion();
    EXPECT_TRUE(version == TCBuilderVersion::cvBCB5 || version == TCBuilderVersion::cvBCB6)
        << entry.path();
    ++parsed;
  }
  EXPECT_EQ(parsed, 43);
  // The makefile-style projects begin with a comment line, so the character that names the
  // version is a dash and every one of them is taken for C++Builder 4.
  for (const auto& entry : std::filesystem::directory_iterator(kCorpus / "bcb34")) {
    EXPECT_EQ(CreateError(entry.path().string()),
              "BCB4 is not currently supported, it may be supported in a future version")
        << entry.path();
  }
  for (const auto& entry : std::filesystem::directory_iterator(kCorpus / "bcb56-malformed")) {
    const std::string error = CreateError(entry.path().string());
    EXPECT_EQ(error.rfind("Invalid Project File or BCB version\r\n", 0), 0u) << entry.path();
    EXPECT_NE(error.find("\r\nLine : "), std::string::npos) << error;
  }
}
