// A build whose make prints 10 MB or 100 MB, through moxtal's text log and its JSON log, against
// the same make piped to `cat >/dev/null`: the CPU time of the whole run (moxtal and its tools,
// or the shell, make and cat), and moxtal's peak memory, which must stay flat.
#include <filesystem>
#include <fstream>

#include "ChildProcess.h"
#include "RatioReporter.h"

namespace fs = std::filesystem;
using mx::bench::RunMeasured;

namespace {

const fs::path kFolder = fs::temp_directory_path() / "mx_streaming_bench";
const std::string kMoxtal = MX_BIN_DIR "/moxtal";
const std::string kMake = MX_STANDIN_ROOT "/bin/make.exe";

// About sixty bytes a line.
long LinesFor(long megabytes) {
  return megabytes * 1000 * 1000 / 60;
}

void Prepare() {
  static const bool prepared = [] {
    fs::remove_all(kFolder);
    fs::create_directories(kFolder);
    std::ofstream(kFolder / "App.bpr")
        << "<?xml version='1.0' encoding='utf-8' ?>\n<PROJECT>\n<MACROS>\n"
           "<VERSION value=\"BCB.06.00\"/>\n<PROJECT value=\"App.exe\"/>\n</MACROS>\n</PROJECT>\n";
    std::ofstream(kFolder / "machine.reg")
        << "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\C++Builder\\6.0]\n\"RootDir\"=\""
        << MX_STANDIN_ROOT << "\"\n";
    std::ofstream(kFolder / "build.mxs")
        << "<BuildScript version=\"1\"><Actions><Action class=\"TMxCBuilderAction\" name=\"B\">"
           "<Property name=\"ProjectFile\" value=\"App.bpr\"/>"
           "<Property name=\"RegenerateResource\" value=\"False\"/>"
           "</Action></Actions></BuildScript>\n";
    // One build writes the temporary project and makefile that the piped make reads.
    RunMeasured({kMoxtal, "run", "build.mxs", "--registry", "machine.reg"}, kFolder.string(), {});
    return true;
  }();
  (void)prepared;
}

// The argument is the megabytes make prints; with `warnings`, a quarter of its lines are
// compiler warnings.
void Measure(benchmark::State& state, const std::vector<std::string>& argv, bool warnings = false) {
  Prepare();
  const std::string lines = std::to_string(LinesFor(state.range(0)));
  std::vector<std::pair<std::string, std::string>> environment{{"MX_STANDIN_LINES_MAKE", lines}};
  if (warnings) environment.emplace_back("MX_STANDIN_WARNINGS_MAKE", "4");
  double peak = 0;
  for (auto _ : state) {
    const auto usage = RunMeasured(argv, kFolder.string(), environment);
    if (usage.ExitStatus != 0) state.SkipWithError("the run failed");
    state.SetIterationTime(usage.CpuSeconds);
    peak = std::max(peak, usage.PeakMegabytes);
  }
  state.counters["peak_MB"] = peak;
}

void PipedToCat(benchmark::State& state) {
  Measure(state, {"/bin/sh", "-c", "'" + kMake + "' -B -fMxTemp.MAK | cat >/dev/null"});
}

void TextLog(benchmark::State& state) {
  Measure(state, {kMoxtal, "run", "build.mxs", "--registry", "machine.reg"});
}

void JsonLog(benchmark::State& state) {
  Measure(state,
          {kMoxtal, "run", "build.mxs", "--registry", "machine.reg", "--log-format", "json"});
}

void WarningsPipedToCat(benchmark::State& state) {
  Measure(state, {"/bin/sh", "-c", "'" + kMake + "' -B -fMxTemp.MAK | cat >/dev/null"}, true);
}

void WarningsTextLog(benchmark::State& state) {
  Measure(state, {kMoxtal, "run", "build.mxs", "--registry", "machine.reg"}, true);
}

void WarningsJsonLog(benchmark::State& state) {
  Measure(state, {kMoxtal, "run", "build.mxs", "--registry", "machine.reg", "--log-format", "json"},
          true);
}

// Every warning also goes into a SARIF log and a GitHub annotation.
void WarningsSarifAndAnnotations(benchmark::State& state) {
  Measure(state,
          {kMoxtal, "run", "build.mxs", "--registry", "machine.reg", "--sarif", "out.sarif",
           "--annotations", "github"},
          true);
}

}  // namespace

BENCHMARK(PipedToCat)->Arg(10)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TextLog)->Arg(10)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(JsonLog)->Arg(10)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(WarningsPipedToCat)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(WarningsTextLog)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(WarningsJsonLog)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(WarningsSarifAndAnnotations)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  return mx::bench::RunWithRatios(
      argc, argv,
      {{"TextLog/100/manual_time", "PipedToCat/100/manual_time"},
       {"JsonLog/100/manual_time", "PipedToCat/100/manual_time"},
       {"TextLog/10/manual_time", "PipedToCat/10/manual_time"},
       {"JsonLog/10/manual_time", "PipedToCat/10/manual_time"},
       {"WarningsTextLog/100/manual_time", "WarningsPipedToCat/100/manual_time"},
       {"WarningsJsonLog/100/manual_time", "WarningsPipedToCat/100/manual_time"},
       {"WarningsSarifAndAnnotations/100/manual_time", "WarningsPipedToCat/100/manual_time"}},
      mx::bench::TTimeKind::Manual);
}
