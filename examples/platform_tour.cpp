// A short tour of the platform layer on the demo project: what the registry file says about the
// build machine, what the project file holds, and a child process whose output is captured.
#include <iostream>
#include <string>

#include "platform/Event.h"
#include "platform/FileNames.h"
#include "platform/MemIniFile.h"
#include "platform/ProcessRunner.h"
#include "platform/Registry.h"
#include "platform/StrUtils.h"
#include "platform/StringList.h"
#include "platform/XmlDocument.h"

using namespace mx::platform;

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--child") {
    std::cout << argv[2] << std::endl;
    return 7;
  }
  if (argc != 3) {
    std::cerr << "usage: platform_tour <demo folder> <registry file>\n";
    return 2;
  }
  const std::string demo = argv[1];
  try {
    const std::string registryFile = argv[2];
    std::cout << "Registry file " << registryFile << ":\n";
    const auto registry = OpenRegistryFile(registryFile);
    for (const char* key :
         {"SOFTWARE\\Borland\\C++Builder\\5.0", "SOFTWARE\\Borland\\C++Builder\\6.0",
          "Software\\Borland\\BDS\\4.0", "Software\\Borland\\BDS\\5.0"}) {
      const auto k = registry->OpenKeyReadOnly(TRegistryRoot::rkLocalMachine, key);
      std::cout << "  " << key << ": "
                << (k ? k->ReadString("RootDir").value_or("(no RootDir)") : "not installed")
                << "\n";
    }

    const std::string project = machinepath::Join(demo, "Inventory.bpr");
    std::cout << "Project " << project << ":\n";
    const TXmlDocument doc = TXmlDocument::LoadFromFile(project);
    const auto value = [&](const char* path) {
      return doc.SelectSingleNode(path).Attribute("value").value_or("(missing)");
    };
    std::cout << "  version " << value("/PROJECT/MACROS/VERSION") << ", output "
              << value("/PROJECT/MACROS/PROJECT") << " ("
              << wintext::ExtractFileExt(value("/PROJECT/MACROS/PROJECT")) << " in folder "
              << wintext::ExtractFilePath(value("/PROJECT/MACROS/PROJECT")) << ")\n";
    std::cout << "  compiler switches: " << Trim(value("/PROJECT/OPTIONS/CFLAG1")) << "\n";
    const TMemIniFile ide(
        TStringList(doc.SelectSingleNode("/PROJECT/IDEOPTIONS").FirstTextChild().Data()));
    std::cout << "  file version " << ide.ReadString("Version Info Keys", "FileVersion", "?")
              << ", build " << ide.ReadInteger("Version Info", "Build", 0) << ", auto-increment "
              << (ide.ReadBool("Version Info", "AutoIncBuild", false) ? "on" : "off") << "\n";

    TStringList output;
    TEvent stop;
    TProcessRequest child;
    child.Executable = argv[0];
    child.Parameters = "--child \"hello from a child process\"";
    child.Output = &output;
    child.StopEvent = &stop;
    const int code = RunProcess(child);
    std::cout << "Child process said \"" << output.Text().substr(0, output.Text().size() - 2)
              << "\" and exited with " << code << "\n";
  } catch (const mx::Exception& e) {
    std::cerr << "platform_tour: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
