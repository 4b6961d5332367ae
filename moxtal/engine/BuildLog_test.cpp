#include "moxtal/engine/BuildLog.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

using namespace mx::engine;

TEST(BuildLogTest, SinksReceiveWholeEntries) {
  TBuildLog log;
  std::ostringstream text;
  std::ostringstream json;
  auto memory = std::make_shared<TMemoryLogSink>();
  log.AddSink(std::make_shared<TConsoleLogSink>(text));
  log.AddSink(std::make_shared<TJsonLogSink>(json));
  log.AddSink(memory);
  log.Write("Build App", {"Running BPR2MAK with command line : x", "second line"});
  log.Write("Build App", {"bad \xFF byte"});

  // Console: time and action on the first line, later lines indented under the text.
  const std::string console = text.str();
  const auto firstBreak = console.find('\n');
  const std::string first = console.substr(0, firstBreak);
  ASSERT_GE(first.size(), 9u);
  EXPECT_EQ(first.substr(8), " [Build App] Running BPR2MAK with command line : x");
  const std::string second =
      console.substr(firstBreak + 1, console.find('\n', firstBreak + 1) - firstBreak - 1);
  EXPECT_EQ(second, std::string(first.find("Running"), ' ') + "second line");

  // JSON: one object per entry.
  std::istringstream lines(json.str());
  std::string line;
  std::vector<nlohmann::json> objects;
  while (std::getline(lines, line))
    objects.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0]["action"], "Build App");
  EXPECT_EQ(objects[0]["lines"].size(), 2u);
  EXPECT_EQ(objects[1]["lines"][0], "bad \xEF\xBF\xBD byte");  // invalid UTF-8 is replaced

  EXPECT_EQ(memory->Entries().size(), 2u);
  EXPECT_EQ(memory->AllLines().back(), "bad \xFF byte");
}
