// A product of eight independent projects whose make each keeps the processor busy for about a
// second, built by moxtal one at a time (--jobs 1), two at a time and one per processor; the
// baseline is the same tools run one after the other by a shell, without moxtal. The wall time
// of each run is measured. Then the import of groups of 20 and 200 projects that link each other.
#include <filesystem>
#include <fstream>
#include <thread>

#include "ChildProcess.h"
#include "RatioReporter.h"

namespace fs = std::filesystem;
using mx::bench::RunMeasured;

namespace {

const fs::path kFolder = fs::temp_directory_path() / "mx_groups_bench";
const std::string kMoxtal = MX_BIN_DIR "/moxtal";
const std::string kTools = MX_STANDIN_ROOT "/bin/";
constexpr int kProjects = 8;

// A C++Builder 6 project building `output` and linking `libfiles`.
std::string Project(const std::string& output, const std::string& libfiles) {
  return "<?xml version='1.0' encoding='utf-8' ?>\n<PROJECT>\n<MACROS>\n"
         "<VERSION value=\"BCB.06.00\"/>\n<PROJECT value=\"" +
         output + "\"/>\n<OBJFILES value=\"obj\\Main.obj obj\\Unit1.obj\"/>\n<LIBFILES value=\"" +
         libfiles +
         "\"/>\n<SPARELIBS value=\"vcl.lib rtl.lib\"/>\n<PACKAGES value=\"vcl.bpi rtl.bpi\"/>\n"
         "</MACROS>\n<OPTIONS>\n<CFLAG1 value=\"-Od -Vx -Ve -X- -r- -a8 -b- -k -y -v -vi- -c "
         "-tW -tWM\"/>\n<LFLAGS value=\"-D&quot;&quot; -aa -Tpe -x -Gn -v\"/>\n</OPTIONS>\n"
         "</PROJECT>\n";
}

void Prepare() {
  static const bool prepared = [] {
    fs::remove_all(kFolder);
    fs::create_directories(kFolder);
    std::ofstream(kFolder / "machine.reg")
        << "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\C++Builder\\6.0]\n\"RootDir\"=\""
        << MX_STANDIN_ROOT << "\"\n";
    std::ofstream script(kFolder / "build.mxs");
    script << "<BuildScript version=\"1\"><Actions>";
    std::ofstream tools(kFolder / "tools.sh");
    for (int i = 1; i <= kProjects; ++i) {
      const std::string name = "P" + std::to_string(i);
      fs::create_directories(kFolder / name);
      std::ofstream(kFolder / name / (name + ".bpr")) << Project(name + ".exe", "");
      script << "<Action class=\"TMxCBuilderAction\" name=\"" << name << "\">"
             << "<Property name=\"ProjectFile\" value=\"" << name << "/" << name << ".bpr\"/>"
             << "<Property name=\"RegenerateResource\" value=\"False\"/></Action>";
      // What a build runs, without moxtal: the makefile generator and make.
      tools << "cd '" << (kFolder / name).string() << "' && '" << kTools << "bpr2mak.exe' " << name
            << ".bpr && '" << kTools << "make.exe' -B -f" << name << ".MAK\n";
    }
    script << "</Actions></BuildScript>\n";

    // Groups of 20 and 200 projects in ten folders; each links the library of the one before.
    for (const int count : {20, 200}) {
      const fs::path group = kFolder / ("group" + std::to_string(count));
      fs::create_directories(group);
      std::ofstream bpg(group / "Product.bpg");
      bpg << "VERSION = BWS.01\nPROJECTS =";
      for (int i = 0; i < count; ++i)
        bpg << " \\\n  L" << i << ".lib";
      bpg << "\n\n";
      for (int i = 0; i < count; ++i) {
        const std::string folder = "part" + std::to_string(i % 10);
        const std::string name = "L" + std::to_string(i);
        fs::create_directories(group / folder);
        std::ofstream(group / folder / (name + ".bpr"))
            << Project("..\\lib\\" + name + ".lib",
                       i == 0 ? "" : "..\\lib\\L" + std::to_string(i - 1) + ".lib");
        bpg << name << ".lib: " << folder << "\\" << name << ".bpr\n  $(BPR2MAK) $**\n\n";
      }
    }
    return true;
  }();
  (void)prepared;
}

// The wall time of each run of `argv` in the bench's folder; make burns a second of processor.
void Measure(benchmark::State& state, const std::vector<std::string>& argv) {
  Prepare();
  for (auto _ : state) {
    const auto usage = RunMeasured(argv, kFolder.string(), {{"MX_STANDIN_BURN_MAKE", "1000"}});
    if (usage.ExitStatus != 0) state.SkipWithError("the run failed");
    state.SetIterationTime(usage.WallSeconds);
  }
}

void ToolsOneAfterTheOther(benchmark::State& state) {
  Measure(state, {"/bin/sh", "-e", "tools.sh"});
}

void RunJobs(benchmark::State& state) {
  Measure(state, {kMoxtal, "run", "build.mxs", "--registry", "machine.reg", "--no-save-dynamic",
                  "--jobs", std::to_string(state.range(0))});
}

void Import(benchmark::State& state) {
  Prepare();
  const fs::path group = kFolder / ("group" + std::to_string(state.range(0)));
  for (auto _ : state) {
    fs::remove(group / "build.mxs");
    const auto usage =
        RunMeasured({kMoxtal, "import", "Product.bpg", "build.mxs"}, group.string(), {});
    if (usage.ExitStatus != 0) state.SkipWithError("the import failed");
    state.SetIterationTime(usage.WallSeconds);
  }
}

}  // namespace

BENCHMARK(ToolsOneAfterTheOther)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(RunJobs)->Arg(1)->Arg(2)->Arg(0)->Iterations(2)->UseManualTime()->Unit(
    benchmark::kMillisecond);
BENCHMARK(Import)->Arg(20)->Arg(200)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  std::printf("processors: %u\n", std::thread::hardware_concurrency());
  return mx::bench::RunWithRatios(
      argc, argv,
      {{"RunJobs/1/iterations:2/manual_time", "ToolsOneAfterTheOther/iterations:2/manual_time"},
       {"RunJobs/2/iterations:2/manual_time", "RunJobs/1/iterations:2/manual_time"},
       {"RunJobs/0/iterations:2/manual_time", "RunJobs/1/iterations:2/manual_time"},
       {"Import/200/iterations:3/manual_time", "Import/20/iterations:3/manual_time"}},
      mx::bench::TTimeKind::Manual);
}
