#include "moxtal/api/Pages.h"

namespace mx {

TFrame::TFrame(IMxComponent* owner, std::string name)
    : TPanel(std::move(name), TLayout::loColumn), owner_(owner) {}

IMxPageContainer* TFrame::Container() const {
  return dynamic_cast<IMxPageContainer*>(owner_);
}

}  // namespace mx
