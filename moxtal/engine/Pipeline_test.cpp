#include "moxtal/engine/Pipeline.h"

#include <gtest/gtest.h>

using namespace mx::engine;

TEST(PipelineTest, JobIdsAreWhatEnginesAcceptAndNeverTwice) {
  EXPECT_EQ(JobIds({"Build App", "build-app", "7zip", "Ünïcode ++", "default", "Core", "CORE"}),
            (std::vector<std::string>{"build-app", "build-app-2", "build-7zip", "n-code",
                                      "default-build", "core", "core-2"}));
}

TEST(PipelineTest, ShortDiffShowsWhatChangedWithItsLine) {
  EXPECT_EQ(ShortDiff("a\nb\nc\n", "a\nb\nc\n"), "");
  EXPECT_EQ(ShortDiff("a\nb\nc\nd\n", "a\nx\nc\nd\ne\n"), "-2: b\n+2: x\n+5: e\n");
  std::string many;
  for (int i = 0; i < 100; ++i)
    many += std::to_string(i) + "\n";
  EXPECT_EQ(ShortDiff("", many, 3), "+1: 0\n+2: 1\n+3: 2\n... and 97 more\n");
}
