#include "ProcessRunner.h"

#include "StrUtils.h"

namespace mx::platform {

namespace {

// Where a piece of at most `limit` bytes of `line` ends: at the limit, or a little before it
// when a UTF-8 sequence would be cut.
std::size_t PieceEnd(std::string_view line, std::size_t limit) {
  std::size_t end = limit;
  while (end > limit - 3 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80)
    --end;
  return (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80 ? limit : end;
}

}  // namespace

std::size_t TLineSplitter::Deliver(std::string_view line, bool whole) {
  std::size_t done = 0;
  while (line.size() - done > kMaxLineLength) {
    const std::size_t end = PieceEnd(line.substr(done), kMaxLineLength);
    onLine_(line.substr(done, end));
    done += end;
  }
  if (whole) {
    onLine_(line.substr(done));
    done = line.size();
  }
  return done;
}

void TLineSplitter::Feed(std::string_view text) {
  std::size_t pos = 0;
  if (afterCR_ && !text.empty()) {
    afterCR_ = false;
    if (text[0] == '\n') pos = 1;  // the LF of a CR LF pair split across two reads
  }
  while (pos < text.size()) {
    const std::size_t end = FindLineBreak(text, pos);
    if (end == std::string_view::npos) {
      // A line without an end goes out in pieces as it grows.
      std::string_view rest = text.substr(pos);
      if (pending_.empty()) {
        rest.remove_prefix(Deliver(rest, false));
        pending_.assign(rest);
      } else {
        pending_.append(rest);
        if (pending_.size() > kMaxLineLength) pending_.erase(0, Deliver(pending_, false));
      }
      return;
    }
    // Whole lines go out as views of the text; only a line split across reads is copied.
    if (pending_.empty()) {
      Deliver(text.substr(pos, end - pos), true);
    } else {
      pending_.append(text.substr(pos, end - pos));
      Deliver(pending_, true);
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
    Deliver(pending_, true);
    pending_.clear();
  }
  afterCR_ = false;
}

}  // namespace mx::platform
