// The preview's comparison of two versions of a project, element by element.
#include <gtest/gtest.h>

#include "package/host/ProjectDiff.h"

using namespace mx;
using namespace mx::bcc;

namespace {

std::string Diff(const std::string& before, const std::string& after) {
  const auto document = [](const std::string& body) {
    return platform::TXmlDocument::LoadFromText("<PROJECT>" + body + "</PROJECT>", "p.bpr");
  };
  return ProjectDiff(document(before), document(after));
}

TEST(ProjectDiffTest, ValuesAreComparedAsTheToolsReadThem) {
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"<A value='-a  -b'/>", "<A value='-a -b '/>", "/PROJECT/A: only its layout changed\n"},
      {"<A value='-N2obj -v'/>", "<A value='-v -N2&quot;obj&quot;'/>",
       "/PROJECT/A: the same items in another order\n"},
      {"<A value='-v -x'/>", "<A value='-v- -x -y'/>", "/PROJECT/A\n  - -v\n  + -v- -y\n"},
      {"<L value='C:\\lib\\;x'/>", "<L value='&quot;C:\\lib&quot;; x'/>",
       "/PROJECT/L: only its layout changed\n"},
      {"<L value='a;b'/>", "<L value='a;c d'/>", "/PROJECT/L\n  - b\n  + c d\n"},
      {"<T>\n[Version Info]\nBuild=1\n</T>", "<T>\n\n[Version Info]\nBuild=1  \n\n</T>",
       "/PROJECT/T: only its layout changed\n"},
      {"<T>\n[Version Info]\nBuild=1\nMajorVer=1\n</T>",
       "<T>\n[Version Info]\nBuild=2\nMajorVer=1\n</T>", "/PROJECT/T\n  - Build=1\n  + Build=2\n"},
      {"", "<N value='x'/>", "/PROJECT/N\n  - (absent)\n  + x\n"},
      {"<A value='same'/>", "<A value='same'/>", "No element changed\n"},
  };
  for (const auto& [before, after, expected] : cases)
    EXPECT_EQ(Diff(before, after), expected) << before << " -> " << after;
}

}  // namespace
