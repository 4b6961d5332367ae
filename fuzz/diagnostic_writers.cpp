// Diagnostics made of arbitrary bytes and numbers, as a hostile tool or project could make them,
// through the collector into the SARIF log and the GitHub annotations: the SARIF log must be
// valid JSON, and every annotation one workflow command on one line.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include <nlohmann/json.hpp>

#include "moxtal/engine/Diagnostics.h"

using namespace mx;
using namespace mx::engine;

namespace {

// Takes fields from the input: a byte, a number, or a text up to the next NUL.
class TFields {
 public:
  explicit TFields(std::string_view data) : data_(data) {}
  bool Empty() const { return data_.empty(); }
  std::uint8_t Byte() {
    if (data_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(data_.front());
    data_.remove_prefix(1);
    return b;
  }
  int Number() {
    std::int32_t n = 0;
    const std::size_t take = std::min<std::size_t>(4, data_.size());
    std::memcpy(&n, data_.data(), take);
    data_.remove_prefix(take);
    return n;
  }
  std::string Text() {
    const auto end = data_.find('\0');
    std::string text(data_.substr(0, end));
    data_.remove_prefix(end == std::string_view::npos ? data_.size() : end + 1);
    return text;
  }

 private:
  std::string_view data_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFields fields(std::string_view(reinterpret_cast<const char*>(data), size));
  TDiagnosticsCollector collector(true);
  collector.Begin({1, fields.Text(), "Compile C++Builder Project", {}});
  for (int count = 0; !fields.Empty() && count < 64; ++count) {
    TDiagnostic d;
    d.Severity = static_cast<TDiagnosticSeverity>(fields.Byte() % 3);
    d.Line = fields.Number();
    d.Column = fields.Number();
    d.Tool = fields.Text();
    d.Code = fields.Text();
    d.File = fields.Text();
    d.RelativeFile = fields.Text();
    d.ProjectFolder = fields.Text();
    d.Message = fields.Text();
    d.LogLine = fields.Text();
    collector.DiagnosticLine(1, d.LogLine, {d});
  }
  std::string sarif;
  WriteSarifLog(collector, "5.0", "moxtal/fuzz.mxs/",
                [&sarif](std::string_view piece) { sarif += piece; });
  if (!nlohmann::json::accept(sarif)) std::abort();
  WriteGitHubAnnotations(collector, "/work", [](const std::string& line) {
    if (!line.starts_with("::") || line.find_first_of("\r\n") != std::string::npos) std::abort();
  });
  DiagnosticsSummaryJson(collector.Actions())
      .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
  return 0;
}
