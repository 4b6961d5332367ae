#include "WholeFile.h"

namespace mx::platform {

void WriteWholeFile(const std::string& path, std::string_view bytes, TLinkPolicy links) {
  TFileReplacement file(path, links);
  file.Write(bytes);
  file.Commit();
}

}  // namespace mx::platform
