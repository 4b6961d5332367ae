#pragma once
// The editor's dialog: one tab per visible page, in registration order, with OK, Cancel and
// Help. OK writes every page back into the action; Cancel changes nothing.

#include <vector>

#include <QDialog>
#include <QIcon>

#include "moxtal/engine/PageDialog.h"

class QTabWidget;

namespace mx::gui {

class TQtPageView;

class TQtPageDialog : public QDialog {
 public:
  /// `model` has been opened (every page has read the action) and outlives the dialog.
  TQtPageDialog(engine::TPageDialog& model, const QString& title, const QIcon& icon,
                QWidget* parent = nullptr);

  QTabWidget* Tabs() const { return tabs_; }
  /// The view of the page at `index` of the model (shown or not).
  TQtPageView* View(std::size_t index) const { return views_[index]; }
  /// Draws every page, shown or hidden, with the dialog around it, to
  /// `folder`/NN-Caption.png (NN counting from 01); throws mx::Exception when one cannot be
  /// written.
  void SaveScreenshots(const QString& folder);

  void accept() override;

 private:
  /// Puts the tabs of the shown pages in the model's order.
  void UpdateTabs();
  void ShowHelp();

  engine::TPageDialog& model_;
  QTabWidget* tabs_;
  std::vector<TQtPageView*> views_;
  int activePage_ = -1;
};

/// The palette bitmap (.bmp bytes) as an icon, its bottom-left colour transparent.
QIcon BitmapIcon(const char* bytes, std::size_t size);

}  // namespace mx::gui
