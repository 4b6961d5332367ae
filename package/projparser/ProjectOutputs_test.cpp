// What projects build and link, read from the corpus's projects and from files written to be
// hostile.
#include "package/projparser/ProjectOutputs.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "package/projparser/CBuilder2006Project.h"
#include "platform/Exception.h"
#include "tests/support/Corpus.h"

using namespace mx;
using namespace mx::bcc;
using platform::TXmlDocument;

namespace {

TProjectLinks MSBuild(const std::string& body, const std::string& config = "") {
  auto document = TXmlDocument::LoadFromText(
      "<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">\n" + body +
      "</Project>\n");
  document.RegisterNamespace("def", kMSBuildNamespace);
  return MSBuildProjectLinks(document, "/p/App.cbproj", config);
}

}  // namespace

TEST(ProjectOutputsTest, EachKindOfProjectNamesWhatItHandsOn) {
  using V = std::vector<std::string>;
  EXPECT_EQ(CBuilder56Outputs("..\\bin\\App.exe", TCBuilderProjectType::ptExe, "", "-Gi -Gl"),
            V{"..\\bin\\App.exe"});
  EXPECT_EQ(CBuilder56Outputs("Pkg.bpl", TCBuilderProjectType::ptBPL, "..\\lib", "-Tpp -Gn -Gi"),
            (V{"Pkg.bpl", "..\\lib\\Pkg.bpi"}));
  EXPECT_EQ(CBuilder56Outputs("bin\\Pkg.bpl", TCBuilderProjectType::ptBPL, "", "-Gl -Gi"),
            (V{"bin\\Pkg.bpl", "bin\\Pkg.bpi", "bin\\Pkg.lib"}));
  EXPECT_EQ(CBuilder56Outputs("Tool.dll", TCBuilderProjectType::ptDLL, "", "-Tpd -Gn"),
            V{"Tool.dll"});
  EXPECT_EQ(CBuilder56Outputs("Tool.dll", TCBuilderProjectType::ptDLL, "", "-Tpd -Gi"),
            (V{"Tool.dll", "Tool.lib"}));
  EXPECT_EQ(CBuilder56Outputs("lib\\Core.lib", TCBuilderProjectType::ptLIB, "", ""),
            V{"lib\\Core.lib"});

  // The configuration decides; a condition on another one leaves its group out.
  const std::string groups =
      "<PropertyGroup><Config Condition=\"'$(Config)'==''\">Debug</Config></PropertyGroup>\n"
      "<PropertyGroup Condition=\"'$(Config)'=='Release' or '$(Cfg_2)'!=''\"><Cfg_2>true</Cfg_2>"
      "</PropertyGroup>\n"
      "<PropertyGroup><ProjectType>CppPackage</ProjectType><OutputExt>bpl</OutputExt>"
      "<ILINK_GenerateLibFile>true</ILINK_GenerateLibFile></PropertyGroup>\n"
      "<PropertyGroup Condition=\"('$(Cfg_2)'=='true')\"><FinalOutputDir>Release</FinalOutputDir>"
      "</PropertyGroup>\n"
      "<ItemGroup><LibFiles Include=\"..\\lib\\Core.lib\" Condition=\"'$(Config)'=='Debug'\"/>"
      "</ItemGroup>\n<PropertyGroup><PackageImports>rtl.bpi;Widgets</PackageImports>"
      "</PropertyGroup>\n";
  auto links = MSBuild(groups);
  EXPECT_EQ(links.Outputs, (V{"App.bpl", "App.bpi", "App.lib"}));
  EXPECT_EQ(links.Links, (V{"rtl.bpi", "Widgets.bpi", "..\\lib\\Core.lib"}));
  links = MSBuild(groups, "Release");
  EXPECT_EQ(links.Outputs, (V{"Release\\App.bpl", "Release\\App.bpi", "Release\\App.lib"}));
  EXPECT_EQ(links.Links, (V{"rtl.bpi", "Widgets.bpi"}));

  EXPECT_EQ(MachinePathOf("/p", "$(BCB)\\Projects\\Bpl\\Pkg.bpl"),
            "$(BCB)\\Projects\\Bpl\\Pkg.bpl");
  EXPECT_EQ(MachinePathOf("/p", "C:\\Out\\Pkg.bpl"), "C:\\Out\\Pkg.bpl");
}

TEST(ProjectOutputsTest, HostileConditionsAndValuesEndWithoutHarm) {
  // Nesting far past any project's is a condition that does not hold, not a crashed stack.
  const std::string deep(100000, '(');
  EXPECT_EQ(MSBuild("<PropertyGroup Condition=\"" + deep +
                    "'a'=='a'\"><OutputExt>dll</OutputExt></PropertyGroup>\n")
                .Outputs,
            std::vector<std::string>{"App.exe"});
  // A value that doubles itself is stopped, with the file and the line.
  std::string doubling = "<PropertyGroup>\n<P>ab</P>\n";
  for (int i = 0; i < 44; ++i)
    doubling += "<P>$(P)$(P)</P>\n";
  try {
    MSBuild(doubling + "</PropertyGroup>\n");
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()),
              "/p/App.cbproj(19): <P> grows past 64 KiB as its properties expand");
  }
}

TEST(ProjectOutputsTest, EveryProjectOfTheCorpusNamesAnOutputOfItsType) {
  const auto folder = test::kCorpus / "cb2007";
  if (!std::filesystem::exists(folder)) GTEST_SKIP() << "no corpus at " << folder;
  int read = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string file = entry.path().string();
    auto document = TXmlDocument::LoadFromFile(file);
    document.RegisterNamespace("def", kMSBuildNamespace);
    const auto links = MSBuildProjectLinks(document, file, "");
    ASSERT_FALSE(links.Outputs.empty()) << file;
    const std::string text = document.SaveToText();
    const std::string output = links.Outputs.front();
    if (text.find("<ProjectType>CppPackage") != std::string::npos) {
      EXPECT_TRUE(output.ends_with(".bpl")) << file << ": " << output;
      EXPECT_GE(links.Outputs.size(), 2u) << file;  // and its package import
    }
    if (text.find("<ProjectType>CppStaticLibrary") != std::string::npos) {
      EXPECT_TRUE(output.ends_with(".lib")) << file << ": " << output;
    }
    ++read;
  }
  EXPECT_GE(read, 10);
}
