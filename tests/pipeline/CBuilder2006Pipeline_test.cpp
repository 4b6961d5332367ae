// The C++Builder 2006/2007 action with stand-in tools: command lines, the makefile event, the
// resource script, failures, stop requests and the build number.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include <filesystem>
#include <fstream>
#include <thread>

#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Host.h"
#include "package/action2006/CBuilder2006Action.h"
#include "package/host/MxRegister.h"
#include "platform/CodePage.h"
#include "platform/Environment.h"
#include "platform/FileNames.h"
#include "platform/StringList.h"

using namespace mx;
using namespace mx::bcc;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

const fs::path kRoot = MX_STANDIN_ROOT;
const fs::path kDotNet = MX_STANDIN_DOTNET;
// The delimiter of the paths the action builds itself.
const std::string kPathSep(1, mx::platform::machinepath::kPathDelim);

class Pipeline2006Test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Register(false); }

  void SetUp() override {
    for (const char* name :
         {"MX_STANDIN_EXIT_BDSPROJ2MAK", "MX_STANDIN_EXIT_MAKE", "MX_STANDIN_EXIT_MSBUILD",
          "MX_STANDIN_WAIT_MAKE", "MX_STANDIN_WAIT_BRCC32", "MX_STANDIN_NO_OUTPUT"}) {
      platform::RemoveEnvironmentVariable(name);
    }
    platform::SetEnvironmentVariable("BDS", "C:\\Other BDS");
    platform::SetAnsiCodePage(1252);
    dir_ =
        fs::temp_directory_path() /
        ("mx2006 " + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    toolLog_ = (dir_ / "tools.log").string();
    platform::SetEnvironmentVariable("MX_STANDIN_LOG", toolLog_);
    std::ofstream(dir_ / "App.bdsproj") << "<BorlandProject/>";
    std::ofstream(dir_ / "App.cbproj") << "<Project/>";
    engine::THost::Instance().SetRegistry(platform::RegistryFromText(
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\.NETFramework]\n\"InstallRoot\"=\"" +
            kDotNet.string() + "/\"\n",
        "dotnet.reg"));

    script_.Variables().Set("BCB2006DIR", kRoot.string());
    script_.Variables().Set("BCB2006", (kRoot / "bin" / "make.exe").string());
    script_.Variables().Set("BCB2006_BRCC32", (kRoot / "bin" / "brcc32.exe").string());
    script_.Variables().Set("CB2007_BRCC32", (kRoot / "bin" / "brcc32.exe").string());
    script_.Variables().Set("CB2007DIR", "C:\\CB2007");
    script_.Variables().Set("PRJ", dir_.string());
    // Relative names in the script are taken against its folder.
    script_.SetFileName((dir_ / "build.mxs").string());
    action_->SetName("B");
    action_->SetProjectFile("%PRJ%/App.bdsproj");
    script_.AddAction(action_);
    engine::THost::Instance().Log().AddSink(log_);
  }

  void TearDown() override {
    engine::THost::Instance().Log().RemoveSink(log_);
    engine::THost::Instance().SetRegistry(platform::RegistryFromText("", "none"));
    platform::SetAnsiCodePage(0);
    fs::remove_all(dir_);
  }

  std::string Read(const fs::path& p) const {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  std::vector<std::string> ToolRuns() const {
    return platform::TStringList(Read(toolLog_)).Lines();
  }
  bool Logged(const std::string& line) const {
    for (const auto& l : log_->AllLines()) {
      for (const auto& part : platform::TStringList(l)) {
        if (part == line) return true;
      }
    }
    return false;
  }

  fs::path dir_;
  std::string toolLog_;
  engine::TBuildScript script_;
  std::shared_ptr<TCBuilder2006Action> action_ = std::make_shared<TCBuilder2006Action>();
  std::shared_ptr<engine::TMemoryLogSink> log_ = std::make_shared<engine::TMemoryLogSink>();
};

}  // namespace

TEST_F(Pipeline2006Test, NewActionsAndTheirSetters) {
  TCBuilder2006Action a;
  EXPECT_EQ(a.GetMajorVersion(), 1);
  EXPECT_TRUE(a.GetRegenerateResource());
  EXPECT_TRUE(a.GetAutoUpdateFileVersion());
  EXPECT_EQ(GetPropAsString(a, "BuildType"), "Build");
  EXPECT_EQ(GetPropAsString(a, "CBuilderVersion"), "cb2006");
  EXPECT_EQ(GetPropAsString(a, "ResourceCompilerType"), "rcBorland");
  // Every property is stored, in this order.
  EXPECT_EQ(GetPropertyList(a, false), (std::vector<std::string>{"ProjectFile",
                                                                 "Config",
                                                                 "TemplateFile",
                                                                 "MakeOptions",
                                                                 "BuildType",
                                                                 "RegenerateResource",
                                                                 "IncludeVerInfo",
                                                                 "MajorVersion",
                                                                 "MinorVersion",
                                                                 "ReleaseVersion",
                                                                 "BuildVersion",
                                                                 "AutoIncBuild",
                                                                 "IsDebug",
                                                                 "IsPreRelease",
                                                                 "IsPrivate",
                                                                 "IsSpecial",
                                                                 "IsDLL",
                                                                 "VersionInfoKeys",
                                                                 "Locale",
                                                                 "CodePage",
                                                                 "IncludeCompileDate",
                                                                 "IconFile",
                                                                 "VersionInfoPropertySetName",
                                                                 "UsePropertySet",
                                                                 "LinkProductVersionToFileVersion",
                                                                 "AutoUpdateFileVersion",
                                                                 "CBuilderVersion",
                                                                 "MSBuildProperties",
                                                                 "IncludeManifest",
                                                                 "ManifestFile",
                                                                 "ResourceCompilerType",
                                                                 "ResourceCompilerPath",
                                                                 "ResourceCompilerOptions"}));
  a.SetResourceCompilerType(TMxCBResourceCompiler::rcMicrosoft);
  EXPECT_EQ(a.GetResourceCompilerOptions(), "%1%");
  a.SetResourceCompilerType(TMxCBResourceCompiler::rcBorland);
  a.SetResourceCompilerOptions("/v");
  a.SetResourceCompilerType(TMxCBResourceCompiler::rcMicrosoft);
  EXPECT_EQ(a.GetResourceCompilerOptions(), "/v");
  a.SetAutoIncBuild(false);
  EXPECT_TRUE(a.DynamicProperties().empty());
  a.SetAutoIncBuild(true);
  EXPECT_EQ(a.DynamicProperties(), (std::vector<std::string>{"BuildVersion"}));
  a.SetProjectFile("%SRC%\\App.bdsproj");
  EXPECT_EQ(a.GetFormattedDescription(), "C++Builder 2006/7 Project [ %SRC%\\App.bdsproj ]");
  const auto* event = a.GetScriptByName("OnMakeFileGenerated");
  ASSERT_TRUE(event);
  ASSERT_EQ(event->Params().size(), 4u);
  EXPECT_TRUE(event->Params()[3].WrittenBack);
  EXPECT_FALSE(event->Params()[2].WrittenBack);

  EXPECT_EQ(a.MakeParameters("", "App.mak", ""), "-B  -fApp.mak");
  a.SetBuildType(TCBuildMakeType::Make);
  EXPECT_EQ(a.MakeParameters("-s", "App.mak", "CFG=Release"), "-s -fApp.mak CFG=Release");
}

TEST_F(Pipeline2006Test, Cb2006RunsBdsproj2makTheEventAndMake) {
  action_->SetTemplateFile("t.tmpl");
  action_->SetConfig("CFG=Debug");
  action_->GetScriptByName("OnMakeFileGenerated")
      ->SetText("MakeFile:Add('# edited by ' .. Action.ProjectFile)\nMakeFileModified = true");
  EXPECT_TRUE(action_->Execute());
  const std::string wd = dir_.string();
  const auto runs = ToolRuns();
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0], "BRCC32|" + wd + "|-v|App.rc");
  EXPECT_EQ(runs[1], "BDSPROJ2MAK|" + wd + "|-tt.tmpl|" + wd + "/App.bdsproj");
  EXPECT_EQ(runs[2], "MAKE|" + wd + "|-B|-fApp.mak|CFG=Debug");
  EXPECT_TRUE(Logged("BDS=(unset)"));  // bdsproj2mak runs without another BDS in its way
  EXPECT_TRUE(Logged("Make Completed OK"));
  EXPECT_TRUE(Logged("Generating Resource File...."));
  EXPECT_NE(Read(dir_ / "App.mak").find("# edited by %PRJ%/App.bdsproj\r\n"), std::string::npos);

  // Without setting MakeFileModified the makefile stays as generated.
  action_->GetScriptByName("OnMakeFileGenerated")->SetText("MakeFile:Add('# lost')");
  EXPECT_TRUE(action_->Execute());
  EXPECT_EQ(Read(dir_ / "App.mak").find("# lost"), std::string::npos);

  action_->GetScriptByName("OnMakeFileGenerated")->SetText("MakeFile:Add(nil)");
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(log_->AllLines().back().rfind(
                "Error during OnMakeFileGenerated event : OnMakeFileGenerated:1: ", 0),
            0u)
      << log_->AllLines().back();
  EXPECT_EQ(ToolRuns().back().rfind("BDSPROJ2MAK", 0), 0u);  // make never ran

  fs::remove(dir_ / "App.mak");
  platform::SetEnvironmentVariable("MX_STANDIN_NO_OUTPUT", "1");
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(
      log_->AllLines().back().rfind("Error during OnMakeFileGenerated event : Cannot open file", 0),
      0u)
      << log_->AllLines().back();
}

TEST_F(Pipeline2006Test, Cb2006FailuresEndTheBuild) {
  action_->SetRegenerateResource(false);
  platform::SetEnvironmentVariable("MX_STANDIN_EXIT_BDSPROJ2MAK", "1");
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(log_->AllLines().back(), "bdsproj2mak returned non zero : 1");
  ASSERT_EQ(ToolRuns().size(), 1u);
  EXPECT_EQ(ToolRuns()[0],
            "BDSPROJ2MAK|" + dir_.string() + "|" + dir_.string() + "/App.bdsproj");  // no template
  platform::RemoveEnvironmentVariable("MX_STANDIN_EXIT_BDSPROJ2MAK");
  platform::SetEnvironmentVariable("MX_STANDIN_EXIT_MAKE", "2");
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(log_->AllLines().back(), "make returned non zero : 2");

  script_.Variables().Remove("BCB2006");
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(log_->AllLines().back(),
            "Error finding path to make.exe : Undefined variable \"BCB2006\"");
  script_.Variables().Set("BCB2006", (dir_ / "make.exe").string());
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(log_->AllLines().back(), "Unable to locate make.exe : " + (dir_ / "make.exe").string());
  script_.Variables().Set("BCB2006DIR", dir_.string());
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(log_->AllLines().back(), "Unable to locate bdsproj2mak.exe : " + dir_.string() +
                                         kPathSep + "bin" + kPathSep + "bdsproj2mak.exe");
  script_.Variables().Remove("BCB2006DIR");
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(log_->AllLines().back(),
            "Error finding path to bdsproj2mak.exe : Undefined variable \"BCB2006DIR\"");

  script_.Variables().Set("BCB2006DIR", kRoot.string());
  script_.Variables().Set("BCB2006", (kRoot / "bin" / "make.exe").string());
  action_->SetRegenerateResource(true);
  script_.Variables().Set("BCB2006_BRCC32", (dir_ / "brcc32.exe").string());
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(log_->AllLines().back(), "Unable to Execute Resource Compiler - file not found : " +
                                         (dir_ / "brcc32.exe").string());
}

TEST_F(Pipeline2006Test, Cb2007RunsMSBuildWithItsProperties) {
  action_->SetCBuilderVersion(cb2006::TCBuilderVersion::cb2007);
  action_->SetProjectFile("%PRJ%/App.cbproj");
  action_->SetBuildType(TCBuildMakeType::Make);
  action_->GetMSBuildProperties().SetText("Platform=Win32\nno equals sign\n=x\nOut=%PRJ%\n");
  EXPECT_TRUE(action_->Execute());
  const std::string wd = dir_.string();
  const std::string parameters = "/property:Platform=\"Win32\";Out=\"" + wd +
                                 "\";Config=\"\" /nologo /target:\"Make\"  \"" + wd +
                                 "/App.cbproj\"";
  EXPECT_TRUE(Logged("Running MSBuild with parameters : " + parameters));
  EXPECT_TRUE(Logged("BDS=C:\\CB2007"));
  EXPECT_TRUE(Logged("MSBuild Completed OK"));
  EXPECT_EQ(ToolRuns().back(), "MSBUILD|" + wd + "|/property:Platform=Win32;Out=" + wd +
                                   ";Config=|/nologo|/target:Make|" + wd + "/App.cbproj");

  action_->GetMSBuildProperties().Clear();
  action_->SetBuildType(TCBuildMakeType::Build);
  action_->SetConfig("Release");
  EXPECT_TRUE(action_->Execute());
  EXPECT_TRUE(
      Logged("Running MSBuild with parameters : /property:Config=\"Release\" /nologo "
             "/target:\"Build\"  \"" +
             wd + "/App.cbproj\""));
  platform::SetEnvironmentVariable("MX_STANDIN_EXIT_MSBUILD", "4");
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(log_->AllLines().back(), "MSBuild returned non zero : 4");

  action_->SetUsePropertySet(true);
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(log_->AllLines().back(), "PropertySet name is blank");
  action_->SetVersionInfoPropertySetName("Missing");
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(log_->AllLines().back(), "Unable to find property set: Missing");
  action_->SetUsePropertySet(false);

  // A framework folder without MSBuild.exe.
  fs::create_directories(dir_ / "net" / "v2.0.50727");
  engine::THost::Instance().SetRegistry(platform::RegistryFromText(
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\.NETFramework]\n\"InstallRoot\"=\"" +
          (dir_ / "net").string() + "\"\n",
      "net.reg"));
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(log_->AllLines().back(), "Required file " + (dir_ / "net" / "v2.0.50727").string() +
                                         kPathSep + "MSBuild.exe not found");

  // No framework: the build fails before the project file is even expanded.
  engine::THost::Instance().SetRegistry(platform::RegistryFromText("REGEDIT4\n", "empty.reg"));
  action_->SetProjectFile("%NOWHERE%/App.cbproj");
  EXPECT_FALSE(action_->Execute());
  EXPECT_EQ(log_->AllLines().back(),
            "Error - Dot Net Framework 2.0 not found, this action requires MSBuild.exe");
}

TEST_F(Pipeline2006Test, ResourceScriptDifferences) {
  action_->SetIncludeManifest(true);
  action_->SetManifestFile("C:\\App\\app.manifest");
  action_->SetIconFile("C:\\App\\main.ico");
  action_->SetIncludeVerInfo(true);
  action_->SetLinkProductVersionToFileVersion(true);
  action_->SetUsePropertySet(true);  // the numbers still make the file version
  action_->SetVersionInfoKeys("Comments=\r\nFileVersion=9.9.9.9\r\n");
  action_->SetResourceCompilerType(TMxCBResourceCompiler::rcMicrosoft);
  platform::TStringList lines;
  ASSERT_TRUE(action_->BuildResourceScript("C:\\App\\main.ico", "C:\\App\\app.manifest", lines));
  const std::vector<std::string> head(lines.Lines().begin(), lines.Lines().begin() + 7);
  EXPECT_EQ(head, (std::vector<std::string>{"MAINICON ICON \"C:\\\\App\\\\main.ico\"", "/*",
                                            "Include manifest xml for XP/Vista", "*/",
                                            "1 24 \"C:\\\\App\\\\app.manifest\"", "1 VERSIONINFO",
                                            "FILEVERSION 1,0,0,0"}));
  EXPECT_EQ(lines.IndexOf("FILEOS 0x4L"), 10);
  EXPECT_GE(lines.IndexOf("              VALUE \"Comments\", \"\\0\""), 0);
  EXPECT_GE(lines.IndexOf("              VALUE \"FileVersion\", \"1.0.0.0\\0\""), 0);
  EXPECT_TRUE(Logged("Including ICON File :C:\\\\App\\\\main.ico"));

  action_->SetResourceCompilerType(TMxCBResourceCompiler::rcBorland);
  lines.Clear();
  ASSERT_TRUE(action_->BuildResourceScript("", "C:\\App\\app.manifest", lines));
  EXPECT_EQ(lines[3], "1 24 \"C:\\App\\app.manifest\"");

  auto set = script_.AddPropertySet("Nightly", "Win32 Version Info");
  set->ValueObject().SetValue("FileVersion", "9.9.9.9");
  set->ValueObject().SetValue("MajorVersion", "3");
  action_->SetVersionInfoPropertySetName("Nightly");
  ASSERT_TRUE(action_->LoadVersionInfoFromPropertySet());
  EXPECT_EQ(action_->GetVersionInfoKeys(), "Comments=\r\nFileVersion=3.0.0.0\r\n");
}

TEST_F(Pipeline2006Test, StopsEndToolsAndTheBuildNumberOnlyGrowsOnSuccess) {
  action_->SetIncludeVerInfo(true);
  action_->SetLinkProductVersionToFileVersion(true);
  action_->SetAutoIncBuild(true);
  action_->SetBuildVersion(7);
  EXPECT_TRUE(action_->Execute());
  EXPECT_EQ(action_->GetBuildVersion(), 8);
  EXPECT_EQ(platform::TStringList(action_->GetVersionInfoKeys()).Values("FileVersion"), "1.0.0.8");

  // A build number that cannot grow fails the build and stays as it was.
  action_->SetBuildVersion(std::numeric_limits<std::int32_t>::max());
  EXPECT_FALSE(action_->Execute());
  EXPECT_TRUE(Logged("Integer overflow"));
  EXPECT_EQ(action_->GetBuildVersion(), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(platform::TStringList(action_->GetVersionInfoKeys()).Values("FileVersion"), "1.0.0.8");
  action_->SetBuildVersion(8);

  for (const std::string tool : {"MAKE", "BRCC32"}) {
    platform::SetEnvironmentVariable("MX_STANDIN_WAIT_" + tool, "60000");
    // The stop comes while that tool waits: once it has logged its run, however long the tools
    // before it took on a busy machine.
    const std::size_t before = ToolRuns().size();
    std::thread stopper([this, tool, before] {
      for (int i = 0; i < 1500; ++i) {
        const auto runs = ToolRuns();
        if (runs.size() > before &&
            std::any_of(runs.begin() + static_cast<long>(before), runs.end(),
                        [&](const std::string& run) { return run.rfind(tool + "|", 0) == 0; })) {
          break;
        }
        std::this_thread::sleep_for(20ms);
      }
      action_->TerminateAction();
    });
    EXPECT_FALSE(action_->Execute());
    stopper.join();
    platform::RemoveEnvironmentVariable("MX_STANDIN_WAIT_" + tool);
  }
  EXPECT_TRUE(Logged("Terminated by user"));
  EXPECT_TRUE(Logged("Resource Compiler Terminated by user"));
  EXPECT_EQ(action_->GetBuildVersion(), 8);

  action_->SetIncludeVerInfo(false);
  EXPECT_TRUE(action_->Execute());
  EXPECT_EQ(action_->GetBuildVersion(), 8);
}

TEST_F(Pipeline2006Test, TerminateFromAnotherThreadIsSafeWhileBuildsComeAndGo) {
  action_->SetRegenerateResource(false);
  std::atomic<bool> done{false};
  std::thread hammer([&] {
    while (!done)
      action_->TerminateAction();
  });
  int stopped = 0;
  for (int i = 0; i < 5; ++i) {
    if (!action_->Execute()) ++stopped;  // each run either finishes or is stopped
  }
  done = true;
  hammer.join();
  // Every run that did not finish says it was stopped, before a tool or during one, once.
  int stopLines = 0;
  for (const auto& line : log_->AllLines()) {
    if (line.size() >= 18 && line.compare(line.size() - 18, 18, "Terminated by user") == 0)
      ++stopLines;
  }
  EXPECT_EQ(stopLines, stopped);
}
