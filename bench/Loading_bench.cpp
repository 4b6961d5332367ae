// Loading many entries: the values of one registry key and the variables of a build script.
// Ten times the entries must take at most about twelve times the time.
#include <string>

#include "RatioReporter.h"
#include "moxtal/engine/BuildScript.h"
#include "platform/Registry.h"

namespace {

std::string RegistryText(int n) {
  std::string text =
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Many]\r\n";
  for (int i = 0; i < n; ++i)
    text += "\"Value" + std::to_string(i) + "\"=\"" + std::to_string(i) + "\"\r\n";
  return text;
}

std::string ScriptText(int n) {
  std::string text = "<BuildScript version=\"1\">\n  <Variables>\n";
  for (int i = 0; i < n; ++i)
    text +=
        "    <Variable name=\"V" + std::to_string(i) + "\" value=\"" + std::to_string(i) + "\"/>\n";
  return text + "  </Variables>\n</BuildScript>\n";
}

void LoadRegistryKey(benchmark::State& state) {
  const std::string text = RegistryText(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const auto registry = mx::platform::RegistryFromText(text, "many.reg");
    benchmark::DoNotOptimize(registry.get());
  }
}

void LoadAndSaveScriptVariables(benchmark::State& state) {
  const std::string text = ScriptText(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto script = mx::engine::TBuildScript::LoadFromText(text, "many.mxs");
    script->Variables().Set("V0", "changed");
    benchmark::DoNotOptimize(script->SaveToText().size());
  }
}

}  // namespace

BENCHMARK(LoadRegistryKey)->Arg(4000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndSaveScriptVariables)->Arg(4000)->Arg(40000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  return mx::bench::RunWithRatios(
      argc, argv,
      {{"LoadRegistryKey/40000", "LoadRegistryKey/4000"},
       {"LoadAndSaveScriptVariables/40000", "LoadAndSaveScriptVariables/4000"}});
}
