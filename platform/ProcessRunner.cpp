#include "ProcessRunner.h"

namespace mx::platform {

void TLineSplitter::Feed(std::string_view text) {
  for (const char c : text) {
    if (afterCR_) {
      afterCR_ = false;
      if (c == '\n') continue;  // the LF of a CR LF pair
    }
    if (c == '\r' || c == '\n') {
      afterCR_ = c == '\r';
      onLine_(std::move(pending_));
      pending_.clear();
    } else {
      pending_ += c;
    }
  }
}

void TLineSplitter::Flush() {
  if (!pending_.empty()) {
    onLine_(std::move(pending_));
    pending_.clear();
  }
  afterCR_ = false;
}

}  // namespace mx::platform
