#include "QtPageView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>
#include <limits>
#include <memory>

#include "moxtal/api/DesignServices.h"

namespace mx::gui {

namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// The sizes of the page's widgets as the page layout measures: the font's text, and the
// heights of Qt's own edits and buttons in the style at work.
class TQtMetrics : public engine::ILayoutMetrics {
 public:
  explicit TQtMetrics(const QWidget& page) : font_(page.fontMetrics()) {
    // Measured in the page's own font and style, which may not be the application's.
    QLineEdit edit;
    QComboBox combo;
    QSpinBox spin;
    QPushButton button;
    for (QWidget* probe : std::initializer_list<QWidget*>{&edit, &combo, &spin, &button}) {
      probe->setStyle(page.style());
      probe->setFont(page.font());
    }
    edit_ =
        std::max({edit.sizeHint().height(), combo.sizeHint().height(), spin.sizeHint().height()});
    button_ = button.sizeHint().height();
    gap_ = page.style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
    if (gap_ < 0) gap_ = 6;
  }
  int Scale(int pixels) const override { return pixels; }  // Qt scales for the screen itself
  int LineHeight() const override { return font_.height(); }
  int EditHeight() const override { return edit_; }
  int ButtonHeight() const override { return button_; }
  int Gap() const override { return gap_; }
  int Margin() const override { return 9; }
  int TextWidth(std::string_view text, bool prefix) const override {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (prefix) shown = Unprefixed(shown);
    return font_.horizontalAdvance(shown);
  }
  int WrappedHeight(std::string_view text, int width) const override {
    const QString shown =
        Unprefixed(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return font_.boundingRect(QRect(0, 0, std::max(1, width), 1 << 20), Qt::TextWordWrap, shown)
        .height();
  }

 private:
  // A caption as shown: "&" marks the next letter, "&&" is one ampersand.
  static QString Unprefixed(const QString& caption) {
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
      if (caption[i] == '&' && i + 1 < caption.size()) ++i;
      shown += caption[i];
    }
    return shown;
  }

  QFontMetrics font_;
  int edit_ = 23;
  int button_ = 25;
  int gap_ = 6;
};

}  // namespace

QString QtInputMask(std::string_view editMask, bool hexadecimal) {
  std::string_view mask = editMask.substr(0, editMask.find(';'));
  std::string_view rest =
      editMask.find(';') == std::string_view::npos ? "" : editMask.substr(editMask.find(';') + 1);
  const std::string_view blank =
      rest.find(';') == std::string_view::npos ? "" : rest.substr(rest.find(';') + 1);
  QString out;
  if (hexadecimal && mask.substr(0, 2) == "0x") {
    out = "\\0\\x>";
    mask.remove_prefix(2);
  }
  for (std::size_t i = 0; i < mask.size(); ++i) {
    const char c = mask[i];
    if (hexadecimal && (c == '0' || c == '9')) {
      out += c == '0' ? 'H' : 'h';
      continue;
    }
    switch (c) {
      case 'L':
        out += 'A';
        break;
      case 'l':
        out += 'a';
        break;
      case 'A':
        out += 'N';
        break;
      case 'a':
        out += 'n';
        break;
      case 'C':
        out += 'X';
        break;
      case 'c':
        out += 'x';
        break;
      case '0':
        out += '9';
        break;
      case '9':
        out += '0';
        break;
      case '#':
        out += '#';
        break;
      case '>':
        out += '>';
        break;
      case '<':
        if (i + 1 < mask.size() && mask[i + 1] == '>') {
          out += '!';
          ++i;
        } else {
          out += '<';
        }
        break;
      case '\\':
        if (i + 1 < mask.size()) out += QString("\\") + QChar(mask[++i]);
        break;
      default:
        // A literal: escaped, as Qt gives letters and digits meanings of their own.
        out += QString("\\") + QChar(c);
    }
  }
  if (!blank.empty()) out += QString(";") + QChar(blank.front());
  return out;
}

// The page's one layout: it adds no items of its own, and places every widget of the page
// where the page layout puts its control whenever the page gets its size.
class TQtPageView::TPlacedLayout : public QLayout {
 public:
  explicit TPlacedLayout(TQtPageView& view) : QLayout(&view), view_(view) {
    setContentsMargins(0, 0, 0, 0);
  }
  void addItem(QLayoutItem*) override {}
  QLayoutItem* itemAt(int) const override { return nullptr; }
  QLayoutItem* takeAt(int) override { return nullptr; }
  int count() const override { return 0; }
  QSize sizeHint() const override {
    const auto r = view_.layout_->PreferredBounds(view_.frame_, 0);
    return {r.Width(), r.Height()};
  }
  QSize minimumSize() const override { return sizeHint(); }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override {
    return view_.layout_->PreferredBounds(view_.frame_, width).Height();
  }
  void setGeometry(const QRect& rect) override {
    QLayout::setGeometry(rect);
    view_.Place(rect.width(), rect.height());
  }

 private:
  TQtPageView& view_;
};

TQtPageView::TQtPageView(TFrame& frame, IMxPropertyPage* page, QWidget* parent)
    : QWidget(parent), frame_(frame), page_(page) {
  setObjectName(Q(frame.Name()));
  TBinding binding;
  binding.Outer = binding.Input = this;
  bindings_[&frame] = binding;
  metrics_ = std::make_unique<TQtMetrics>(*this);
  layout_ = std::make_unique<engine::TPageLayout>(*metrics_);
  new TPlacedLayout(*this);
  BuildChildren(frame, this);
  frame.SetObserver([this](TControl& control) { Sync(control); });
  frame.SetFocusObserver([this](TControl& control) {
    if (const auto it = bindings_.find(&control); it != bindings_.end())
      it->second.Input->setFocus();
  });
  Sync(frame);
}

void TQtPageView::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::FontChange && event->type() != QEvent::StyleChange) return;
  // The layout measures through the metrics: both are made before either is replaced.
  auto metrics = std::make_unique<TQtMetrics>(*this);
  auto layout = std::make_unique<engine::TPageLayout>(*metrics);
  layout_ = std::move(layout);
  metrics_ = std::move(metrics);
  if (QWidget::layout()) QWidget::layout()->invalidate();
  updateGeometry();
}

TQtPageView::~TQtPageView() {
  frame_.SetObserver(nullptr);
  frame_.SetFocusObserver(nullptr);
}

void TQtPageView::Guarded(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    MxDesignServices().MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK},
                                  frame_.HelpContext());
  }
}

void TQtPageView::BuildChildren(TContainer& container, QWidget* widget) {
  // The page layout places every widget; a form's label focuses the control beside it.
  const auto& children = container.Controls();
  for (const auto& child : children)
    Build(*child, widget);
  if (container.Layout() == TLayout::loForm) {
    for (std::size_t i = 0; i + 1 < children.size(); i += 2) {
      auto* label = qobject_cast<QLabel*>(bindings_[children[i].get()].Outer);
      const TBinding& target = bindings_[children[i + 1].get()];
      if (label) label->setBuddy(target.Input ? target.Input : target.Outer);
    }
  }
  // Labels name the control they focus wherever it is.
  for (const auto& child : children) {
    const auto* label = dynamic_cast<const TLabel*>(child.get());
    if (!label || !label->FocusControl()) continue;
    auto* widgetLabel = qobject_cast<QLabel*>(bindings_[label].Outer);
    const TBinding& target = bindings_[label->FocusControl()];
    if (widgetLabel && target.Input) widgetLabel->setBuddy(target.Input);
  }
}

QWidget* TQtPageView::BuildEdit(TEdit& edit, QWidget* parent, TBinding& binding) {
  auto* box = new QWidget(parent);
  box->setObjectName(Q(edit.Name() + "_box"));
  auto* line = new QLineEdit(box);
  line->setObjectName(Q(edit.Name()));
  if (const auto* masked = dynamic_cast<const TMaskEdit*>(&edit))
    line->setInputMask(QtInputMask(masked->EditMask(), masked->Hexadecimal()));
  connect(line, &QLineEdit::textChanged, this, [this, &edit](const QString& text) {
    if (!syncing_) Guarded([&] { edit.SetText(text.toStdString()); });
  });
  const auto addButton = [&](const TEditButton& button, const char* suffix,
                             void (TEdit::*click)()) {
    if (!button.Visible) return static_cast<QToolButton*>(nullptr);
    auto* tool = new QToolButton(box);
    tool->setObjectName(Q(edit.Name() + suffix));
    switch (button.Glyph) {
      case TEditGlyph::egFolder:
        tool->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
        break;
      case TEditGlyph::egReload:
        tool->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
        break;
      case TEditGlyph::egClear:
        tool->setIcon(style()->standardIcon(QStyle::SP_LineEditClearButton));
        break;
      case TEditGlyph::egEllipsis:
        tool->setText("...");
        break;
    }
    tool->setToolTip(Q(button.Hint));
    tool->setAutoRaise(false);
    connect(tool, &QToolButton::clicked, this,
            [this, &edit, click] { Guarded([&] { (edit.*click)(); }); });
    return tool;
  };
  binding.Folder = addButton(edit.FolderButton(), "_folder", &TEdit::ClickFolderButton);
  binding.Custom = addButton(edit.CustomButton(), "_custom", &TEdit::ClickCustomButton);
  binding.Input = line;
  return box;
}

// Makes the widget of each kind of control and connects what a person does to the model.
class TQtPageView::TWidgetMaker : public IControlVisitor {
 public:
  TWidgetMaker(TQtPageView& view, QWidget* parent, TBinding& binding)
      : view_(view), parent_(parent), binding_(binding) {}
  QWidget* Widget = nullptr;

  void Visit(TPanel& panel) override {
    QWidget* holder = nullptr;
    if (panel.Sunken()) {
      auto* frame = new QFrame(parent_);
      frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
      holder = frame;
    } else {
      holder = new QWidget(parent_);
    }
    Widget = holder;
  }
  void Visit(TGroupBox&) override {
    auto* box = new QGroupBox(parent_);
    Widget = box;
  }
  void Visit(TLabel& model) override {
    auto* label = new QLabel(parent_);
    label->setWordWrap(model.WordWrap());
    Widget = label;
  }
  void Visit(TCheckBox& model) override {
    auto* box = new QCheckBox(parent_);
    TQtPageView& view = view_;
    connect(box, &QCheckBox::clicked, &view, [&view, &model](bool checked) {
      view.Guarded([&] { model.SetChecked(checked); });
      view.Sync(model);
    });
    Widget = box;
  }
  void Visit(TRadioButton& model) override {
    auto* radio = new QRadioButton(parent_);
    // The models decide which button of a group is checked.
    radio->setAutoExclusive(false);
    TQtPageView& view = view_;
    connect(radio, &QRadioButton::clicked, &view, [&view, &model] {
      view.Guarded([&] { model.SetChecked(true); });
      view.Sync(model);
    });
    Widget = radio;
  }
  void Visit(TEdit& model) override { Widget = view_.BuildEdit(model, parent_, binding_); }
  void Visit(TSpinEdit& model) override {
    auto* spin = new QSpinBox(parent_);
    const bool limited = model.MinValue() != 0 || model.MaxValue() != 0;
    spin->setRange(limited ? static_cast<int>(model.MinValue()) : std::numeric_limits<int>::min(),
                   limited ? static_cast<int>(model.MaxValue()) : std::numeric_limits<int>::max());
    spin->setSingleStep(static_cast<int>(model.Increment()));
    TQtPageView& view = view_;
    connect(spin, &QSpinBox::valueChanged, &view, [&view, &model](int value) {
      if (!view.syncing_) view.Guarded([&] { model.SetValue(value); });
    });
    Widget = spin;
  }
  void Visit(TComboBox& model) override {
    auto* combo = new QComboBox(parent_);
    combo->setEditable(model.Style() == TComboBoxStyle::csDropDown);
    TQtPageView& view = view_;
    connect(combo, &QComboBox::activated, &view, [&view, &model](int index) {
      view.Guarded([&] { model.Choose(index); });
      view.Sync(model);
    });
    if (combo->isEditable()) {
      connect(combo, &QComboBox::editTextChanged, &view, [&view, &model](const QString& text) {
        if (!view.syncing_) view.Guarded([&] { model.Type(text.toStdString()); });
      });
    }
    Widget = combo;
  }
  void Visit(TStringGrid& model) override {
    auto* table = new QTableWidget(parent_);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    table->horizontalHeader()->setStretchLastSection(true);
    TQtPageView& view = view_;
    connect(table, &QTableWidget::itemChanged, &view, [&view, &model](QTableWidgetItem* item) {
      if (view.syncing_) return;
      view.Guarded([&] {
        model.Edit(item->column(), item->row() + model.FixedRows(), item->text().toStdString());
      });
    });
    Widget = table;
  }
  void Visit(TImage&) override {
    auto* label = new QLabel(parent_);
    label->setAlignment(Qt::AlignCenter);
    Widget = label;
  }
  void Visit(TButton& model) override {
    auto* button = new QPushButton(parent_);
    TQtPageView& view = view_;
    connect(button, &QPushButton::clicked, &view,
            [&view, &model] { view.Guarded([&] { model.Click(); }); });
    Widget = button;
  }

 private:
  TQtPageView& view_;
  QWidget* parent_;
  TBinding& binding_;
};

QWidget* TQtPageView::Build(TControl& control, QWidget* parent) {
  TBinding binding;
  TWidgetMaker maker(*this, parent, binding);
  control.Accept(maker);
  QWidget* widget = maker.Widget;
  if (!binding.Input) {
    widget->setObjectName(Q(control.Name()));
    binding.Input = widget;
  }
  binding.Outer = widget;
  binding.Input->installEventFilter(this);
  hints_[binding.Input] = &control;
  bindings_[&control] = binding;
  if (auto* container = dynamic_cast<TContainer*>(&control)) BuildChildren(*container, widget);
  Sync(control);
  return widget;
}

bool TQtPageView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::eventFilter(watched, event);
  const auto it = hints_.find(watched);
  if (it == hints_.end()) return QWidget::eventFilter(watched, event);
  std::string hint = it->second->Hint();
  // A page may rewrite its hints before they show (version-specific root folders).
  if (auto* rewriter = dynamic_cast<IMxPageHint*>(page_)) rewriter->OnShowHint(hint);
  if (hint.empty()) {
    QToolTip::hideText();
  } else {
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), Q(hint),
                       qobject_cast<QWidget*>(watched));
  }
  return true;
}

// Sets the widget of each kind of control from its model.
class TQtPageView::TWidgetSetter : public IControlVisitor {
 public:
  TWidgetSetter(const TBinding& binding, QString caption)
      : b_(binding), caption_(std::move(caption)) {}

  void Visit(TPanel&) override {}
  void Visit(TGroupBox&) override { static_cast<QGroupBox*>(b_.Outer)->setTitle(caption_); }
  void Visit(TLabel&) override { static_cast<QLabel*>(b_.Outer)->setText(caption_); }
  void Visit(TCheckBox& model) override {
    auto* box = static_cast<QCheckBox*>(b_.Input);
    box->setText(caption_);
    box->setChecked(model.Checked());
  }
  void Visit(TRadioButton& model) override {
    auto* radio = static_cast<QRadioButton*>(b_.Input);
    radio->setText(caption_);
    radio->setChecked(model.Checked());
  }
  void Visit(TEdit& edit) override {
    auto* line = static_cast<QLineEdit*>(b_.Input);
    if (line->text().toStdString() != edit.Text()) line->setText(Q(edit.Text()));
    line->setReadOnly(edit.ReadOnly());
    if (b_.Folder) b_.Folder->setToolTip(Q(edit.FolderButton().Hint));
    if (b_.Custom) b_.Custom->setToolTip(Q(edit.CustomButton().Hint));
  }
  void Visit(TSpinEdit& model) override {
    static_cast<QSpinBox*>(b_.Input)->setValue(static_cast<int>(std::lround(model.Value())));
  }
  void Visit(TComboBox& model) override {
    auto* combo = static_cast<QComboBox*>(b_.Input);
    QStringList items;
    for (const auto& item : model.Items())
      items << Q(item);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i)
      shown << combo->itemText(i);
    if (items != shown) {
      combo->clear();
      combo->addItems(items);
    }
    combo->setCurrentIndex(model.ItemIndex());
    if (combo->isEditable()) combo->setEditText(Q(model.Text()));
  }
  void Visit(TStringGrid& model) override {
    auto* table = static_cast<QTableWidget*>(b_.Input);
    const int fixed = model.FixedRows();
    table->setColumnCount(model.ColCount());
    table->setRowCount(std::max(model.RowCount() - fixed, 0));
    QStringList headings;
    for (int col = 0; col < model.ColCount(); ++col)
      headings << (fixed > 0 ? Q(model.Cell(col, 0)) : QString());
    table->setHorizontalHeaderLabels(headings);
    for (int row = fixed; row < model.RowCount(); ++row) {
      for (int col = 0; col < model.ColCount(); ++col) {
        QTableWidgetItem* item = table->item(row - fixed, col);
        if (!item) {
          item = new QTableWidgetItem;
          table->setItem(row - fixed, col, item);
        }
        item->setText(Q(model.Cell(col, row)));
        item->setFlags(model.Editable() ? item->flags() | Qt::ItemIsEditable
                                        : item->flags() & ~Qt::ItemIsEditable);
      }
    }
    // Every column but the last, which takes the rest, is as wide as its longest text, so that
    // no key is cut ("LegalTrademarks").
    for (int col = 0; col + 1 < model.ColCount(); ++col) {
      const int before = table->columnWidth(col);
      table->resizeColumnToContents(col);
      table->setColumnWidth(col, std::max(before, table->columnWidth(col)));
    }
  }
  void Visit(TImage& image) override {
    auto* label = static_cast<QLabel*>(b_.Input);
    QPixmap pixmap;
    if (!image.Picture().empty() &&
        pixmap.loadFromData(reinterpret_cast<const uchar*>(image.Picture().data()),
                            static_cast<uint>(image.Picture().size()))) {
      label->setPixmap(pixmap.scaled(image.Width(), image.Height(), Qt::KeepAspectRatio,
                                     Qt::SmoothTransformation));
    } else {
      label->clear();
    }
  }
  void Visit(TButton&) override { static_cast<QPushButton*>(b_.Input)->setText(caption_); }

 private:
  const TBinding& b_;
  QString caption_;
};

void TQtPageView::Sync(TControl& control) {
  const auto it = bindings_.find(&control);
  if (it == bindings_.end()) return;
  TBinding& b = it->second;
  const bool wasSyncing = syncing_;
  syncing_ = true;
  b.Outer->setEnabled(control.Enabled());
  if (b.Outer != this) b.Outer->setHidden(!control.Visible());
  if (control.Color() != TColor::clDefault) {
    // The face of a text area, or of a button for an area whose values are someone else's.
    QWidget* face = b.Input ? b.Input : b.Outer;
    QPalette palette = QApplication::palette(face);
    if (control.Color() == TColor::clBtnFace) palette.setBrush(QPalette::Base, palette.button());
    face->setPalette(palette);
  }
  TWidgetSetter setter(b, Q(control.Caption()));
  control.Accept(setter);
  syncing_ = wasSyncing;
  // What is shown and how wide its texts are decide where everything goes: a change of either
  // places the page again.
  if ((b.Caption != control.Caption() || b.Shown != control.Visible()) && layout())
    layout()->invalidate();
  b.Caption = control.Caption();
  b.Shown = control.Visible();
}

void TQtPageView::Place(int width, int height) {
  std::unordered_map<const TControl*, engine::TLayoutRect> bounds;
  const engine::TLayoutRect page{0, 0, width, height};
  for (const auto& placed : layout_->Place(frame_, page)) {
    bounds[placed.Control] = placed.Bounds;
    if (placed.Control == &frame_) continue;
    // A widget sits in its container's widget.
    const engine::TLayoutRect outer = bounds[placed.Control->Parent()];
    const engine::TLayoutRect& r = placed.Bounds;
    const TBinding& b = bindings_[placed.Control];
    b.Outer->setGeometry(r.Left - outer.Left, r.Top - outer.Top, r.Width(), r.Height());
    if (const auto* edit = dynamic_cast<const TEdit*>(placed.Control)) {
      const engine::TLayoutRect inside{0, 0, r.Width(), r.Height()};
      b.Input->setGeometry(0, 0, layout_->EditBoxWidth(*edit, r.Width()), r.Height());
      for (const auto& button : layout_->EditButtons(*edit, inside)) {
        QToolButton* tool = button.Button == &edit->CustomButton() ? b.Custom : b.Folder;
        if (tool)
          tool->setGeometry(button.Bounds.Left, button.Bounds.Top, button.Bounds.Width(),
                            button.Bounds.Height());
      }
    }
  }
}

}  // namespace mx::gui
