#pragma once
// A fixture for the switch families: a small project text parsed as a build parses it, and one
// family of an action applied to it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "moxtal/api/ObjectText.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Host.h"
#include "package/action/MxCBuilderAction.h"
#include "package/projparser/MxCBuilder56ProjParser.h"

namespace mx::bcc::families {

namespace fs = std::filesystem;

// Element path (under PROJECT) and value, in the order they are written.
using TElements = std::vector<std::pair<std::string, std::string>>;

inline std::string Attr(const std::string& v) {
  std::string r;
  for (const char c : v)
    r += c == '"' ? std::string("&quot;") : c == '&' ? std::string("&amp;") : std::string(1, c);
  return r;
}

class FamilyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::THost::Instance().SetHostFolder(MX_BIN_DIR);
    dir_ = fs::temp_directory_path() /
           ("mx_family_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dir_);
    script_.AddAction(action_);
    for (const char* flag :
         {"UseDirectorySettings", "UseCompilerSettings", "UseAdvCompilerSettings",
          "UseLinkerSettings", "UseAdvLinkerSettings", "UseCPPSettings", "UsePascalSettings",
          "UseVersionInfo", "UseTASMSettings", "UseCorbaSettings", "UsePackageSettings",
          "UseCodeGuardSettings", "UseTLibSettings"}) {
      SetPropAsString(*action_, flag, "False");
    }
  }
  void TearDown() override { fs::remove_all(dir_); }

  // A project with the given elements; `ide` is the IDE options text (with its comments).
  std::shared_ptr<TMxCBuilder56ProjectParser> Parse(const TElements& elements,
                                                    const std::string& version = "BCB.06.00",
                                                    const std::string& ide = "") {
    std::string xml = "<?xml version='1.0' encoding='utf-8' ?>\n<PROJECT>\n";
    for (const char* section : {"MACROS", "OPTIONS", "LINKER"}) {
      xml += "<" + std::string(section) + ">\n";
      if (std::string(section) == "MACROS") xml += "<VERSION value=\"" + version + "\"/>\n";
      for (const auto& [path, value] : elements) {
        if (path.rfind(section, 0) == 0)
          xml += "<" + path.substr(path.find('/') + 1) + " value=\"" + Attr(value) + "\"/>\n";
      }
      xml += "</" + std::string(section) + ">\n";
    }
    if (!ide.empty()) xml += "<IDEOPTIONS>" + ide + "</IDEOPTIONS>\n";
    xml += "</PROJECT>\n";
    const auto path = dir_ / "p.bpr";
    std::ofstream(path, std::ios::binary) << xml;
    auto parser = std::dynamic_pointer_cast<TMxCBuilder56ProjectParser>(
        CBuilderProjectParserFactory(MxDesignApplicationServices())
            ->CreateProjectParser(path.string(), nullptr, AllParserOptions()));
    parser->ParseProjectFile();
    return parser;
  }

  // Applies one family flag of the action and returns the element's new value.
  std::string Apply(TMxCBuilder56ProjectParser& parser, const char* flag, const char* element) {
    SetPropAsString(*action_, flag, "True");
    parser.ApplyChanges(*action_, false);
    SetPropAsString(*action_, flag, "False");
    return parser.ElementValue(element).value_or("(missing)");
  }

  fs::path dir_;
  engine::TBuildScript script_;
  std::shared_ptr<TMxCBuilderAction> action_ = std::make_shared<TMxCBuilderAction>();
};

}  // namespace mx::bcc::families
