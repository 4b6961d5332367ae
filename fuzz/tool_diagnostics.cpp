// Tool output from arbitrary bytes, line by line through the diagnostics recogniser, which
// must never throw; every diagnostic it finds must come from the line it was given.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "package/actionbase/ToolDiagnostics.h"

using namespace mx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  bcc::TToolDiagnostics recogniser("make", "/work/app/build", "/work/app");
  std::size_t start = 0;
  while (start <= text.size()) {
    const auto end = text.find('\n', start);
    const std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    for (const TDiagnostic& d : recogniser.Recognise(line)) {
      if (d.LogLine != line || d.Line < 0 || d.Column < 0) std::abort();
    }
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return 0;
}
