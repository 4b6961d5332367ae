#include "package/host/CompilerDiscovery.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/FileNames.h"
#include "platform/StrUtils.h"

using namespace mx;

namespace {

// Package services over a registry given as text, recording what is published.
class TServices : public IMxPackageServices {
 public:
  TServices(const std::string& reg, bool readBCB6Vars)
      : registry_(platform::RegistryFromText(reg, "machine.reg")), read_(readBCB6Vars) {}
  void SetVariable(const std::string& name, const std::string& value) override {
    Order.push_back(name);
    Variables[name] = value;
  }
  std::shared_ptr<platform::IRegistry> Registry() override { return registry_; }
  std::string RegistryName() override { return "machine.reg"; }
  bool ReadBCB6Vars() override { return read_; }
  std::string HostFolder() override { return "."; }

  std::vector<std::string> Order;
  std::map<std::string, std::string> Variables;

 private:
  std::shared_ptr<platform::IRegistry> registry_;
  bool read_;
};

const char* const kMachine =
    "REGEDIT4\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\C++Builder\\6.0]\n\"RootDir\"=\"C:\\\\CB6\\\\\"\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\C++Builder\\5.0]\n\"RootDir\"=\"\"\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\C++Builder\\4.0]\n\"RootDir\"=dword:00000001\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Borland\\BDS\\4.0]\n\"RootDir\"=\"C:\\\\BDS\\\\4.0\\\\\"\n"
    "[HKEY_CURRENT_USER\\Software\\Borland\\C++Builder\\6.0\\Environment Variables]\n"
    "\"BCB6DIR\"=\"D:\\\\Override\"\n\"PROJECTS\"=\"D:\\\\Projects\"\n\"Binary\"=hex:01\n";

}  // namespace

TEST(CompilerDiscoveryTest, PublishesEveryInstalledVersion) {
  TServices services(kMachine, false);
  bcc::DiscoverCompilers(services);
  // Windows roots name Windows programs, on every system (a prefix's registry read on Linux).
  const std::string bin = "\\bin\\";
  EXPECT_EQ(services.Variables["BCB6DIR"], "C:\\CB6\\");
  EXPECT_EQ(services.Variables["BCB6"], "C:\\CB6\\" + bin + "make.exe");
  EXPECT_EQ(services.Variables["BCB6DCC"], "C:\\CB6\\" + bin + "dcc32.exe");
  EXPECT_EQ(services.Variables["BCB6_BRCC32"], "C:\\CB6\\" + bin + "brcc32.exe");
  EXPECT_EQ(services.Variables["BCB2006DIR"], "C:\\BDS\\4.0");  // the trailing separator goes
  EXPECT_EQ(services.Variables["BCB2006"], "C:\\BDS\\4.0" + bin + "make.exe");
  // An empty or non-text RootDir, and a missing key, publish nothing.
  for (const char* absent : {"BCB5DIR", "BCB4DIR", "BCB3DIR", "CB2007DIR"})
    EXPECT_EQ(services.Variables.count(absent), 0u);
  EXPECT_EQ(services.Order,
            (std::vector<std::string>{"BCB2006DIR", "BCB2006", "BCB2006DCC", "BCB2006_BRCC32",
                                      "BCB6DIR", "BCB6", "BCB6DCC", "BCB6_BRCC32"}));
}

// A root of this machine's own (stand-in tools on Linux) is joined with this machine's separator.
TEST(CompilerDiscoveryTest, ARootOfThisMachineKeepsItsSeparators) {
  TServices services(
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\C++Builder\\6.0]\n"
      "\"RootDir\"=\"/opt/cb6\"\n",
      false);
  bcc::DiscoverCompilers(services);
  const char d = platform::machinepath::kPathDelim;
  EXPECT_EQ(services.Variables["BCB6"], std::string("/opt/cb6") + d + "bin" + d + "make.exe");
}

TEST(CompilerDiscoveryTest, ImportsTheCBuilder6EnvironmentWhenAsked) {
  TServices services(kMachine, true);
  bcc::DiscoverCompilers(services);
  EXPECT_EQ(services.Variables["BCB6DIR"], "D:\\Override");  // the import may overwrite
  EXPECT_EQ(services.Variables["PROJECTS"], "D:\\Projects");
  EXPECT_EQ(services.Variables.count("Binary"), 0u);
}
