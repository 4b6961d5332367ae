#pragma once
// The folder of real C++Builder project and resource files that tests read when it exists; a
// test that needs it skips, saying where it looked, when it does not.

#include <filesystem>

namespace mx::test {

inline const std::filesystem::path kCorpus = MX_CORPUS_DIR;

}  // namespace mx::test
