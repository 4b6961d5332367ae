#include "QtPageDialog.h"

#include <QBitmap>
#include <QDialogButtonBox>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

#include "moxtal/api/DesignServices.h"
#include "moxtal/gui/QtPageView.h"
#include "platform/Exception.h"

namespace mx::gui {

TQtPageDialog::TQtPageDialog(engine::TPageDialog& model, const QString& title, const QIcon& icon,
                             QWidget* parent)
    : QDialog(parent), model_(model) {
  setWindowTitle(title);
  if (!icon.isNull()) setWindowIcon(icon);
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("pages");
  layout->addWidget(tabs_, 1);
  for (const auto& page : model.Pages()) {
    views_.push_back(new TQtPageView(*page.Frame, page.Page.get(), this));
    tabs_->addTab(views_.back(), QString::fromStdString(page.Page->PageName()));
  }
  // Wide enough for the tabs of every page, shown or not, as far as a screen allows.
  const int tabsWidth = tabs_->tabBar()->sizeHint().width() + 48;
  UpdateTabs();
  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  buttons->setObjectName("buttons");
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &TQtPageDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, &TQtPageDialog::ShowHelp);
  model.OnPageVisibleChanged = [this](std::size_t) { UpdateTabs(); };
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int) {
    const int now = static_cast<int>(
        std::find(views_.begin(), views_.end(), tabs_->currentWidget()) - views_.begin());
    if (now == activePage_) return;
    try {
      if (activePage_ >= 0 && activePage_ < static_cast<int>(views_.size()))
        model_.Pages()[static_cast<std::size_t>(activePage_)].Page->OnPageDeActivate();
      if (now < static_cast<int>(views_.size()))
        model_.Pages()[static_cast<std::size_t>(now)].Page->OnPageActivate();
    } catch (const std::exception& e) {
      MxDesignServices().MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 0);
    }
    activePage_ = now;
  });
  resize(sizeHint().expandedTo(QSize(std::clamp(tabsWidth, 640, 1200), 480)));
}

void TQtPageDialog::UpdateTabs() {
  QWidget* current = tabs_->currentWidget();
  const QSignalBlocker block(tabs_);
  tabs_->clear();
  // The tabs show and hide their own pages; a page outside them stays hidden.
  for (std::size_t i = 0; i < views_.size(); ++i) {
    const auto& page = model_.Pages()[i];
    if (page.Visible) {
      tabs_->addTab(views_[i], QString::fromStdString(page.Page->PageName()));
    } else {
      views_[i]->hide();
    }
  }
  const int index = tabs_->indexOf(current);
  tabs_->setCurrentIndex(index >= 0 ? index : 0);
  activePage_ = static_cast<int>(std::find(views_.begin(), views_.end(), tabs_->currentWidget()) -
                                 views_.begin());
}

void TQtPageDialog::accept() {
  try {
    model_.Accept();
  } catch (const std::exception& e) {
    MxDesignServices().MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 0);
    return;
  }
  QDialog::accept();
}

void TQtPageDialog::ShowHelp() {
  // The help the action gives for its properties, the property captions as headings.
  platform::TStringList help;
  model_.Action().GetPropertyHelp(help);
  QString text;
  for (int i = 0; i < help.Count(); ++i) {
    if (help.ValueFromIndex(i).empty()) continue;
    text += "<p><b>" + QString::fromStdString(help.Names(i)).toHtmlEscaped() + "</b><br>" +
            QString::fromStdString(help.ValueFromIndex(i)).toHtmlEscaped() + "</p>";
  }
  if (text.isEmpty()) text = "This action has no help for its properties.";
  // The help is long: a scrolling text at most two thirds of the screen high.
  QDialog box(this);
  box.setWindowTitle(QString::fromStdString(model_.Action().GetActionName()) + " - Help");
  auto* layout = new QVBoxLayout(&box);
  auto* view = new QTextBrowser(&box);
  view->setHtml(text);
  layout->addWidget(view);
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, &box);
  connect(close, &QDialogButtonBox::rejected, &box, &QDialog::reject);
  layout->addWidget(close);
  const QRect screen =
      this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1024, 768);
  box.resize(std::min(560, screen.width() * 9 / 10), std::min(640, screen.height() * 2 / 3));
  box.exec();
}

void TQtPageDialog::SaveScreenshots(const QString& folder) {
  if (!QDir().mkpath(folder)) throw Exception("Cannot create the folder " + folder.toStdString());
  UpdateTabs();
  for (std::size_t i = 0; i < views_.size(); ++i) {
    const auto& page = model_.Pages()[i];
    // Only what the dialog shows for this action: the TLIB page belongs to libraries alone. A
    // page keeps its number whichever pages are shown.
    if (!page.Visible) continue;
    const QString caption = QString::fromStdString(page.Page->PageName());
    tabs_->setCurrentWidget(views_[i]);
    QString name;
    for (const QChar c : caption) {
      if (c.isLetterOrNumber() || c == '+') name += c;
    }
    const QString file =
        QDir(folder).filePath(QString("%1-%2.png").arg(i + 1, 2, 10, QChar('0')).arg(name));
    if (!grab().save(file)) throw Exception("Cannot write " + file.toStdString());
  }
}

QIcon BitmapIcon(const char* bytes, std::size_t size) {
  QPixmap pixmap;
  if (!bytes || size == 0 ||
      !pixmap.loadFromData(reinterpret_cast<const uchar*>(bytes), static_cast<uint>(size), "BMP"))
    return {};
  const QImage image = pixmap.toImage();
  pixmap.setMask(
      pixmap.createMaskFromColor(image.pixelColor(0, image.height() - 1), Qt::MaskInColor));
  return QIcon(pixmap);
}

}  // namespace mx::gui
