#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/StringList.h"

namespace mx {

/// One entry of the build log, collected line by line and sent at once.
class IMxActionLogMessage {
 public:
  virtual ~IMxActionLogMessage() = default;
  virtual void Add(std::string_view line) = 0;
  virtual void AddStrings(const platform::TStringList& lines) = 0;
  virtual const std::vector<std::string>& Lines() const = 0;
};

class TMxActionLogMessage : public IMxActionLogMessage {
 public:
  void Add(std::string_view line) override { lines_.emplace_back(line); }
  void AddStrings(const platform::TStringList& lines) override {
    for (const auto& l : lines)
      lines_.push_back(l);
  }
  const std::vector<std::string>& Lines() const override { return lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace mx
