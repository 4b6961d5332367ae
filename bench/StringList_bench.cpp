// Sorted, duplicate-dropping switch lists (what the linker writers build) against a std::set with
// the same ordering: the list must stay within a small factor of the standard container.
#include <set>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "platform/StrUtils.h"
#include "platform/StringList.h"

namespace {

std::vector<std::string> Tokens(int n) {
  std::vector<std::string> tokens;
  for (int i = 0; i < n; ++i) {
    // Object files in a scrambled order with one duplicate in ten, like a long OBJFILES line.
    const int k = (i * 7919) % n;
    tokens.push_back("obj\\Unit" + std::to_string(k) + ".obj");
    if (i % 10 == 0) tokens.push_back(tokens.back());
  }
  return tokens;
}

void SortedStringList(benchmark::State& state) {
  const auto tokens = Tokens(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    mx::platform::TStringList list;
    list.SetCaseSensitive(true);
    list.SetSorted(true);
    for (const auto& t : tokens)
      list.Add(t);
    benchmark::DoNotOptimize(list.Count());
  }
  state.SetComplexityN(state.range(0));
}

void SortedStdSet(benchmark::State& state) {
  const auto tokens = Tokens(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::set<std::string> set;
    for (const auto& t : tokens)
      set.insert(t);
    benchmark::DoNotOptimize(set.size());
  }
  state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(SortedStringList)->Arg(1000)->Arg(10000);
BENCHMARK(SortedStdSet)->Arg(1000)->Arg(10000);

int main(int argc, char** argv) {
  return mx::bench::RunWithRatios(argc, argv,
                                  {{"SortedStringList/1000", "SortedStdSet/1000"},
                                   {"SortedStringList/10000", "SortedStdSet/10000"}});
}
