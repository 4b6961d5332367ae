#pragma once
// The "CORBA" page: the IDL compiler's code generation, file extensions, extra options and
// the CORBA header options.

#include "package/pages/MxBCBOptionFrame.h"

namespace mx::bcc {

class TMxBCBCorbaFrame : public TMxBCBOptionFrame<ICBuilderCorbaOptions> {
 public:
  explicit TMxBCBCorbaFrame(IMxComponent* owner);
  std::string PageName() override { return "CORBA"; }
};

}  // namespace mx::bcc
