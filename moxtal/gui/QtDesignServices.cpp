#include "QtDesignServices.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "moxtal/engine/DesignServices.h"
#include "platform/StrUtils.h"

namespace mx::gui {

namespace {

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Message texts break their lines with CR LF.
QString MessageText(std::string_view text) {
  return Q(text).replace("\r\n", "\n");
}

}  // namespace

QStringList QtNameFilters(std::string_view filter) {
  QStringList filters;
  const QStringList parts = Q(filter).split('|');
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString pattern = "(" + QString(parts[i + 1]).replace(';', ' ') + ")";
    filters << (parts[i].endsWith(pattern) ? parts[i] : parts[i] + " " + pattern);
  }
  return filters;
}

TModalResult TQtDesignServices::MessageDlg(std::string_view text, TMsgDlgType type,
                                           TMsgDlgButtons buttons, int) {
  QMessageBox box(parent_);
  box.setWindowTitle(engine::MessageDlgTitle(type));
  switch (type) {
    case TMsgDlgType::mtWarning:
      box.setIcon(QMessageBox::Warning);
      break;
    case TMsgDlgType::mtError:
      box.setIcon(QMessageBox::Critical);
      break;
    case TMsgDlgType::mtInformation:
      box.setIcon(QMessageBox::Information);
      break;
    case TMsgDlgType::mtConfirmation:
      box.setIcon(QMessageBox::Question);
      break;
    case TMsgDlgType::mtCustom:
      break;
  }
  box.setText(MessageText(text));
  QMessageBox::StandardButtons standard;
  if (buttons.Contains(TMsgDlgBtn::mbYes)) standard |= QMessageBox::Yes;
  if (buttons.Contains(TMsgDlgBtn::mbNo)) standard |= QMessageBox::No;
  if (buttons.Contains(TMsgDlgBtn::mbOK)) standard |= QMessageBox::Ok;
  if (buttons.Contains(TMsgDlgBtn::mbCancel)) standard |= QMessageBox::Cancel;
  box.setStandardButtons(standard);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return TModalResult::mrYes;
    case QMessageBox::No:
      return TModalResult::mrNo;
    case QMessageBox::Ok:
      return TModalResult::mrOk;
    default:
      return TModalResult::mrCancel;
  }
}

void TQtDesignServices::ShowMessage(std::string_view text) {
  QMessageBox box(parent_);
  box.setWindowTitle("moxtal");
  box.setText(MessageText(text));
  box.exec();
}

bool TQtDesignServices::Execute(TOpenDialog& dialog) {
  QFileDialog files(parent_, Q(dialog.Title));
  files.setFileMode(QFileDialog::ExistingFile);
  files.setAcceptMode(QFileDialog::AcceptOpen);
  const QStringList filters = QtNameFilters(dialog.Filter);
  files.setNameFilters(filters);
  if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size())
    files.selectNameFilter(filters[dialog.FilterIndex - 1]);
  std::string suffix = dialog.DefaultExt;
  if (!suffix.empty() && suffix.front() == '.') suffix.erase(0, 1);
  files.setDefaultSuffix(Q(suffix));
  if (!dialog.InitialDir.empty()) files.setDirectory(Q(dialog.InitialDir));
  if (!dialog.FileName.empty()) files.selectFile(Q(dialog.FileName));
  QObject::connect(&files, &QFileDialog::filterSelected,
                   [&dialog, &filters, &files](const QString& f) {
                     dialog.FilterIndex = static_cast<int>(filters.indexOf(f)) + 1;
                     if (!dialog.OnTypeChange) return;
                     // No exception may unwind through Qt's event loop: a page's failure is shown
                     // instead.
                     try {
                       dialog.OnTypeChange();
                     } catch (const std::exception& e) {
                       QMessageBox::critical(&files, QString(), QString::fromStdString(e.what()));
                     }
                   });
  if (files.exec() != QDialog::Accepted || files.selectedFiles().isEmpty()) return false;
  dialog.FileName = files.selectedFiles().front().toStdString();
  return true;
}

bool TQtDesignServices::BrowseForFolder(std::string_view caption, std::string& folder) {
  const QString chosen = QFileDialog::getExistingDirectory(parent_, Q(caption), Q(folder));
  if (chosen.isEmpty()) return false;
  folder = chosen.toStdString();
  return true;
}

bool TQtDesignServices::DisplayCheckListForm(IMxComponent*, std::string_view caption, int,
                                             const platform::TStringList& all,
                                             platform::TStringList& selection) {
  QDialog dialog(parent_);
  dialog.setObjectName("checkListForm");
  dialog.setWindowTitle(Q(caption));
  auto* layout = new QVBoxLayout(&dialog);
  auto* list = new QListWidget(&dialog);
  list->setObjectName("checkList");
  layout->addWidget(list);
  for (int i = 0; i < all.Count(); ++i) {
    if (all[i].empty()) continue;
    const std::string name = all.Names(i);
    auto* item = new QListWidgetItem(Q(name) + "\t" + Q(all.ValueFromIndex(i)), list);
    item->setData(Qt::UserRole, Q(name));
    const int at = selection.IndexOfName(name);
    const bool on = at >= 0 && selection.ValueFromIndex(at) != "0";
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  dialog.resize(520, 420);
  if (dialog.exec() != QDialog::Accepted) return false;
  std::vector<std::pair<std::string, bool>> items;
  for (int i = 0; i < list->count(); ++i) {
    const QListWidgetItem* item = list->item(i);
    items.emplace_back(item->data(Qt::UserRole).toString().toStdString(),
                       item->checkState() == Qt::Checked);
  }
  selection.Assign(engine::CheckListResult(selection, items));
  return true;
}

bool TQtDesignServices::EditPath(std::string& paths, std::string_view item,
                                 std::string_view caption, int, char separator) {
  QDialog dialog(parent_);
  dialog.setObjectName("pathEditor");
  dialog.setWindowTitle(Q(caption));
  auto* layout = new QVBoxLayout(&dialog);
  auto* heading = new QLabel(Q(item) + ", one folder to a line:", &dialog);
  layout->addWidget(heading);
  auto* row = new QHBoxLayout;
  auto* list = new QListWidget(&dialog);
  list->setObjectName("pathList");
  for (const QString& folder : Q(paths).split(QChar(separator), Qt::SkipEmptyParts)) {
    auto* entry = new QListWidgetItem(folder, list);
    entry->setFlags(entry->flags() | Qt::ItemIsEditable);
  }
  row->addWidget(list, 1);
  auto* side = new QVBoxLayout;
  auto* add = new QPushButton("&Add", &dialog);
  auto* browse = new QPushButton("&Browse...", &dialog);
  auto* remove = new QPushButton("&Remove", &dialog);
  auto* up = new QPushButton("&Up", &dialog);
  auto* down = new QPushButton("&Down", &dialog);
  add->setObjectName("add");
  browse->setObjectName("browse");
  remove->setObjectName("remove");
  up->setObjectName("up");
  down->setObjectName("down");
  for (QPushButton* b : {add, browse, remove, up, down})
    side->addWidget(b);
  side->addStretch(1);
  row->addLayout(side);
  layout->addLayout(row);
  // Add starts a new line to type in; Browse picks a folder for the chosen line (or a new one).
  QObject::connect(add, &QPushButton::clicked, [list] {
    auto* entry = new QListWidgetItem(list);
    entry->setFlags(entry->flags() | Qt::ItemIsEditable);
    list->setCurrentItem(entry);
    list->editItem(entry);
  });
  QObject::connect(browse, &QPushButton::clicked, [&dialog, list] {
    QListWidgetItem* entry = list->currentItem();
    const QString folder = QFileDialog::getExistingDirectory(&dialog, "Select a folder",
                                                             entry ? entry->text() : QString());
    if (folder.isEmpty()) return;
    if (!entry) {
      entry = new QListWidgetItem(list);
      entry->setFlags(entry->flags() | Qt::ItemIsEditable);
    }
    entry->setText(QDir::toNativeSeparators(folder));
  });
  QObject::connect(remove, &QPushButton::clicked, [list] { delete list->currentItem(); });
  const auto move = [list](int by) {
    const int at = list->currentRow();
    if (at < 0 || at + by < 0 || at + by >= list->count()) return;
    QListWidgetItem* moved = list->takeItem(at);
    list->insertItem(at + by, moved);
    list->setCurrentRow(at + by);
  };
  QObject::connect(up, &QPushButton::clicked, [move] { move(-1); });
  QObject::connect(down, &QPushButton::clicked, [move] { move(1); });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  dialog.resize(560, 360);
  if (dialog.exec() != QDialog::Accepted) return false;
  QStringList items;
  for (int i = 0; i < list->count(); ++i) {
    if (!list->item(i)->text().trimmed().isEmpty()) items << list->item(i)->text().trimmed();
  }
  paths = items.join(QChar(separator)).toStdString();
  return true;
}

}  // namespace mx::gui
