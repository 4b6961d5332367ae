#include "ProcessRunner.h"

#include "StrUtils.h"

namespace mx::platform {

void TLineSplitter::Feed(std::string_view text) {
  std::size_t pos = 0;
  if (afterCR_ && !text.empty()) {
    afterCR_ = false;
    if (text[0] == '\n') pos = 1;  // the LF of a CR LF pair split across two reads
  }
  while (pos < text.size()) {
    const std::size_t end = FindLineBreak(text, pos);
    if (end == std::string_view::npos) {
      pending_.append(text.substr(pos));
      return;
    }
    // Whole lines go out as views of the text; only a line split across reads is copied.
    if (pending_.empty()) {
      onLine_(text.substr(pos, end - pos));
    } else {
      pending_.append(text.substr(pos, end - pos));
      onLine_(pending_);
      pending_.clear();
    }
    pos = end + 1;
    if (text[end] == '\r') {
      if (pos == text.size()) {
        afterCR_ = true;
      } else if (text[pos] == '\n') {
        ++pos;
      }
    }
  }
}

void TLineSplitter::Flush() {
  if (!pending_.empty()) {
    onLine_(pending_);
    pending_.clear();
  }
  afterCR_ = false;
}

}  // namespace mx::platform
