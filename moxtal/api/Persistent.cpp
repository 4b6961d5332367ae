#include "Persistent.h"

namespace mx {

const TClassInfo& TQlXMLObject::StaticClassInfo() {
  static const TClassInfo info("TQlXMLObject", nullptr);
  return info;
}

}  // namespace mx
