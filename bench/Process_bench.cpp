// The host as a process: how fast a short command starts, against /bin/true; what a preview of
// the largest real project costs, against xmllint writing the same file; and how soon a stop
// ends a tool that obeys SIGTERM, one that ignores it, and one whose descendant left the process
// group, against running a tool that ends at once. Times are the CPU time of the measured
// processes, or for the stops the time from the stop request to the run's end.
#include <filesystem>
#include <fstream>
#include <thread>

#include "ChildProcess.h"
#include "RatioReporter.h"
#include "platform/Event.h"
#include "platform/ProcessRunner.h"

namespace fs = std::filesystem;
using mx::bench::RunMeasured;
using namespace mx::platform;

namespace {

const std::string kMoxtal = MX_BIN_DIR "/moxtal";

void MeasureCpu(benchmark::State& state, const std::vector<std::string>& argv) {
  for (auto _ : state) {
    const auto usage = RunMeasured(argv, fs::temp_directory_path().string(), {});
    if (usage.ExitStatus != 0) state.SkipWithError("the command failed");
    state.SetIterationTime(usage.CpuSeconds);
  }
}

void Actions(benchmark::State& state) {
  MeasureCpu(state, {kMoxtal, "actions"});
}

void True(benchmark::State& state) {
  MeasureCpu(state, {"/bin/true"});
}

// The largest C++Builder 5/6 project of the corpus, or "" without the corpus.
std::string LargestProject() {
  std::string largest;
  std::uintmax_t size = 0;
  const fs::path dir = fs::path(MX_CORPUS_DIR) / "bcb56";
  if (!fs::exists(dir)) return largest;
  for (const auto& e : fs::directory_iterator(dir)) {
    if (e.file_size() > size) {
      size = e.file_size();
      largest = e.path().string();
    }
  }
  return largest;
}

void BprApply(benchmark::State& state) {
  const std::string project = LargestProject();
  if (project.empty()) return state.SkipWithError("no corpus");
  const std::string out = (fs::temp_directory_path() / "mx_bench_apply.bpr").string();
  MeasureCpu(state, {kMoxtal, "bpr", "apply", project, "--out", out});
}

void XmllintOutput(benchmark::State& state) {
  const std::string project = LargestProject();
  if (project.empty()) return state.SkipWithError("no corpus");
  if (!fs::exists("/usr/bin/xmllint")) return state.SkipWithError("no xmllint");
  const std::string out = (fs::temp_directory_path() / "mx_bench_xmllint.bpr").string();
  MeasureCpu(state, {"/usr/bin/xmllint", "--output", out, project});
}

// Runs the stand-in with `parameters` and stops it when it prints "started": the time from the
// stop request to the end of the run.
void Stop(benchmark::State& state, const std::string& parameters) {
  const std::string pidFile = (fs::temp_directory_path() / "mx_bench_stop.pid").string();
  for (auto _ : state) {
    TEvent stop;
    TProcessRequest request;
    request.Executable = MX_STANDIN_PROC;
    request.Parameters = parameters + " --out started --sleep 60000";
    request.StopEvent = &stop;
    std::chrono::steady_clock::time_point stoppedAt;
    request.OnLine = [&](std::string_view line) {
      if (line == "started") {
        stoppedAt = std::chrono::steady_clock::now();
        stop.SetEvent();
      }
    };
    RunProcess(request);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - stoppedAt).count());
  }
}

void StopObeying(benchmark::State& state) {
  Stop(state, "");
}

void StopIgnoring(benchmark::State& state) {
  Stop(state, "--ignore-term");
}

void StopDetached(benchmark::State& state) {
  Stop(state, "--detached " + (fs::temp_directory_path() / "mx_bench_detached.pid").string());
}

void RunToCompletion(benchmark::State& state) {
  for (auto _ : state) {
    TProcessRequest request;
    request.Executable = MX_STANDIN_PROC;
    request.Parameters = "--exit 0";
    const auto start = std::chrono::steady_clock::now();
    RunProcess(request);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
}

}  // namespace

BENCHMARK(Actions)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1);
BENCHMARK(True)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1);
BENCHMARK(BprApply)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(XmllintOutput)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(StopObeying)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(StopIgnoring)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(StopDetached)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(RunToCompletion)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  return mx::bench::RunWithRatios(
      argc, argv,
      {{"Actions/min_time:1.000/manual_time", "True/min_time:1.000/manual_time"},
       {"BprApply/manual_time", "XmllintOutput/manual_time"},
       {"StopObeying/iterations:10/manual_time", "RunToCompletion/manual_time"},
       {"StopIgnoring/iterations:10/manual_time", "RunToCompletion/manual_time"},
       {"StopDetached/iterations:10/manual_time", "RunToCompletion/manual_time"}},
      mx::bench::TTimeKind::Manual);
}
