// What a build does to a project before any tool runs (recognise, parse every family, apply
// every family, save) against a plain XML load and save of the same file, in the same run; and
// how that time grows with the size of the switch lines and lists. Both save into memory, so
// that the figures are the library's work and not the disk's; times are CPU times.
#include <filesystem>
#include <fstream>
#include <vector>

#include "RatioReporter.h"
#include "moxtal/api/Services.h"
#include "moxtal/engine/Host.h"
#include "package/action/MxCBuilderAction.h"
#include "package/projparser/MxCBuilder56ProjParser.h"
#include "platform/XmlDocument.h"

namespace fs = std::filesystem;
using namespace mx;
using namespace mx::bcc;

namespace {

std::vector<std::string> CorpusProjects() {
  std::vector<std::string> files;
  const fs::path dir = fs::path(MX_CORPUS_DIR) / "bcb56";
  if (fs::exists(dir)) {
    for (const auto& e : fs::directory_iterator(dir))
      files.push_back(e.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// A project with `n` object files, `n` linker switches and `n` compiler include switches.
std::string Generated(int n) {
  const fs::path path = fs::temp_directory_path() / ("mx_bench_" + std::to_string(n) + ".bpr");
  if (fs::exists(path)) return path.string();
  std::string objs, lflags = "-aa -Tpe -x -Gn -v", cflags = "-Od -v -c", libs;
  for (int i = 0; i < n; ++i) {
    objs += "obj\\Unit" + std::to_string(i) + ".obj ";
    lflags += " -LC:\\libs\\lib" + std::to_string((i * 7919) % n);
    cflags += " -IC:\\include\\dir" + std::to_string(i);
    libs += "lib" + std::to_string(i) + ".lib ";
  }
  std::ofstream(path, std::ios::binary)
      << "<?xml version='1.0' encoding='utf-8' ?>\r\n<PROJECT>\r\n  <MACROS>\r\n"
         "    <VERSION value=\"BCB.06.00\"/>\r\n    <PROJECT value=\"bin\\Big.exe\"/>\r\n"
         "    <OBJFILES value=\""
      << objs << "\"/>\r\n    <LIBRARIES value=\"" << libs
      << "\"/>\r\n"
         "    <SPARELIBS value=\"vcl.lib\"/>\r\n    <PACKAGES value=\"vcl.bpi rtl.bpi\"/>\r\n"
         "    <SYSDEFINES value=\"_RTLDLL;NO_STRICT\"/>\r\n    <USERDEFINES value=\"_DEBUG\"/>\r\n"
         "    <LIBPATH value=\"$(BCB)\\lib\"/>\r\n    <INCLUDEPATH value=\"$(BCB)\\include\"/>\r\n"
         "    <WARNINGS value=\"-w-par\"/>\r\n  </MACROS>\r\n  <OPTIONS>\r\n"
         "    <CFLAG1 value=\""
      << cflags << "\"/>\r\n    <LFLAGS value=\"" << lflags
      << "\"/>\r\n"
         "    <PFLAGS value=\"-$YD -$W -v\"/>\r\n    <AFLAGS value=\"/mx /w2 /zd\"/>\r\n"
         "    <IDLCFLAGS value=\"-boa\"/>\r\n  </OPTIONS>\r\n  <LINKER>\r\n"
         "    <ALLOBJ value=\"c0w32.obj $(PACKAGES) Memmgr.Lib sysinit.obj $(OBJFILES)\"/>\r\n"
         "    <ALLLIB value=\"$(LIBFILES) $(LIBRARIES) import32.lib cp32mti.lib\"/>\r\n  "
         "</LINKER>\r\n"
         "  <IDEOPTIONS>\r\n[Version Info]\r\nIncludeVerInfo=1\r\n[Compiler]\r\nLinkCGLIB=0\r\n  "
         "</IDEOPTIONS>\r\n"
         "</PROJECT>\r\n";
  return path.string();
}

void Build(const std::vector<std::string>& files, TMxCBuilderAction& action) {
  for (const auto& file : files) {
    auto parser = CBuilderProjectParserFactory(MxDesignApplicationServices())
                      ->CreateProjectParser(file, nullptr, AllParserOptions());
    parser->ParseProjectFile();
    parser->ApplyChanges(action, false);
    const auto& document = dynamic_cast<TMxCBuilder56ProjectParser&>(*parser).Document();
    benchmark::DoNotOptimize(document.SaveToText().size());
  }
}

void LoadSave(const std::vector<std::string>& files) {
  for (const auto& file : files)
    benchmark::DoNotOptimize(platform::TXmlDocument::LoadFromFile(file).SaveToText().size());
}

std::vector<std::string> Files(int n) {
  return n == 0 ? CorpusProjects() : std::vector<std::string>{Generated(n)};
}

void ParseApplySave(benchmark::State& state) {
  const auto files = Files(static_cast<int>(state.range(0)));
  if (files.empty()) state.SkipWithError("no corpus");
  TMxCBuilderAction action;
  action.SetUsesFamily(TSettingsFamily::sfTLib, true);
  for (auto _ : state)
    Build(files, action);
}

void XmlLoadSave(benchmark::State& state) {
  const auto files = Files(static_cast<int>(state.range(0)));
  if (files.empty()) state.SkipWithError("no corpus");
  for (auto _ : state)
    LoadSave(files);
}

}  // namespace

// Argument 0: every corpus project; otherwise a generated project of that many items.
BENCHMARK(ParseApplySave)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(XmlLoadSave)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  engine::THost::Instance().SetHostFolder(MX_BIN_DIR);
  return bench::RunWithRatios(argc, argv,
                              {{"ParseApplySave/0", "XmlLoadSave/0"},
                               {"ParseApplySave/1000", "XmlLoadSave/1000"},
                               {"ParseApplySave/10000", "XmlLoadSave/10000"},
                               {"ParseApplySave/10000", "ParseApplySave/1000"}});
}
