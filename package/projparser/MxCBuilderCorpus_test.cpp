// Every C++Builder 5/6 project of the corpus: applying nothing changes nothing, and a build
// that forces exactly what the project says reads back the same records.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "moxtal/api/ObjectText.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Host.h"
#include "package/action/MxCBuilderAction.h"
#include "package/projparser/MxCBuilder56ProjParser.h"
#include "platform/XmlDocument.h"
#include "tests/support/Corpus.h"

using namespace mx;
using namespace mx::bcc;
namespace fs = std::filesystem;

using mx::test::kCorpus;

namespace {

// Where a read-back may differ by design, and why.
const std::map<std::string, std::string> kAsymmetric = {
    {"CompilerOpt.StopAfterFile", "-Hh= is written with single quotes, which the reader keeps"},
    {"LinkerOpt.SubSystemMajor", "a subsystem version with major part 4 (or 0.0) is never written"},
    {"LinkerOpt.SubSystemMinor", "a subsystem version with major part 4 (or 0.0) is never written"},
    {"LinkerOpt.MaxErrors",
     "-E0 and -E1 are never written, so they read back as the record default"},
    {"AdvLinkerOpt.UserMajorVersion", "-U is written only when both parts are above 0"},
    {"AdvLinkerOpt.UserMinorVersion", "-U is written only when both parts are above 0"},
    {"VersionInfo",
     "CodeGuard writes LinkCGLIB into the IDE options text after the version information"},
};

// Lists that are written sorted and read in the order of the line: the same lines, reordered.
const std::map<std::string, std::string> kReordered = {
    {"CompilerOpt.Warnings",
     "selected warnings are written in sorted order and read in line order"},
    {"LinkerOpt.Warnings", "linker warnings are written in sorted order and read in line order"},
};

std::vector<std::string> SortedLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (auto nl = text.find("\\n");; nl = text.find("\\n", start)) {
    lines.push_back(text.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
    if (nl == std::string::npos) break;
    start = nl + 2;
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

const char* const kFamilyFlags[] = {
    "UseDirectorySettings", "UseCompilerSettings", "UseAdvCompilerSettings", "UseLinkerSettings",
    "UseAdvLinkerSettings", "UseCPPSettings",      "UsePascalSettings",      "UseVersionInfo",
    "UseTASMSettings",      "UseCorbaSettings",    "UsePackageSettings",     "UseCodeGuardSettings",
    "UseTLibSettings"};

std::vector<std::pair<std::string, std::string>> Records(ICBuilderProjectParser& p) {
  std::vector<std::pair<std::string, std::string>> all;
  const std::pair<const char*, std::shared_ptr<IQlXMLObject>> records[] = {
      {"CompilerOpt", p.GetCompilerOptions()},
      {"AdvCompilerOpt", p.GetAdvCompilerOptions()},
      {"LinkerOpt", p.GetLinkerOptions()},
      {"AdvLinkerOpt", p.GetAdvLinkerOptions()},
      {"CppOpt", p.GetCPPOptions()},
      {"PascalOpt", p.GetPascalOptions()},
      {"TASMOpt", p.GetTASMOptions()},
      {"CorbaOpt", p.GetCorbaOptions()},
      {"CodeGuardOpt", p.GetCodeGuardOptions()},
      {"TLibOpt", p.GetTLibOptions()}};
  for (const auto& [name, record] : records) {
    for (const auto& [property, text] : PropertyTexts(*record))
      all.emplace_back(std::string(name) + "." + property, text);
  }
  for (const auto& [name, value] : std::initializer_list<std::pair<const char*, std::string>>{
           {"Conditionals", p.GetConditionals()},
           {"IncludePath", p.GetIncludePath()},
           {"LibraryPath", p.GetLibraryPath()},
           {"IntermediateOutputPath", p.GetIntermediateOutputPath()},
           {"FinalOutputPath", p.GetFinalOutputPath()},
           {"BPILIBOutputPath", p.GetBPILIBOutputPath()},
           {"Packages", p.GetPackages().Text()},
           {"UsePackages", p.GetUsePackages() ? "1" : "0"},
           {"VersionInfo", p.GetVersionInfo()}}) {
    all.emplace_back(name, value);
  }
  return all;
}

// Every element's path, "value" attribute and text.
std::vector<std::string> Elements(const std::string& file) {
  const auto doc = platform::TXmlDocument::LoadFromFile(file);
  std::vector<std::string> out;
  std::function<void(const platform::TXmlNode&, const std::string&)> walk =
      [&](const platform::TXmlNode& n, const std::string& path) {
        for (const auto& c : n.Elements()) {
          const std::string p = path + "/" + c.Name();
          const auto text = c.FirstTextChild();
          out.push_back(p + "=" + c.Attribute("value").value_or("") +
                        (text ? "#" + text.Data() : ""));
          walk(c, p);
        }
      };
  walk(doc.DocumentElement(), "");
  return out;
}

class CorpusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kCorpus)) GTEST_SKIP() << "no project corpus at " << kCorpus;
    engine::THost::Instance().SetHostFolder(MX_BIN_DIR);
    out_ = fs::temp_directory_path() /
           ("mx_corpus_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".bpr");
  }
  void TearDown() override { fs::remove(out_); }

  std::shared_ptr<ICBuilderProjectParser> Parse(const std::string& file) {
    auto p = CBuilderProjectParserFactory(MxDesignApplicationServices())
                 ->CreateProjectParser(file, nullptr, AllParserOptions());
    p->ParseProjectFile();
    return p;
  }

  fs::path out_;
};

}  // namespace

TEST_F(CorpusTest, ApplyingNoFamilyChangesNoElement) {
  int projects = 0;
  for (const auto& entry : fs::directory_iterator(kCorpus / "bcb56")) {
    TMxCBuilderAction action;
    for (const char* flag : kFamilyFlags)
      SetPropAsString(action, flag, "False");
    auto parser = Parse(entry.path().string());
    parser->ApplyChanges(action, false);
    parser->SaveToFile(out_.string());
    EXPECT_EQ(Elements(out_.string()), Elements(entry.path().string())) << entry.path();
    ++projects;
  }
  EXPECT_EQ(projects, 43);
}

TEST_F(CorpusTest, ForcingWhatTheProjectSaysReadsBackTheSame) {
  std::set<std::string> reasons;
  for (const auto& entry : fs::directory_iterator(kCorpus / "bcb56")) {
    auto parser = Parse(entry.path().string());
    // The action carries exactly what the project says, every family on.
    TMxCBuilderAction action;
    for (const char* flag : kFamilyFlags)
      SetPropAsString(action, flag, "True");
    const std::pair<std::shared_ptr<IQlXMLObject>, std::shared_ptr<IQlXMLObject>> pairs[] = {
        {parser->GetCompilerOptions(), action.GetCompilerOpt()},
        {parser->GetAdvCompilerOptions(), action.GetAdvCompilerOpt()},
        {parser->GetLinkerOptions(), action.GetLinkerOpt()},
        {parser->GetAdvLinkerOptions(), action.GetAdvLinkerOpt()},
        {parser->GetCPPOptions(), action.GetCppOpt()},
        {parser->GetPascalOptions(), action.GetPascalOpt()},
        {parser->GetTASMOptions(), action.GetTASMOpt()},
        {parser->GetCorbaOptions(), action.GetCorbaOpt()},
        {parser->GetCodeGuardOptions(), action.GetCodeGuardOpt()},
        {parser->GetTLibOptions(), action.GetTLibOpt()}};
    for (const auto& [from, to] : pairs) {
      for (const auto& name : GetPropertyList(*from, false))
        SetPropValue(*to, name, GetPropValue(*from, name));
    }
    action.SetConditionals(parser->GetConditionals());
    action.SetIncludePath(parser->GetIncludePath());
    action.SetLibraryPath(parser->GetLibraryPath());
    action.SetIntermediateOutputPath(parser->GetIntermediateOutputPath());
    action.SetFinalOutputPath(parser->GetFinalOutputPath());
    action.SetBPILIBOutputPath(parser->GetBPILIBOutputPath());
    std::string packages;
    for (const auto& p : parser->GetPackages())
      packages += (packages.empty() ? "" : " ") + p;
    action.SetPackages(packages);
    action.SetUsePackages(parser->GetUsePackages());
    action.SetCBuilderVersion(parser->GetCBuilderVersion());
    const auto before = Records(*parser);
    parser->ApplyChanges(action, false);
    parser->SaveToFile(out_.string());
    const auto after = Records(*Parse(out_.string()));
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (before[i] == after[i]) continue;
      if (const auto reordered = kReordered.find(before[i].first);
          reordered != kReordered.end() &&
          SortedLines(before[i].second) == SortedLines(after[i].second)) {
        reasons.insert(before[i].first + ": " + reordered->second);
        continue;
      }
      const auto why = kAsymmetric.find(before[i].first);
      if (why != kAsymmetric.end()) {
        reasons.insert(before[i].first + ": " + why->second);
        continue;
      }
      ADD_FAILURE() << entry.path().filename() << ": " << before[i].first << " was \""
                    << before[i].second << "\", reads back \"" << after[i].second << "\"";
    }
  }
  for (const auto& r : reasons)
    std::cout << "  differs by design: " << r << "\n";
}
