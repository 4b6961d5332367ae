#pragma once
// The "C++" page: member pointers, compatibility, virtual tables, templates, exception
// handling and compile mode.

#include "package/pages/MxBCBOptionFrame.h"

namespace mx::bcc {

class TMxBCBCPPFrame : public TMxBCBOptionFrame<ICBuilderCPPOptions> {
 public:
  explicit TMxBCBCPPFrame(IMxComponent* owner);
  std::string PageName() override { return "C++"; }
};

}  // namespace mx::bcc
