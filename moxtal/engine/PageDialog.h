#pragma once
// The pages of one action as the editor holds them: created from the registrations of the
// action's class, in order, each tagged with its position, and shown or hidden as the pages ask.
// The desktop dialog draws this model; the headless editor and the tests use it alone.

#include <functional>
#include <memory>
#include <vector>

#include "moxtal/api/Action.h"
#include "moxtal/api/Pages.h"

namespace mx::engine {

class TPageDialog : public IMxComponent, public IMxPageContainer {
 public:
  struct TPage {
    std::shared_ptr<TFrame> Frame;
    std::shared_ptr<IMxPropertyPage> Page;
    bool Visible = true;
  };

  /// Creates the pages registered for the action's class; throws mx::Exception when a
  /// registered class is not a property page.
  explicit TPageDialog(TCustomMxAction& action);
  ~TPageDialog() override;

  /// InitFrame, InitPage and ReadActionData on every page, in order.
  void Open();
  /// WriteActionData on every page, in order: the action takes the pages' values.
  void Accept();

  TCustomMxAction& Action() const { return action_; }
  const std::vector<TPage>& Pages() const { return pages_; }
  /// Told when a page is shown or hidden, with the page's index.
  std::function<void(std::size_t)> OnPageVisibleChanged;

  // IMxPageContainer
  std::shared_ptr<IMxPropertyPage> GetPage(int index) override;
  int GetPageCount() override;
  void SetPageVisible(int tag, bool visible) override;

 private:
  TCustomMxAction& action_;
  std::vector<TPage> pages_;
};

}  // namespace mx::engine
