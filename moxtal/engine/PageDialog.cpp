#include "PageDialog.h"

#include "moxtal/api/Services.h"
#include "platform/Exception.h"

namespace mx::engine {

TPageDialog::TPageDialog(TCustomMxAction& action) : action_(action) {
  int tag = 0;
  for (const TPageClass& cls : MxActionServices().PropertyPages(action.ClassInfo())) {
    TPage page;
    page.Frame = cls.Create(this);
    page.Page = std::dynamic_pointer_cast<IMxPropertyPage>(page.Frame);
    if (!page.Page) throw Exception("The page class " + cls.ClassName + " is not a property page");
    // Tags count from 1, so that no page has the tag a control has when none is given.
    page.Frame->SetTag(++tag);
    pages_.push_back(std::move(page));
  }
}

TPageDialog::~TPageDialog() = default;

void TPageDialog::Open() {
  for (const auto& page : pages_)
    page.Page->InitFrame(this);
  for (const auto& page : pages_)
    page.Page->InitPage(action_);
  for (const auto& page : pages_)
    page.Page->ReadActionData(action_);
}

void TPageDialog::Accept() {
  for (const auto& page : pages_)
    page.Page->WriteActionData(action_);
}

std::shared_ptr<IMxPropertyPage> TPageDialog::GetPage(int index) {
  if (index < 0 || index >= GetPageCount()) throw Exception("Page index out of range");
  return pages_[static_cast<std::size_t>(index)].Page;
}

int TPageDialog::GetPageCount() {
  return static_cast<int>(pages_.size());
}

void TPageDialog::SetPageVisible(int tag, bool visible) {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i].Frame->Tag() != tag || pages_[i].Visible == visible) continue;
    pages_[i].Visible = visible;
    if (OnPageVisibleChanged) OnPageVisibleChanged(i);
  }
}

}  // namespace mx::engine
