#pragma once
// Runs the registered benchmarks and then prints, for each pair (candidate, baseline), the ratio
// of their CPU times measured in this same run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace mx::bench {

/// Which time a ratio compares: this process's CPU time, or the time a benchmark reported itself
/// (the CPU time of the child processes it ran, say).
enum class TTimeKind { Cpu, Manual };

class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit TRatioReporter(TTimeKind kind) : kind_(kind) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) {
      times_[run.benchmark_name()] =
          kind_ == TTimeKind::Cpu ? run.GetAdjustedCPUTime() : run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  /// The median of repeated runs when there are repetitions, else the one run's time.
  double Time(const std::string& name) const {
    auto it = times_.find(name + "_median");
    if (it == times_.end()) it = times_.find(name);
    return it == times_.end() ? 0.0 : it->second;
  }

 private:
  TTimeKind kind_;
  std::map<std::string, double> times_;
};

/// Runs every benchmark, then prints "ratio <candidate> / <baseline> = x" for each pair.
inline int RunWithRatios(int argc, char** argv,
                         const std::vector<std::pair<std::string, std::string>>& pairs,
                         TTimeKind kind = TTimeKind::Cpu) {
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter(kind);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const auto& [candidate, baseline] : pairs) {
    const double b = reporter.Time(baseline);
    if (b > 0 && reporter.Time(candidate) > 0) {
      std::printf("ratio %s / %s = %.2f\n", candidate.c_str(), baseline.c_str(),
                  reporter.Time(candidate) / b);
    }
  }
  benchmark::Shutdown();
  return 0;
}

}  // namespace mx::bench
