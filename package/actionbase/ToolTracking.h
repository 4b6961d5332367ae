#pragma once
// Which C++Builder tool is at work in a build's output, followed from the command lines make
// echoes and from the tools' banners.

#include <string>
#include <string_view>

namespace mx::bcc {

class TToolTracker {
 public:
  /// `first` is the tool that runs first ("make", "msbuild", "bpr2mak", ...), in lower case.
  explicit TToolTracker(std::string first) : current_(std::move(first)) {}

  /// Follows a trimmed output line: a banner ("Borland C++ 5.6 for Win32") or a command line
  /// ("bcc32 -c Unit1.cpp") makes its tool the one at work. True when the line was one.
  bool Follow(std::string_view line);

  /// The tool at work.
  const std::string& Current() const { return current_; }

 private:
  std::string current_;
};

}  // namespace mx::bcc
