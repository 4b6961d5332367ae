#pragma once
// The C++Builder 2006/2007 action's "Version Info" page; a reload reads the project's XML
// document.

#include "package/pages/CBuilder2006Frame.h"
#include "package/pages/VersionInfoFrame.h"
#include "package/projparser/CBuilder2006Project.h"

namespace mx::bcc {

class TCBuilder2006VersionInfoFrame : public TVersionInfoFrame, public IMxCBuilder2006Frame {
 public:
  explicit TCBuilder2006VersionInfoFrame(IMxComponent* owner);
  void ReloadFromBDSPRoj(const std::string& projectFile, const platform::TXmlDocument& document,
                         int version) override;
};

}  // namespace mx::bcc
