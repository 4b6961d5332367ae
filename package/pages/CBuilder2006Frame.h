#pragma once
// The pages of the C++Builder 2006/2007 action that fill themselves from the project's XML
// document when the project page reloads.

#include <string>

#include "platform/XmlDocument.h"

namespace mx::bcc {

/// A 2006/2007 page that fills itself from the project's XML document.
class IMxCBuilder2006Frame {
 public:
  virtual ~IMxCBuilder2006Frame() = default;
  /// `version` is the index of the project page's version list (-1 for none).
  virtual void ReloadFromBDSPRoj(const std::string& projectFile,
                                 const platform::TXmlDocument& document, int version) = 0;
};

}  // namespace mx::bcc
