#include "moxtal/api/Persistent.h"

#include "moxtal/engine/Host.h"

namespace mx {

const TClassInfo& TQlXMLObject::StaticClassInfo() {
  static const TClassInfo info("TQlXMLObject", nullptr);
  return info;
}

void RegisterXMLClasses(const std::vector<TXMLClass>& classes) {
  for (const auto& c : classes)
    engine::THost::Instance().RegisterXMLClass(c);
}

std::shared_ptr<IQlXMLObject> CreateXMLObject(std::string_view className) {
  const TXMLClass* c = engine::THost::Instance().FindXMLClass(className);
  return c ? c->Create() : nullptr;
}

}  // namespace mx
