// Every switch of the compiler, C++, linker and Pascal families, one row at a time, against text
// written out by hand from the documented switch lists: what a switch string reads as, and what
// one setting writes into a line that already holds every form of its switch. A switch spelt
// wrongly in either direction fails a row here even when the read and the write agree.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "moxtal/api/Reflection.h"
#include "package/projparser/FamilyFixture_test.h"

using namespace mx;
using namespace mx::bcc;
using mx::bcc::families::FamilyTest;

namespace {

// "Name=Value;Name=Value" as pairs.
std::vector<std::pair<std::string, std::string>> Assignments(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> result;
  std::stringstream in(text);
  for (std::string item; std::getline(in, item, ';');) {
    const auto eq = item.find('=');
    result.emplace_back(item.substr(0, eq), item.substr(eq + 1));
  }
  return result;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::stringstream in(text);
  for (std::string word; in >> word;)
    words.push_back(word);
  return words;
}

// A switch line and the settings it reads as ("Name=Value;...").
struct TReadRow {
  const char* flags;
  const char* reads;
  const char* version = "BCB.06.00";
};

// A switch line, the settings of the action, the switches the write leaves exactly once and
// the switches it leaves out.
struct TWriteRow {
  const char* flags;
  const char* sets;
  const char* written;
  const char* gone;
  const char* version = "BCB.06.00";
};

struct TFamily {
  const char* element;  // under PROJECT
  const char* use;      // the action's Use...Settings flag
  std::function<IPersistentObject&(TMxCBuilder56ProjectParser&)> parsed;
  std::function<IPersistentObject&(TMxCBuilderAction&)> record;
};

}  // namespace

class SwitchGoldenTest : public FamilyTest {
 protected:
  void Reads(const TFamily& family, const std::vector<TReadRow>& rows) {
    for (const auto& row : rows) {
      auto parser = Parse({{family.element, row.flags}}, row.version);
      auto& record = family.parsed(*parser);
      for (const auto& [name, value] : Assignments(row.reads))
        EXPECT_EQ(GetPropAsString(record, name), value) << '"' << row.flags << "\" " << name;
    }
  }

  void Writes(const TFamily& family, const std::vector<TWriteRow>& rows) {
    const std::string path = std::string("/PROJECT/") + family.element;
    for (const auto& row : rows) {
      auto& record = family.record(*action_);
      std::vector<std::pair<std::string, std::string>> before;
      for (const auto& [name, value] : Assignments(row.sets)) {
        before.emplace_back(name, GetPropAsString(record, name));
        SetPropAsString(record, name, value);
      }
      auto parser = Parse({{family.element, row.flags}}, row.version);
      const auto words = Words(Apply(*parser, family.use, path.c_str()));
      const auto count = [&words](const std::string& w) {
        return std::count(words.begin(), words.end(), w);
      };
      const auto where = '"' + std::string(row.flags) + "\" with " + row.sets;
      for (const auto& w : Words(row.written))
        EXPECT_EQ(count(w), 1) << where << ": " << w;
      for (const auto& w : Words(row.gone))
        EXPECT_EQ(count(w), 0) << where << ": " << w;
      for (const auto& [name, value] : before)
        SetPropAsString(record, name, value);
    }
  }
};

TEST_F(SwitchGoldenTest, Compiler) {
  const TFamily compiler{"OPTIONS/CFLAG1", "UseCompilerSettings",
                         [](auto& p) -> IPersistentObject& { return *p.GetCompilerOptions(); },
                         [](auto& a) -> IPersistentObject& { return *a.GetCompilerOpt(); }};
  Reads(compiler,
        {{"-Od -O2", "Optimisation=[]"},
         {"-O2 -Oi", "Optimisation=[coInlineIntrinsic,coInductionVariables,coCommonSubExpression]"},
         {"-Oi", "Optimisation=[coInlineIntrinsic]"},
         {"-Ov", "Optimisation=[coInductionVariables]"},
         {"-Og", "Optimisation=[coCommonSubExpression]"},
         {"-OS", "Optimisation=[coPentiumScheduling]"},
         {"-H=\"a b.csm\"", "PreCompiledHeaders=pcUse;PreCompFile=a b.csm"},
         {"-H=a.csm -Hc", "PreCompiledHeaders=pcCache"},
         {"-Hc -H -Hh", "PreCompiledHeaders=pcCache;StopAfterFile="},
         {"-Hh=stop.h", "StopAfterFile=stop.h;PreCompiledHeaders=pcNone"},
         {"-v -y -d -k -b -Q",
          "DebugInfo=True;LineNoInfo=True;MergeDupStrings=True;StackFrames=True;"
          "EnumsAsInt=True;ExtendedErrorInfo=True;DisableInline=True"},
         {"-v- -y- -d- -k- -b- -Q- -vi",
          "DebugInfo=False;LineNoInfo=False;MergeDupStrings=False;StackFrames=False;"
          "EnumsAsInt=False;ExtendedErrorInfo=False;DisableInline=False"},
         {"-vi-", "DisableInline=True"},
         {"-w -w-", "OutputWarnings=cwAll"},
         {"-w-", "OutputWarnings=cwNone"},
         {"-W", "OutputWarnings=cwSelected"}});

  const char* all = "-Od -O2 -Oi -Ov -Og -OS";
  Writes(
      compiler,
      {{all, "Optimisation=[]", "-Od", "-O2 -Oi -Ov -Og -OS"},
       {all, "Optimisation=[coInlineIntrinsic,coInductionVariables,coCommonSubExpression]", "-O2",
        "-Od -Oi -Ov -Og -OS"},
       {all,
        "Optimisation=[coInlineIntrinsic,coInductionVariables,coCommonSubExpression,"
        "coPentiumScheduling]",
        "-Oi -Ov -Og -OS", "-Od -O2"},
       {"-H -Hc -Hh -H=old.csm", "PreCompiledHeaders=pcNone;StopAfterFile=s.h", "",
        "-H -Hc -Hh -H=old.csm -Hh='s.h'"},
       {"-H -Hc -Hh -H=old.csm", "PreCompiledHeaders=pcCache;PreCompFile=new.csm;StopAfterFile=s.h",
        "-H=new.csm -Hc -Hh='s.h'", "-H -Hh -H=old.csm"},
       {"-Hc", "PreCompiledHeaders=pcUse;PreCompFile=new.csm;StopAfterFile=", "-H=new.csm",
        "-Hc -Hh=''"},
       {"-w -w-", "OutputWarnings=cwNone", "-w-", "-w"},
       {"-w -w-", "OutputWarnings=cwAll", "-w", "-w-"},
       {"-w -w-", "OutputWarnings=cwSelected", "", "-w -w-"},
       {"-v -v-", "DebugInfo=True", "-v", "-v-"},
       {"-v -v-", "DebugInfo=False", "-v-", "-v"},
       {"-d -d-", "MergeDupStrings=True", "-d", "-d-"},
       {"-d -d-", "MergeDupStrings=False", "", "-d -d-"},
       {"-b -b-", "EnumsAsInt=True", "-b", "-b-"},
       {"-b -b-", "EnumsAsInt=False", "-b-", "-b"},
       {"-k -k-", "StackFrames=True", "-k", "-k-"},
       {"-k -k-", "StackFrames=False", "-k-", "-k"},
       {"-y -y-", "LineNoInfo=True", "-y", "-y-"},
       {"-y -y-", "LineNoInfo=False", "", "-y -y-"},
       {"-vi -vi-", "DisableInline=True", "-vi-", "-vi"},
       {"-vi -vi-", "DisableInline=False", "-vi", "-vi-"},
       {"-Q -Q-", "ExtendedErrorInfo=True", "-Q", "-Q-"},
       {"-Q -Q-", "ExtendedErrorInfo=False", "", "-Q -Q-"}});
}

TEST_F(SwitchGoldenTest, AdvancedCompiler) {
  const TFamily advanced{"OPTIONS/CFLAG1", "UseAdvCompilerSettings",
                         [](auto& p) -> IPersistentObject& { return *p.GetAdvCompilerOptions(); },
                         [](auto& a) -> IPersistentObject& { return *a.GetAdvCompilerOpt(); }};
  Reads(advanced,
        {{"-3 -4", "InstructionSet=is386"},
         {"-4 -5", "InstructionSet=is486"},
         {"-5 -6", "InstructionSet=isPentium"},
         {"-6", "InstructionSet=isPentiumPro"},
         {"-a- -a8", "DataAlignment=daByte"},
         {"-a1 -a8", "DataAlignment=daByte"},
         {"-a2 -a8", "DataAlignment=daWord"},
         {"-a4 -a8", "DataAlignment=daDoubleWord"},
         {"-a1 -a", "DataAlignment=daByte"},
         {"-p -p-", "CallingConvention=ccPascal"},
         {"-p- -pr", "CallingConvention=ccC"},
         {"-pc -pr", "CallingConvention=ccC"},
         {"-pr -ps", "CallingConvention=ccRegister"},
         {"-ps", "CallingConvention=ccStdCall"},
         {"-r -rd", "RegisterVariables=rvAuto"},
         {"-r- -rd", "RegisterVariables=rvNone"},
         {"-rd", "RegisterVariables=rvKeyword"},
         {"-X -X-", "OutputAutoDepInfo=False"},
         {"-X-", "OutputAutoDepInfo=True"},
         {"-u -u-", "GenerateUnderscores=True"},
         {"-u-", "GenerateUnderscores=False"},
         {"-f- -ff -fp",
          "FloatingPointNone=True;FloatingPointFast=True;"
          "FloatingPointFixFDIV=True"},
         {"-f -ff- -fp-",
          "FloatingPointNone=False;FloatingPointFast=False;"
          "FloatingPointFixFDIV=False"},
         {"-A- -A", "LanguageCompliance=lcBorland"},
         {"-A -AU", "LanguageCompliance=lcANSI"},
         {"-AU -AK", "LanguageCompliance=lcUnixV"},
         {"-AK", "LanguageCompliance=lcKR"},
         {"-C -VF -i32", "NestedComments=True;MFCCompatibility=True;IdentifierLength=32"},
         {"-C- -VF- -ixyz", "NestedComments=False;MFCCompatibility=False;IdentifierLength=250"}});

  Writes(advanced,
         {{"-3 -4 -5 -6", "InstructionSet=is386", "", "-3 -4 -5 -6"},
          {"-3 -4 -5 -6", "InstructionSet=is486", "-4", "-3 -5 -6"},
          {"-3 -4 -5 -6", "InstructionSet=isPentium", "-5", "-3 -4 -6"},
          {"-3 -4 -5 -6", "InstructionSet=isPentiumPro", "-6", "-3 -4 -5"},
          {"-a -a- -a1 -a2 -a4 -a8", "DataAlignment=daByte", "-a1", "-a -a- -a2 -a4 -a8"},
          {"-a -a- -a1 -a2 -a4 -a8", "DataAlignment=daWord", "-a2", "-a -a- -a1 -a4 -a8"},
          {"-a -a- -a1 -a2 -a4 -a8", "DataAlignment=daDoubleWord", "-a4", "-a -a- -a1 -a2 -a8"},
          {"-a -a- -a1 -a2 -a4 -a8", "DataAlignment=daQuadWord", "-a8", "-a -a- -a1 -a2 -a4"},
          {"-p -p- -pc -pr -ps", "CallingConvention=ccC", "", "-p -p- -pc -pr -ps"},
          {"-p -p- -pc -pr -ps", "CallingConvention=ccPascal", "-p", "-p- -pc -pr -ps"},
          {"-p -p- -pc -pr -ps", "CallingConvention=ccRegister", "-pr", "-p -p- -pc -ps"},
          {"-p -p- -pc -pr -ps", "CallingConvention=ccStdCall", "-ps", "-p -p- -pc -pr"},
          {"-r- -r -rd", "RegisterVariables=rvNone", "-r-", "-r -rd"},
          {"-r- -r -rd", "RegisterVariables=rvAuto", "-r", "-r- -rd"},
          {"-r- -r -rd", "RegisterVariables=rvKeyword", "-rd", "-r- -r"},
          {"-X -X-", "OutputAutoDepInfo=True", "-X-", "-X"},
          {"-X -X-", "OutputAutoDepInfo=False", "-X", "-X-"},
          {"-u -u-", "GenerateUnderscores=True", "", "-u -u-"},
          {"-u -u-", "GenerateUnderscores=False", "-u-", "-u"},
          {"-f -f-", "FloatingPointNone=True", "-f-", "-f"},
          {"-f -f-", "FloatingPointNone=False", "", "-f -f-"},
          {"-ff -ff-", "FloatingPointFast=True", "-ff", "-ff-"},
          {"-ff -ff-", "FloatingPointFast=False", "", "-ff -ff-"},
          {"-fp -fp-", "FloatingPointFixFDIV=True", "-fp", "-fp-"},
          {"-fp -fp-", "FloatingPointFixFDIV=False", "", "-fp -fp-"},
          {"-A- -AU -AK -A", "LanguageCompliance=lcBorland", "", "-A- -AU -AK -A"},
          {"-A- -AU -AK -A", "LanguageCompliance=lcANSI", "-A", "-A- -AU -AK"},
          {"-A- -AU -AK -A", "LanguageCompliance=lcUnixV", "-AU", "-A- -AK -A"},
          {"-A- -AU -AK -A", "LanguageCompliance=lcKR", "-AK", "-A- -AU -A"},
          {"-C -C-", "NestedComments=True", "-C", "-C-"},
          {"-C -C-", "NestedComments=False", "", "-C -C-"},
          {"-VF", "MFCCompatibility=True", "-VF", ""},
          {"-VF", "MFCCompatibility=False", "", "-VF"},
          {"-i32", "IdentifierLength=250", "", "-i32 -i250"},
          {"-i32", "IdentifierLength=40", "-i40", "-i32"}});
}

TEST_F(SwitchGoldenTest, Cpp) {
  const TFamily cpp{"OPTIONS/CFLAG1", "UseCPPSettings",
                    [](auto& p) -> IPersistentObject& { return *p.GetCPPOptions(); },
                    [](auto& a) -> IPersistentObject& { return *a.GetCppOpt(); }};
  Reads(cpp, {{"-Vmv -Vmm", "MemberPointers=mpAllCases"},
              {"-Vmm -Vms", "MemberPointers=mpMultipleInheritance"},
              {"-Vms -Vmd", "MemberPointers=mpSingleInheritance"},
              {"-Vmd", "MemberPointers=mpSmallest"},
              {"-V0 -V1", "VirtualTables=vtExternal"},
              {"-V1 -Vs", "VirtualTables=vtPublic"},
              {"-Vs", "VirtualTables=vtLocal"},
              {"-Vmp -Ve -Vx -Vd -VC -Jgx -xf -xp -P",
               "HonourMemberPrecision=True;ZeroLengthEmptyBaseClasses=True;"
               "ZeroLengthEmptyClassMembers=True;DontRestrictForLoop=True;"
               "DontMangleCodeModifiers=True;ExternalTemplates=True;FastExceptionPrologs=True;"
               "LocalInformation=True;ForceCPPCompile=True;EnabledRTTI=True;"
               "EnabledExceptions=True;DestructorCleanup=True;VirtualTables=vtSmart"},
              {"-RT- -x- -xd-",
               "EnabledRTTI=False;EnabledExceptions=False;"
               "DestructorCleanup=False;DontMangleCodeModifiers=False"}});

  const char* pointers = "-Vmv -Vmm -Vms -Vmd";
  const char* tables = "-V0 -V1 -Vs";
  std::vector<TWriteRow> rows = {
      {pointers, "MemberPointers=mpAllCases", "", pointers},
      {pointers, "MemberPointers=mpMultipleInheritance", "-Vmm", "-Vmv -Vms -Vmd"},
      {pointers, "MemberPointers=mpSingleInheritance", "-Vms", "-Vmv -Vmm -Vmd"},
      {pointers, "MemberPointers=mpSmallest", "-Vmd", "-Vmv -Vmm -Vms"},
      {tables, "VirtualTables=vtSmart", "", tables},
      {tables, "VirtualTables=vtLocal", "-Vs", "-V0 -V1"},
      {tables, "VirtualTables=vtExternal", "-V0", "-V1 -Vs"},
      {tables, "VirtualTables=vtPublic", "-V1", "-V0 -Vs"}};
  const std::pair<const char*, const char*> whenTrue[] = {{"HonourMemberPrecision", "-Vmp"},
                                                          {"ZeroLengthEmptyBaseClasses", "-Ve"},
                                                          {"ZeroLengthEmptyClassMembers", "-Vx"},
                                                          {"DontRestrictForLoop", "-Vd"},
                                                          {"DontMangleCodeModifiers", "-VC"},
                                                          {"ExternalTemplates", "-Jgx"},
                                                          {"FastExceptionPrologs", "-xf"},
                                                          {"LocalInformation", "-xp"},
                                                          {"ForceCPPCompile", "-P"}};
  std::vector<std::string> texts;
  texts.reserve(4 * std::size(whenTrue) + 12);
  const auto keep = [&texts](std::string s) { return texts.emplace_back(std::move(s)).c_str(); };
  for (const auto& [name, word] : whenTrue) {
    rows.push_back({word, keep(std::string(name) + "=True"), word, ""});
    rows.push_back({word, keep(std::string(name) + "=False"), "", word});
  }
  for (const auto& [name, word] : {std::pair{"EnabledRTTI", "-RT-"},
                                   {"EnabledExceptions", "-x-"},
                                   {"DestructorCleanup", "-xd-"}}) {
    rows.push_back({word, keep(std::string(name) + "=False"), word, ""});
    rows.push_back({word, keep(std::string(name) + "=True"), "", word});
  }
  Writes(cpp, rows);
}

TEST_F(SwitchGoldenTest, Linker) {
  const TFamily linker{"OPTIONS/LFLAGS", "UseLinkerSettings",
                       [](auto& p) -> IPersistentObject& { return *p.GetLinkerOptions(); },
                       [](auto& a) -> IPersistentObject& { return *a.GetLinkerOpt(); }};
  Reads(linker, {{"-w -v -Gn -M -Gl",
                  "LinkerWarnings=lwAll;DebugInfo=True;DontGenerateStateFile=True;"
                  "ShowMangledNames=True;GenerateLibFile=True"},
                 {"-W -v- -Gn- -m-",
                  "LinkerWarnings=lwSelected;DebugInfo=False;DontGenerateStateFile=False;"
                  "ShowMangledNames=False;GenerateLibFile=False;MapFile=cmSegments"},
                 {"-x -m -s", "MapFile=cmOff"},
                 {"-m -s", "MapFile=cmPublics"},
                 {"-s", "MapFile=cmDetailed"},
                 {"-V5.1 -E7", "SubSystemMajor=5;SubSystemMinor=1;MaxErrors=7"},
                 {"-H:0x2000 -HC:0x3000 -S:0x4000 -Sc:0x5000 -B:0x10000000",
                  "MinHeapSize=8192;MaxHeapSize=12288;MinStackSize=16384;MaxStackSize=20480;"
                  "ImageBase=268435456"},
                 {"",
                  "MinHeapSize=4096;MaxHeapSize=1048576;MinStackSize=8192;"
                  "MaxStackSize=1048576;ImageBase=4194304"}});
  Writes(linker,
         {{"-w", "LinkerWarnings=lwAll", "-w", ""},
          {"-w", "LinkerWarnings=lwSelected", "", "-w"},
          {"-v -v-", "DebugInfo=True", "-v", "-v-"},
          {"-v -v-", "DebugInfo=False", "", "-v -v-"},
          {"-Gn -Gn-", "DontGenerateStateFile=True", "-Gn", "-Gn-"},
          {"-Gn -Gn-", "DontGenerateStateFile=False", "", "-Gn -Gn-"},
          {"-x -m -s", "MapFile=cmOff", "-x", "-m -s"},
          {"-x -m -s", "MapFile=cmPublics", "-m", "-x -s"},
          {"-x -m -s", "MapFile=cmDetailed", "-s", "-x -m"},
          {"-x -m -s", "MapFile=cmSegments", "", "-x -m -s"},
          {"-M -Gl", "ShowMangledNames=True;GenerateLibFile=True", "-M -Gl", ""},
          {"-M -Gl", "ShowMangledNames=False;GenerateLibFile=False", "", "-M -Gl"},
          {"-V4.0 -E9", "SubSystemMajor=5;SubSystemMinor=0;MaxErrors=2", "-V5.0 -E2", "-V4.0 -E9"},
          {"-V5.0 -E9", "SubSystemMajor=4;SubSystemMinor=0;MaxErrors=1", "", "-V5.0 -V4.0 -E9 -E1"},
          {"-H:0x9000 -HC:0x9000 -S:0x9000 -Sc:0x9000 -B:0x9000",
           "MinHeapSize=8192;MaxHeapSize=12288;MinStackSize=16384;MaxStackSize=20480;"
           "ImageBase=268435456",
           "-H:0x2000 -HC:0x3000 -S:0x4000 -Sc:0x5000 -B:0x10000000",
           "-H:0x9000 -HC:0x9000 -S:0x9000 -Sc:0x9000 -B:0x9000"},
          {"-H:0x9000 -HC:0x9000 -S:0x9000 -Sc:0x9000 -B:0x9000",
           "MinHeapSize=4096;MaxHeapSize=1048576;MinStackSize=8192;"
           "MaxStackSize=1048576;ImageBase=4194304",
           "", "-H:0x9000 -HC:0x9000 -S:0x9000 -Sc:0x9000 -B:0x9000 -H:0x1000"}});

  const TFamily advanced{"OPTIONS/LFLAGS", "UseAdvLinkerSettings",
                         [](auto& p) -> IPersistentObject& { return *p.GetAdvLinkerOptions(); },
                         [](auto& a) -> IPersistentObject& { return *a.GetAdvLinkerOpt(); }};
  Reads(advanced,
        {{"-c- -Gz -Rr -U2.5 -dold.dll -GCnote",
          "CaseInsensitiveLink=True;CalcCheckSum=True;ReplaceResources=True;"
          "UserMajorVersion=2;UserMinorVersion=5;DelayLoadDLLS=old.dll;"
          "ImageComment=note"},
         {"-c -Gz- -Rr-", "CaseInsensitiveLink=False;CalcCheckSum=False;ReplaceResources=False"}});
  Writes(advanced, {{"-c- -c", "CaseInsensitiveLink=True", "-c-", "-c"},
                    {"-c- -c", "CaseInsensitiveLink=False", "", "-c- -c"},
                    {"-Gz -Rr", "CalcCheckSum=True;ReplaceResources=True", "-Gz -Rr", ""},
                    {"-Gz -Rr", "CalcCheckSum=False;ReplaceResources=False", "", "-Gz -Rr"},
                    {"-dold.dll -GCold -U1.1",
                     "DelayLoadDLLS=new.dll;ImageComment=new;UserMajorVersion=2;"
                     "UserMinorVersion=5",
                     "-dnew.dll -GCnew -U2.5", "-dold.dll -GCold -U1.1"}});
}

TEST_F(SwitchGoldenTest, Pascal) {
  const TFamily pascal{"OPTIONS/PFLAGS", "UsePascalSettings",
                       [](auto& p) -> IPersistentObject& { return *p.GetPascalOptions(); },
                       [](auto& a) -> IPersistentObject& { return *a.GetPascalOpt(); }};
  Reads(pascal,
        {{"-$O- -$W -$U -$V- -$B -$X- -$T -$P- -$H- -$J- -$R -$I- -$Q -$D- -$L- -$C- -H- -W-",
          "Optimisation=False;StackFrames=True;SafeDivide=True;VarStringChecks=False;"
          "BoolEval=True;ExtendedSyntax=False;TypedPointers=True;OpenStrings=False;"
          "HugeStrings=False;AssignableConst=False;RangeChecking=True;IOChecking=False;"
          "OverflowChecking=True;DebugInfo=False;LocalSymbols=False;Assertions=False;"
          "ShowHints=False;ShowWarnings=False"},
         {"-$O -$W- -$V -$R- -$D",
          "Optimisation=True;StackFrames=False;SafeDivide=False;VarStringChecks=True;"
          "BoolEval=False;ExtendedSyntax=True;TypedPointers=False;OpenStrings=True;"
          "HugeStrings=True;AssignableConst=True;RangeChecking=False;IOChecking=True;"
          "OverflowChecking=False;DebugInfo=True;LocalSymbols=True;Assertions=True;"
          "ShowHints=True;ShowWarnings=True"},
         {"-$Y- -$Y+", "ReferenceInfo=False"},
         {"-$Y+ -$YD", "ReferenceInfo=True;DefinitionsOnly=False"},
         {"-$YD", "ReferenceInfo=True;DefinitionsOnly=True"},
         {"-$A -$A2", "AlignFields=fa8"},
         {"-$A1 -$A2", "AlignFields=fa1"},
         {"-$A2 -$A4", "AlignFields=fa2"},
         {"-$A4 -$A8", "AlignFields=fa4"},
         {"-$A8", "AlignFields=fa8"},
         {"-$A-", "AlignFields=fa1"},
         {"-$A -$A-", "AlignFields=fa8", "BCB.05.03"},
         {"-$A-", "AlignFields=fa1", "BCB.05.03"},
         {"-$A1", "AlignFields=fa8", "BCB.05.03"}});

  const char* align = "-$A- -$A -$A1 -$A2 -$A4 -$A8";
  const char* refs = "-$Y- -$Y+ -$YD";
  std::vector<TWriteRow> rows = {
      {"-$O- -$O", "Optimisation=True", "-$O", "-$O-"},
      {"-$O- -$O", "Optimisation=False", "-$O-", "-$O"},
      {align, "AlignFields=fa1", "-$A1", "-$A- -$A -$A2 -$A4 -$A8"},
      {align, "AlignFields=fa2", "-$A2", "-$A- -$A -$A1 -$A4 -$A8"},
      {align, "AlignFields=fa4", "-$A4", "-$A- -$A -$A1 -$A2 -$A8"},
      {align, "AlignFields=fa8", "-$A8", "-$A- -$A -$A1 -$A2 -$A4"},
      {align, "AlignFields=fa1", "-$A-", "-$A -$A1 -$A2 -$A4 -$A8", "BCB.05.03"},
      {align, "AlignFields=fa8", "", align, "BCB.05.03"},
      {refs, "ReferenceInfo=False", "-$Y-", "-$Y+ -$YD"},
      {refs, "ReferenceInfo=True;DefinitionsOnly=False", "-$Y+", "-$Y- -$YD"},
      {refs, "ReferenceInfo=True;DefinitionsOnly=True", "-$YD", "-$Y- -$Y+"}};
  std::vector<std::string> texts;
  texts.reserve(64);
  const auto keep = [&texts](std::string s) { return texts.emplace_back(std::move(s)).c_str(); };
  for (const auto& [name, word] : {std::pair{"StackFrames", "-$W"},
                                   {"SafeDivide", "-$U"},
                                   {"BoolEval", "-$B"},
                                   {"TypedPointers", "-$T"},
                                   {"RangeChecking", "-$R"},
                                   {"OverflowChecking", "-$Q"}}) {
    rows.push_back({word, keep(std::string(name) + "=True"), word, ""});
    rows.push_back({word, keep(std::string(name) + "=False"), "", word});
  }
  for (const auto& [name, word] : {std::pair{"VarStringChecks", "-$V-"},
                                   {"ExtendedSyntax", "-$X-"},
                                   {"OpenStrings", "-$P-"},
                                   {"HugeStrings", "-$H-"},
                                   {"AssignableConst", "-$J-"},
                                   {"IOChecking", "-$I-"},
                                   {"DebugInfo", "-$D-"},
                                   {"LocalSymbols", "-$L-"},
                                   {"Assertions", "-$C-"},
                                   {"ShowHints", "-H-"},
                                   {"ShowWarnings", "-W-"}}) {
    rows.push_back({word, keep(std::string(name) + "=False"), word, ""});
    rows.push_back({word, keep(std::string(name) + "=True"), "", word});
  }
  Writes(pascal, rows);
}
