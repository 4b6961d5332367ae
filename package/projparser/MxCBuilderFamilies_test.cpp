// The switch families on small project texts: what each reads and what it writes back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "moxtal/api/ObjectText.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Host.h"
#include "package/action/MxCBuilderAction.h"
#include "package/host/MxRegister.h"
#include "package/projparser/FamilyFixture_test.h"
#include "package/projparser/MxCBuilder56ProjParser.h"

using namespace mx;
using namespace mx::bcc;
namespace fs = std::filesystem;

using mx::bcc::families::FamilyTest;
using mx::bcc::families::TElements;

TEST_F(FamilyTest, CompilerReadsChainsWarningsAndHeaders) {
  const std::pair<const char*, const char*> optimisation[] = {
      {"-Od -O2 -Oi", "[]"},
      {"-Oi -OS", "[coPentiumScheduling,coInlineIntrinsic]"},
      {"-c", "[]"},
      {"-O2", "[coInlineIntrinsic,coInductionVariables,coCommonSubExpression]"}};
  for (const auto& [flags, set] : optimisation) {
    auto p = Parse({{"OPTIONS/CFLAG1", flags}});
    EXPECT_EQ(GetPropAsString(*p->GetCompilerOptions(), "Optimisation"), set) << flags;
  }
  auto p = Parse({{"OPTIONS/CFLAG1", "-w -H=\"C:\\My Dir\\all.csm\" -Hh=stop.h -vi -v"},
                  {"MACROS/WARNINGS", "-w-par -wnotlisted -waus"}});
  auto& c = *p->GetCompilerOptions();
  EXPECT_EQ(c.GetOutputWarnings(),
            TBCBCompilerWarnings::cwSelected);  // a known warning was selected
  EXPECT_EQ(c.GetWarnings().Lines(), (std::vector<std::string>{"-wpar=0", "-waus=1"}));
  EXPECT_EQ(c.GetPreCompHeaders(), TBCBCompilerPreCompiledHeader::pcUse);
  EXPECT_EQ(c.GetPreCompFile(), "C:\\My Dir\\all.csm");
  EXPECT_EQ(c.GetStopAfterFile(), "stop.h");
  EXPECT_FALSE(c.GetDisableInlineExpansion());
  EXPECT_TRUE(c.GetDebugInformation());
  EXPECT_FALSE(c.GetLineNumberInformation());
  EXPECT_EQ(Parse({{"OPTIONS/CFLAG1", "-w"}, {"MACROS/WARNINGS", "-wnotlisted"}})
                ->GetCompilerOptions()
                ->GetOutputWarnings(),
            TBCBCompilerWarnings::cwAll);
  EXPECT_EQ(Parse({{"OPTIONS/CFLAG1", "-w- -Hc -H"}})->GetCompilerOptions()->GetOutputWarnings(),
            TBCBCompilerWarnings::cwNone);
  EXPECT_EQ(Parse({{"OPTIONS/CFLAG1", "-Hc -H"}})->GetCompilerOptions()->GetPreCompHeaders(),
            TBCBCompilerPreCompiledHeader::pcCache);
}

TEST_F(FamilyTest, CompilerWritesTableOrderWithExpandedHeaderNames) {
  auto& c = *action_->GetCompilerOpt();
  using O = TBCBCompilerOptimisation;
  c.SetOptimisation({O::coInlineIntrinsic, O::coInductionVariables, O::coCommonSubExpression,
                     O::coPentiumScheduling});
  c.SetPreCompHeaders(TBCBCompilerPreCompiledHeader::pcCache);
  c.SetPreCompFile("$(bcb)\\lib\\%PCH%.csm");
  c.SetStopAfterFile("stop.h");
  c.SetOutputWarnings(TBCBCompilerWarnings::cwAll);
  script_.Variables().Set("PCH", "vcl 60");
  script_.Variables().Set("BCB", "must not be used");
  c.GetWarnings().SetText("-wpar=0\n-waus=1\n");
  auto p = Parse({{"OPTIONS/CFLAG1", "-x -Od -H=old.csm -Hc -Hh -w- -v -k -q"},
                  {"MACROS/WARNINGS", "-wrch -wzzz -w-par"}});
  EXPECT_EQ(
      Apply(*p, "UseCompilerSettings", "/PROJECT/OPTIONS/CFLAG1"),
      "-x -q -Oi -Ov -Og -OS -H=\"$(BCB)\\lib\\vcl 60.csm\" -Hc -Hh='stop.h' -w -v -b- -k -y -vi-");
  // Known warnings give way to the record's; an unknown token follows, in sorted order.
  EXPECT_EQ(p->ElementValue("/PROJECT/MACROS/WARNINGS"), "-waus -w-par -wzzz ");

  c.SetPreCompHeaders(TBCBCompilerPreCompiledHeader::pcNone);
  c.SetOptimisation({});
  p = Parse({{"OPTIONS/CFLAG1", "-H=a.csm -Hc -O2"}});
  EXPECT_EQ(Apply(*p, "UseCompilerSettings", "/PROJECT/OPTIONS/CFLAG1"),
            "-Od -w -v -b- -k -y -vi-");
  c.GetWarnings().SetText("broken\n");
  p = Parse({{"MACROS/WARNINGS", ""}});
  EXPECT_THROW(Apply(*p, "UseCompilerSettings", "/PROJECT/MACROS/WARNINGS"), Exception);
}

TEST_F(FamilyTest, AdvancedCompilerAndCppRoundTrip) {
  auto p = Parse(
      {{"OPTIONS/CFLAG1", "-a- -pr -rd -X -u- -ff -AK -C -VF -i32 -V0 -Vmd -RT- -xd- -Jgx -P"}});
  const auto& a = *p->GetAdvCompilerOptions();
  EXPECT_EQ(a.GetDataAlignment(), TCBuilderDataAlignment::daByte);
  EXPECT_EQ(a.GetCallingConvention(), TCBuilderCallingConvention::ccRegister);
  EXPECT_EQ(a.GetRegisterVariables(), TCBuilderRegisterVariables::rvKeyword);
  EXPECT_FALSE(a.GetOutputAutoDepInfo());
  EXPECT_FALSE(a.GetGenerateUnderscores());
  EXPECT_EQ(a.GetLanguageCompliance(), TCBuilderLanguageCompliance::lcKR);
  EXPECT_EQ(a.GetIdentifierLength(), 32);
  EXPECT_EQ(Parse({{"OPTIONS/CFLAG1", "-ixyz"}})->GetAdvCompilerOptions()->GetIdentifierLength(),
            250);
  const auto& cpp = *p->GetCPPOptions();
  EXPECT_EQ(cpp.GetVirtualTables(), TCBuilderVirtualTables::vtExternal);
  EXPECT_EQ(cpp.GetMemberPointers(), TCBuilderMemberPointers::mpSmallest);
  EXPECT_FALSE(cpp.GetEnabledRTTI());
  EXPECT_FALSE(cpp.GetZeroLengthEmptyBaseClasses());

  // The action carries what was read; writing it gives the same switches back.
  for (const auto& [from, to] :
       {std::pair{p->GetAdvCompilerOptions(), action_->GetAdvCompilerOpt()}}) {
    for (const auto& [name, text] : PropertyTexts(*from))
      SetPropAsString(*to, name, text);
  }
  for (const auto& [name, text] : PropertyTexts(*p->GetCPPOptions()))
    SetPropAsString(*action_->GetCppOpt(), name, text);
  EXPECT_EQ(Apply(*p, "UseAdvCompilerSettings", "/PROJECT/OPTIONS/CFLAG1"),
            "-V0 -Vmd -RT- -xd- -Jgx -P -a1 -pr -rd -X -u- -ff -AK -C -VF -i32 ");
  EXPECT_EQ(Apply(*p, "UseCPPSettings", "/PROJECT/OPTIONS/CFLAG1"),
            "-a1 -pr -rd -X -u- -ff -AK -C -VF -i32 -Vmd -Jgx -RT- -xd- -V0 -P ");
  action_->GetAdvCompilerOpt()->SetIdentifierLength(250);
  EXPECT_EQ(Apply(*p, "UseAdvCompilerSettings", "/PROJECT/OPTIONS/CFLAG1").find("-i"),
            std::string::npos);
}

TEST_F(FamilyTest, CodeGuardEditsSwitchesLibrariesAndIdeOptions) {
  auto p = Parse({{"OPTIONS/CFLAG1", "-vGt -c"}, {"LINKER/ALLLIB", "vcl50.lib import32.lib"}},
                 "BCB.06.00", "\n[Version Info]\nIncludeVerInfo=0\n");
  EXPECT_TRUE(p->GetCodeGuardOptions()->GetCodeGuardValidation());
  EXPECT_TRUE(p->GetCodeGuardOptions()->GetValidateThisPointer());
  auto& g = *action_->GetCodeGuardOpt();
  g.SetCodeGuardValidation(true);
  g.SetValidatePointerAccesses(true);
  g.SetValidateGlobalAndStackAccess(true);
  EXPECT_EQ(Apply(*p, "UseCodeGuardSettings", "/PROJECT/OPTIONS/CFLAG1"), "-c -vGd -vGc ");
  EXPECT_EQ(p->ElementValue("/PROJECT/LINKER/ALLLIB"), "CG32.LIB vcl50.lib import32.lib");
  Apply(*p, "UseCodeGuardSettings", "/PROJECT/LINKER/ALLLIB");
  EXPECT_EQ(p->ElementValue("/PROJECT/LINKER/ALLLIB"), "CG32.LIB vcl50.lib import32.lib");
  const std::string ide =
      p->Document().SelectSingleNode("/PROJECT/IDEOPTIONS").FirstTextChild().Data();
  EXPECT_EQ(ide, "\r\n[Version Info]\r\nIncludeVerInfo=0\r\n[Compiler]\r\nLinkCGLIB=1\r\n");
  g.SetCodeGuardValidation(false);
  p = Parse({{"LINKER/ALLLIB", "Cg32.Lib x.lib cg32.lib"}}, "BCB.06.00",
            "[Compiler]\nShowInfoMsgs=0\n");
  EXPECT_EQ(Apply(*p, "UseCodeGuardSettings", "/PROJECT/LINKER/ALLLIB"), "x.lib cg32.lib");
  EXPECT_EQ(p->Document().SelectSingleNode("/PROJECT/IDEOPTIONS").FirstTextChild().Data(),
            "[Compiler]\r\nLinkCGLIB=0\r\nShowInfoMsgs=0\r\n");
}

TEST_F(FamilyTest, IdlSwitches) {
  auto p = Parse({{"OPTIONS/IDLCFLAGS", "-hdr_suffix hh -boa"}});
  const auto& r = *p->GetCorbaOptions();
  EXPECT_EQ(r.GetHeaderExtension(), "hh");
  EXPECT_TRUE(r.GetGenerateTie());
  EXPECT_TRUE(r.GetGenerateStreamOperators());
  EXPECT_EQ(Parse({{"OPTIONS/IDLCFLAGS", "-no_tie -hdr_suffix"}})
                ->GetCorbaOptions()
                ->GetHeaderExtension(),
            "hh");
  EXPECT_EQ(
      Apply(*Parse({{"OPTIONS/IDLCFLAGS", ""}}), "UseCorbaSettings", "/PROJECT/OPTIONS/IDLCFLAGS"),
      "-hdr_suffix hh -boa ");
  action_->GetCorbaOpt()->SetHeaderExtension("h");
  action_->GetCorbaOpt()->SetGenerateTie(false);
  EXPECT_EQ(Apply(*Parse({{"OPTIONS/IDLCFLAGS", "-boa -hdr_suffix hh -x"}}), "UseCorbaSettings",
                  "/PROJECT/OPTIONS/IDLCFLAGS"),
            "-x -no_tie -hdr_suffix h -boa ");
}

TEST_F(FamilyTest, LinkerSortsAndMapsEverySwitch) {
  auto p = Parse({{"OPTIONS/LFLAGS",
                   "-v -x -v -ap -w-dup -wbogus -V5.1 -E7 -HC:0x2000 -S:8192 -B:0x10000000 -U1.0 "
                   "-dpsapi.dll -GCnote -Gz"},
                  {"MACROS/SYSDEFINES", "NO_STRICT;_rtldll"}});
  auto& l = *p->GetLinkerOptions();
  EXPECT_EQ(l.GetWarnings().Lines(), (std::vector<std::string>{"-wdup=0"}));
  EXPECT_TRUE(l.GetDebugInformation());
  EXPECT_EQ(l.GetMapFile(), TCBuilderMapFile::cmOff);
  EXPECT_EQ(l.GetSubSystemMajor(), 5u);
  EXPECT_EQ(l.GetSubSystemMinor(), 1u);
  EXPECT_EQ(l.GetMaxErrors(), 7);
  EXPECT_EQ(l.GetMaxHeapSize(), 0x2000u);
  EXPECT_EQ(l.GetMinStackSize(), 8192u);
  EXPECT_EQ(l.GetImageBase(), 0x10000000u);
  EXPECT_EQ(l.GetMinHeapSize(), 0x1000u);
  EXPECT_TRUE(l.GetUseDynamicRTL());
  const auto& a = *p->GetAdvLinkerOptions();
  EXPECT_EQ(a.GetUserMajorVersion(), 1);
  EXPECT_EQ(a.GetUserMinorVersion(), 0);
  EXPECT_EQ(a.GetDelayLoadDLLS(), "psapi.dll");
  EXPECT_EQ(a.GetImageComment(), "note");
  EXPECT_TRUE(a.GetCalcCheckSum());

  // A record that adds nothing: sorted, duplicates gone, its own switches removed.
  auto& r = *action_->GetLinkerOpt();
  r.SetLinkerWarnings(TCBuilderLinkerWarnings::lwSelected);
  r.SetMapFile(TCBuilderMapFile::cmSegments);
  for (const char* size : {"MinHeapSize=4096", "MaxHeapSize=1048576", "MinStackSize=8192",
                           "MaxStackSize=1048576", "ImageBase=4194304"}) {
    const std::string s = size;
    SetPropAsString(r, s.substr(0, s.find('=')), s.substr(s.find('=') + 1));
  }
  EXPECT_EQ(Apply(*Parse({{"OPTIONS/LFLAGS", "-v -x -v -ap"}}), "UseLinkerSettings",
                  "/PROJECT/OPTIONS/LFLAGS"),
            "-ap ");

  r.SetSubSystemMajor(5);
  r.SetMaxErrors(2);
  r.SetMinStackSize(0x4000);
  r.GetWarnings().SetText("-wuld=0\n-wdpl=1\n");
  EXPECT_EQ(Apply(*Parse({{"OPTIONS/LFLAGS", "-S:0x100 -S:0x200 -wbogus -w-uld -V4.0"}}),
                  "UseLinkerSettings", "/PROJECT/OPTIONS/LFLAGS"),
            "-wdpl -w-uld -S:0x200 -wbogus -V5.0 -E2 -S:0x4000 ");
  r.SetSubSystemMajor(4);
  r.SetSubSystemMinor(1);
  EXPECT_EQ(
      Apply(*Parse({{"OPTIONS/LFLAGS", "-V5.0"}}), "UseLinkerSettings", "/PROJECT/OPTIONS/LFLAGS"),
      "-wdpl -w-uld -E2 -S:0x4000 ");

  auto& adv = *action_->GetAdvLinkerOpt();
  adv.SetUserMajorVersion(1);
  adv.SetCaseInsensitiveLink(true);
  adv.SetImageComment("new");
  EXPECT_EQ(Apply(*Parse({{"OPTIONS/LFLAGS", "-c -GCold -U2.5 -GCsecond"}}), "UseAdvLinkerSettings",
                  "/PROJECT/OPTIONS/LFLAGS"),
            "-GCsecond -c- -GCnew ");
}

TEST_F(FamilyTest, LinkerChoosesTheRuntimeLibrary) {
  auto& r = *action_->GetLinkerOpt();
  r.SetUseDynamicRTL(true);
  auto p = Parse({{"MACROS/SYSDEFINES", "_NO_VCL;NO_STRICT"},
                  {"LINKER/ALLOBJ", "c0x32.obj $(OBJFILES)"},
                  {"LINKER/ALLLIB", "cw32mt.lib import32.lib"}});
  Apply(*p, "UseLinkerSettings", "/PROJECT/LINKER/ALLLIB");
  EXPECT_EQ(p->ElementValue("/PROJECT/LINKER/ALLLIB"), "import32.lib cw32mti.lib");
  EXPECT_EQ(p->ElementValue("/PROJECT/LINKER/ALLOBJ"), "c0x32.obj $(OBJFILES)");
  EXPECT_EQ(p->ElementValue("/PROJECT/MACROS/SYSDEFINES"), "_NO_VCL;NO_STRICT;_RTLDLL;");

  p = Parse(
      {{"LINKER/ALLOBJ", "c0w32.obj sysinit.obj $(OBJFILES)"}, {"LINKER/ALLLIB", "import32.lib"}});
  Apply(*p, "UseLinkerSettings", "/PROJECT/LINKER/ALLOBJ");
  EXPECT_EQ(p->ElementValue("/PROJECT/LINKER/ALLOBJ"),
            "c0w32.obj Memmgr.lib sysinit.obj $(OBJFILES)");
  EXPECT_EQ(p->ElementValue("/PROJECT/LINKER/ALLLIB"), "import32.lib cp32mti.lib");

  r.SetUseDynamicRTL(false);
  p = Parse({{"MACROS/SYSDEFINES", "_RTLDLL;NO_STRICT"},
             {"LINKER/ALLOBJ", "c0w32.obj MEMMGR.LIB"},
             {"LINKER/ALLLIB", "cp32i.lib cp32mti.lib"}});
  Apply(*p, "UseLinkerSettings", "/PROJECT/LINKER/ALLLIB");
  EXPECT_EQ(p->ElementValue("/PROJECT/MACROS/SYSDEFINES"), "NO_STRICT;");
  EXPECT_EQ(p->ElementValue("/PROJECT/LINKER/ALLOBJ"), "c0w32.obj");
  EXPECT_EQ(p->ElementValue("/PROJECT/LINKER/ALLLIB"), "cp32mti.lib cp32.lib");
}

TEST_F(FamilyTest, DirectoriesReadAndWritePaths) {
  auto p = Parse({{"OPTIONS/LFLAGS", "-lC:\\Out\\Lib -IObj -x"},
                  {"MACROS/USERDEFINES", "_DEBUG;X"},
                  {"MACROS/LIBPATH", "\"C:\\My Lib\\\";$(BCB)\\lib\\"}});
  EXPECT_EQ(p->GetBPILIBOutputPath(), "C:\\Out\\Lib");
  EXPECT_EQ(p->GetIntermediateOutputPath(), "Obj");
  EXPECT_EQ(p->GetConditionals(), "_DEBUG;X");
  EXPECT_EQ(p->GetLibraryPath(), "\"C:\\My Lib\";$(BCB)\\lib");
  EXPECT_EQ(Parse({{"OPTIONS/LFLAGS", "-x -l\"C:\\My Out\" -v"}})->GetBPILIBOutputPath(),
            "C:\\My Out");

  // The BPI/LIB folder expands through the parser's own services: host variables only.
  engine::THost::Instance().CommandLineVariables().Set("OUT", "D:\\Build");
  script_.Variables().Set("BCB", "must not be used");
  action_->SetFinalOutputPath("$(BCB)\\bin");
  action_->SetIntermediateOutputPath("%OUT%\\obj");
  action_->SetBPILIBOutputPath("%OUT%\\lib\\");
  action_->SetConditionals("%OUT%;R");
  p = Parse({{"MACROS/PROJECT", "..\\old\\App.exe"},
             {"MACROS/OBJFILES", "App.obj src\\Main.obj"},
             {"OPTIONS/PFLAGS", "-$YD -v"},
             {"OPTIONS/LFLAGS", "-x -lold -Iold"},
             {"MACROS/USERDEFINES", ""}});
  Apply(*p, "UseDirectorySettings", "/PROJECT/MACROS/PROJECT");
  EXPECT_EQ(p->ElementValue("/PROJECT/MACROS/PROJECT"), "$(BCB)\\bin\\App.exe");
  EXPECT_EQ(p->ElementValue("/PROJECT/MACROS/USERDEFINES"), "D:\\Build;R");
  EXPECT_EQ(p->ElementValue("/PROJECT/MACROS/OBJFILES"),
            "D:\\Build\\obj\\App.obj D:\\Build\\obj\\Main.obj");
  EXPECT_EQ(p->ElementValue("/PROJECT/OPTIONS/PFLAGS"),
            "-$YD -v -N0\"D:\\Build\\obj\" -N2\"D:\\Build\\obj\"");
  EXPECT_EQ(p->ElementValue("/PROJECT/OPTIONS/LFLAGS"),
            "-x -l\"D:\\Build\\lib\" -I\"D:\\Build\\obj\"");
  // Folder switches already there keep their places and take the new folder.
  p = Parse({{"OPTIONS/PFLAGS", "-N2old -$W -N0old"}});
  EXPECT_EQ(Apply(*p, "UseDirectorySettings", "/PROJECT/OPTIONS/PFLAGS"),
            "-N2\"D:\\Build\\obj\" -$W -N0\"D:\\Build\\obj\"");

  action_->SetIntermediateOutputPath("%NOPE%");
  try {
    Apply(*Parse({{"MACROS/OBJFILES", "a.obj"}}), "UseDirectorySettings",
          "/PROJECT/MACROS/OBJFILES");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(),
                 "Error expanding Intermediate Output Path : Undefined variable \"NOPE\"");
  }
  engine::THost::Instance().CommandLineVariables().Remove("OUT");
}

TEST_F(FamilyTest, PackagesMoveLibrariesAndDefines) {
  auto p = Parse(
      {{"MACROS/PACKAGES", "vcl.bpi rtl.bpi"}, {"LINKER/ALLOBJ", "c0w32.obj $(PACKAGES) x.obj"}});
  EXPECT_EQ(p->GetPackages().Lines(), (std::vector<std::string>{"vcl.bpi", "rtl.bpi"}));
  EXPECT_TRUE(p->GetUsePackages());

  action_->SetPackages("vcl.bpi;rtl.bpi");
  action_->SetUsePackages(false);
  p = Parse({{"MACROS/PACKAGES", ""},
             {"MACROS/SYSDEFINES", "USEPACKAGES"},
             {"LINKER/ALLOBJ", "c0w32.obj $(PACKAGES) x.obj"},
             {"MACROS/SPARELIBS", "a.lib"},
             {"MACROS/LIBRARIES", "b.lib"}});
  Apply(*p, "UsePackageSettings", "/PROJECT/MACROS/PACKAGES");
  EXPECT_EQ(p->ElementValue("/PROJECT/MACROS/PACKAGES"), "vcl.bpi rtl.bpi");
  EXPECT_EQ(p->ElementValue("/PROJECT/MACROS/SYSDEFINES"), "");
  EXPECT_EQ(p->ElementValue("/PROJECT/LINKER/ALLOBJ"), "c0w32.obj x.obj");
  EXPECT_EQ(p->ElementValue("/PROJECT/MACROS/LIBRARIES"), "b.lib vcl.lib rtl.lib");
  EXPECT_EQ(p->ElementValue("/PROJECT/MACROS/SPARELIBS"), "a.lib vcl.lib rtl.lib");

  action_->SetUsePackages(true);
  p = Parse({{"MACROS/PACKAGES", ""},
             {"MACROS/SYSDEFINES", "NO_STRICT"},
             {"LINKER/ALLOBJ", "c0w32.obj"},
             {"MACROS/SPARELIBS", ""},
             {"MACROS/LIBRARIES", "vcl.lib b.lib"}});
  Apply(*p, "UsePackageSettings", "/PROJECT/MACROS/PACKAGES");
  EXPECT_EQ(p->ElementValue("/PROJECT/MACROS/SYSDEFINES"), "NO_STRICT;USEPACKAGES");
  EXPECT_EQ(p->ElementValue("/PROJECT/LINKER/ALLOBJ"), "c0w32.obj $(PACKAGES)");
  EXPECT_EQ(p->ElementValue("/PROJECT/MACROS/LIBRARIES"), "b.lib");
  EXPECT_EQ(p->ElementValue("/PROJECT/MACROS/SPARELIBS"), "vcl.lib");
}

TEST_F(FamilyTest, VersionInformationAndItsComments) {
  auto p =
      Parse({}, "BCB.06.00", "\n[Version Info]\nIncludeVerInfo=1\n<!--first-->\n<!--second-->\n");
  EXPECT_EQ(p->GetVersionInfo(), "\n[Version Info]\nIncludeVerInfo=1\n");
  p->SetVersionInfo("[Version Info]\nIncludeVerInfo=0\n");
  Apply(*p, "UseVersionInfo", "/PROJECT/MACROS/VERSION");
  const auto ide = p->Document().SelectSingleNode("/PROJECT/IDEOPTIONS");
  EXPECT_EQ(ide.FirstTextChild().Data(), "[Version Info]\nIncludeVerInfo=0\n");
  ASSERT_EQ(ide.CommentChildren().size(), 2u);
  EXPECT_EQ(ide.CommentChildren()[0].Data(), "firstsecond");
  EXPECT_EQ(ide.CommentChildren()[1].Data(), "second");
}

TEST_F(FamilyTest, PascalAlignmentDependsOnTheVersion) {
  EXPECT_EQ(Parse({{"OPTIONS/PFLAGS", "-$W"}}, "BCB.05.03")->GetPascalOptions()->GetAlignFields(),
            TCBuilderPascalFieldAlign::fa8);
  EXPECT_EQ(Parse({{"OPTIONS/PFLAGS", "-$W"}})->GetPascalOptions()->GetAlignFields(),
            TCBuilderPascalFieldAlign::fa1);
  auto p = Parse({{"OPTIONS/PFLAGS", "-$Y+ -$O- -$I- -H-"}});
  const auto& r = *p->GetPascalOptions();
  EXPECT_TRUE(r.GetReferenceInfo());
  EXPECT_FALSE(r.GetDefinitionsOnly());
  EXPECT_FALSE(r.GetOptimisation());
  EXPECT_FALSE(r.GetIOChecking());
  EXPECT_FALSE(r.GetShowHints());

  action_->GetPascalOpt()->SetAlignFields(TCBuilderPascalFieldAlign::fa4);
  EXPECT_EQ(Apply(*Parse({{"OPTIONS/PFLAGS", "-$W- -$A8"}}, "BCB.05.03"), "UsePascalSettings",
                  "/PROJECT/OPTIONS/PFLAGS"),
            "/Q -$W- -$O- -$W -$J- -$YD ");
  auto six = Parse({{"OPTIONS/PFLAGS", "-$W- -$A8"}});
  EXPECT_EQ(Apply(*six, "UsePascalSettings", "/PROJECT/OPTIONS/PFLAGS"),
            "/Q -$W- -$O- -$A4 -$W -$J- -$YD ");
  EXPECT_EQ(Apply(*six, "UsePascalSettings", "/PROJECT/OPTIONS/PFLAGS"),
            "/Q /Q -$W- -$O- -$A4 -$W -$J- -$YD ");
}

TEST_F(FamilyTest, AssemblerAndLibrarian) {
  auto p = Parse({{"OPTIONS/AFLAGS", "/ZI /ML /m5 /kh16384 /mv32 /jIDEAL /la /c"}});
  const auto& a = *p->GetTASMOptions();
  EXPECT_EQ(a.GetDebugInfo(), TCBuilderTASMDebugInfo::tdFull);
  EXPECT_EQ(a.GetCaseSensitivity(), TCBuilderTASMCaseSensitivity::csGlobals);  // "/ML" is not "/ml"
  EXPECT_EQ(a.GetMaxPasses(), 5u);
  EXPECT_EQ(a.GetHashTableCapacity(), 16384u);
  EXPECT_EQ(a.GetMaxSymbolLength(), 32u);
  EXPECT_EQ(a.GetAddDirective(), "IDEAL");
  EXPECT_EQ(a.GetListingType(), TCBuilderTASMListingType::ltExpanded);
  EXPECT_TRUE(a.GetCrossReference());
  EXPECT_EQ(Parse({{"OPTIONS/AFLAGS", "/mx"}})->GetTASMOptions()->GetMaxPasses(), 1u);
  EXPECT_EQ(Parse({{"OPTIONS/AFLAGS", "/m"}})->GetTASMOptions()->GetMaxPasses(), 1u);

  auto& r = *action_->GetTASMOpt();
  r.SetCrossReference(true);
  r.SetAddDirective("IDEAL");
  r.SetMaxPasses(2);
  EXPECT_EQ(Apply(*Parse({{"OPTIONS/AFLAGS", "/mx /w2 /zd /j0"}}), "UseTASMSettings",
                  "/PROJECT/OPTIONS/AFLAGS"),
            "/j0 /zd /mx /w2 /m2 /jIDEAL ");

  auto lib = Parse({{"MACROS/PROJECT", "Code.lib"},
                    {"OPTIONS/LFLAGS", "/P64 /0 /C /0"},
                    {"MACROS/LISTFILE", "code.lst"},
                    {"MACROS/SYSDEFINES", "A;;_RTLDLL"}});
  const auto& t = *lib->GetTLibOptions();
  EXPECT_TRUE(t.GetPurgeComments());
  EXPECT_EQ(t.GetPageSize(), 64);
  EXPECT_EQ(t.GetListFile(), "code.lst");
  EXPECT_TRUE(t.GetUseRTL());
  for (const auto& [name, text] : PropertyTexts(*lib->GetTLibOptions()))
    SetPropAsString(*action_->GetTLibOpt(), name, text);
  action_->GetTLibOpt()->SetUseRTL(false);
  EXPECT_EQ(Apply(*lib, "UseTLibSettings", "/PROJECT/OPTIONS/LFLAGS"),
            "/0 /C /P64 ");  // sorted, no repeats
  EXPECT_EQ(lib->ElementValue("/PROJECT/MACROS/SYSDEFINES"), "A;;");
}
