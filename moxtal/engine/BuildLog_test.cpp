#include "moxtal/engine/BuildLog.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

using namespace mx::engine;

namespace {

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// The console's lines without their "hh:mm:ss " clock.
std::vector<std::string> WithoutClock(const std::string& text) {
  std::vector<std::string> lines = LinesOf(text);
  for (auto& line : lines) {
    if (line.size() > 8 && line[2] == ':' && line[5] == ':') line = "HH:MM:SS" + line.substr(8);
  }
  return lines;
}

}  // namespace

// Two entries whose lines come in turns, as a tool's output and a message of another step can:
// every sink sees each line when it comes, and the entries keep their own lines in order.
TEST(BuildLogTest, LinesReachTheSinksAsTheyComeAndEntriesStayWhole) {
  TBuildLog log;
  std::ostringstream text;
  std::ostringstream json;
  auto memory = std::make_shared<TMemoryLogSink>();
  log.AddSink(std::make_shared<TConsoleLogSink>(text));
  log.AddSink(std::make_shared<TJsonLogSink>(json));
  log.AddSink(memory);

  const auto make = log.Begin("Build App");
  log.Line(make, "Running MAKE");
  log.Flush();
  // Shown while the entry is still open.
  EXPECT_EQ(WithoutClock(text.str()),
            (std::vector<std::string>{"HH:MM:SS [Build App] Running MAKE"}));
  const auto note = log.Begin("Notes");
  log.Line(note, "bad \xFF byte");
  // A line that holds several (a tool's output as one entry) is one line each, whatever ends them.
  log.Line(make, "Building App.exe\r\nLinking\rDone");
  log.End(note);
  log.End(make);
  log.Write("Empty", {});
  log.Flush();

  EXPECT_EQ(WithoutClock(text.str()), (std::vector<std::string>{
                                          "HH:MM:SS [Build App] Running MAKE",
                                          "HH:MM:SS [Notes] bad \xFF byte",
                                          "HH:MM:SS [Build App] Building App.exe",
                                          "                     Linking",
                                          "                     Done",
                                          "HH:MM:SS [Empty] ",
                                      }));

  // JSON: an event per line with the entry's number, then one when the entry is sent.
  std::vector<nlohmann::json> events;
  for (const auto& line : LinesOf(json.str()))
    events.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(events.size(), 8u);
  EXPECT_EQ(events[0]["action"], "Build App");
  EXPECT_EQ(events[0]["line"], "Running MAKE");
  EXPECT_EQ(events[1]["line"], "bad \xEF\xBF\xBD byte");  // invalid UTF-8 is replaced
  EXPECT_EQ(events[2]["id"], events[0]["id"]);
  EXPECT_EQ(events[2]["line"], "Building App.exe");
  EXPECT_EQ(events[3]["line"], "Linking");
  EXPECT_EQ(events[4]["line"], "Done");
  EXPECT_EQ(events[5]["id"], events[1]["id"]);
  EXPECT_EQ(events[5]["end"], true);
  EXPECT_EQ(events[7]["action"], "Empty");
  EXPECT_EQ(events[7]["end"], true);
  EXPECT_TRUE(events[0].contains("time"));

  // Whole entries, in the order they were sent.
  const auto entries = memory->Entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].Action, "Notes");
  EXPECT_EQ(entries[1].Lines,
            (std::vector<std::string>{"Running MAKE", "Building App.exe", "Linking", "Done"}));
  EXPECT_TRUE(entries[2].Lines.empty());
}
