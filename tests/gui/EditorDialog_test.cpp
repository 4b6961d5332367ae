// The desktop editor on Qt's offscreen platform: the real dialog for a real build script,
// clicked and typed into through its widgets. File and message dialogs are answered by the
// scripted design services.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "moxtal/api/ObjectText.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/DesignServices.h"
#include "moxtal/engine/Host.h"
#include "moxtal/engine/ScriptedDesignServices.h"
#include "moxtal/gui/QtDesignServices.h"
#include "moxtal/gui/QtPageDialog.h"
#include "moxtal/gui/QtPageView.h"
#include "package/action/MxCBuilderAction.h"
#include "package/host/MxRegister.h"
#include "package/pages/MxCBuilderFrame.h"

using namespace mx;
namespace fs = std::filesystem;

namespace {

// A second page for the editor's tests, which hides and shows itself.
class TSecondPage : public bcc::TMxCBuilderFrame {
 public:
  explicit TSecondPage(IMxComponent* owner) : TMxCBuilderFrame(owner, "SecondPage", 0) {
    Add<TLabel>("lblSecond", "The second page");
  }
  void ReadActionData(TCustomMxAction&) override {}
  void WriteActionData(TCustomMxAction&) override {}
  std::string PageName() override { return "Second"; }
};

// The package at design time, with a second page of the test's own, once per process.
void RegisterPackage() {
  static const bool registered = [] {
    engine::THost::Instance().SetHostFolder(MX_BIN_DIR);
    bcc::Register(true);
    MxActionServices().RegisterPropertyPage(bcc::TMxCBuilderAction::StaticClassInfo(),
                                            PageClass<TSecondPage>("TSecondPage"));
    return true;
  }();
  (void)registered;
}

class EditorDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterPackage(); }

  void SetUp() override {
    before_ = engine::SetDesignServices(&desk_);
    dir_ = fs::temp_directory_path() /
           ("mx_editor_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    std::ofstream(dir_ / "App.bpr", std::ios::binary)
        << "<?xml version='1.0' encoding='utf-8' ?>\n<PROJECT>\n<MACROS>\n"
           "<VERSION value=\"BCB.05.03\"/>\n<PROJECT value=\"App.exe\"/>\n"
           "<PACKAGES value=\"vcl50.bpi\"/>\n</MACROS>\n<LINKER>\n"
           "<ALLOBJ value=\"c0w32.obj $(PACKAGES) sysinit.obj\"/>\n</LINKER>\n</PROJECT>\n";
    scriptPath_ = (dir_ / "build.mxs").string();
    engine::TBuildScript fresh;
    auto created = engine::TBuildScript::CreateAction("TMxCBuilderAction");
    created->SetName("Build App");
    SetPropAsString(*created, "ProjectFile", "App.bpr");
    SetPropAsString(*created, "UseCorbaSettings", "False");
    fresh.AddAction(created);
    fresh.Save(scriptPath_);
    Open();
  }
  void TearDown() override {
    view_.reset();
    model_.reset();
    engine::SetDesignServices(before_);
    fs::remove_all(dir_);
  }

  // Loads the script and shows the action's dialog.
  void Open() {
    view_.reset();
    model_.reset();
    script_ = engine::TBuildScript::Load(scriptPath_);
    action_ = script_->FindAction("Build App");
    model_ = std::make_unique<engine::TPageDialog>(*action_);
    model_->Open();
    view_ = std::make_unique<gui::TQtPageDialog>(*model_, "Build App", QIcon());
    view_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view_.get()));
  }

  template <class W>
  W* Find(const char* name) const {
    W* widget = view_->findChild<W*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  // A click where a person clicks: a check box on its box, anything else in its middle.
  void Click(QWidget* widget) const {
    const QPoint at = qobject_cast<QCheckBox*>(widget) ? QPoint(8, widget->height() / 2)
                                                       : widget->rect().center();
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
  }
  void Press(QDialogButtonBox::StandardButton which) const {
    Click(Find<QDialogButtonBox>("buttons")->button(which));
  }

  engine::TScriptedDesignServices desk_;
  IMxDesignServices* before_ = nullptr;
  fs::path dir_;
  std::string scriptPath_;
  std::unique_ptr<engine::TBuildScript> script_;
  std::shared_ptr<TCustomMxAction> action_;
  std::unique_ptr<engine::TPageDialog> model_;
  std::unique_ptr<gui::TQtPageDialog> view_;
};

TEST_F(EditorDialogTest, ClicksAndTypingReachTheScriptWhenOkIsPressed) {
  auto* buildAll = Find<QCheckBox>("chkBuildAll");
  ASSERT_TRUE(buildAll->isChecked());
  Click(buildAll);
  EXPECT_FALSE(buildAll->isChecked());
  QTest::keyClicks(Find<QLineEdit>("txtMakeOptions"), "-s -DX=1");
  // The packages edit follows its check box, in the widgets as in the model.
  auto* packages = Find<QLineEdit>("txtPackages");
  EXPECT_FALSE(packages->isEnabled());
  Click(Find<QCheckBox>("chkUsePackages"));
  EXPECT_TRUE(packages->isEnabled());

  // The reload button asks, reads the project (relative to the script's folder) and checks
  // every use-options box.
  desk_.Answer(TModalResult::mrYes);
  Click(Find<QToolButton>("txtProject_custom"));
  EXPECT_EQ(desk_.Calls().front().Kind, "MessageDlg");
  EXPECT_TRUE(Find<QCheckBox>("chkUseCorbaOptions")->isChecked());
  EXPECT_EQ(packages->text(), "vcl50.bpi");

  Press(QDialogButtonBox::Ok);
  EXPECT_EQ(view_->result(), QDialog::Accepted);
  script_->Save(scriptPath_);
  Open();
  EXPECT_EQ(GetPropAsString(*action_, "BuildAll"), "False");
  EXPECT_EQ(GetPropAsString(*action_, "MakeOptions"), "-s -DX=1");
  EXPECT_EQ(GetPropAsString(*action_, "UseCorbaSettings"), "True");
  EXPECT_EQ(GetPropAsString(*action_, "CBuilderVersion"), "cvBCB5");
  EXPECT_EQ(Find<QLineEdit>("txtMakeOptions")->text(), "-s -DX=1");
}

// The linker page's sizes and image base are hexadecimal: shown whole, typed in either case.
TEST_F(EditorDialogTest, TheLinkerSizesShowAndTakeHexadecimalDigits) {
  dynamic_cast<bcc::TMxCBuilderAction&>(*action_).GetLinkerOpt()->SetImageBase(0x1A000000);
  script_->Save(scriptPath_);
  Open();
  EXPECT_EQ(Find<QLineEdit>("txtImageBase")->text(), "0x1A000000");
  auto* maxHeap = Find<QLineEdit>("txtMaxHeapSize");
  maxHeap->setFocus();
  maxHeap->setCursorPosition(2);
  // Typing overwrites the digits it passes; a letter that is not a digit is refused.
  QTest::keyClicks(maxHeap, "00abcdeg");
  EXPECT_EQ(maxHeap->text(), "0x00ABCDE0");
  QTest::keyClicks(maxHeap, "f");
  EXPECT_EQ(maxHeap->text(), "0x00ABCDEF");

  Press(QDialogButtonBox::Ok);
  ASSERT_EQ(view_->result(), QDialog::Accepted);
  const auto& linker = *dynamic_cast<bcc::TMxCBuilderAction&>(*action_).GetLinkerOpt();
  EXPECT_EQ(linker.GetMaxHeapSize(), 0xABCDEFu);
  EXPECT_EQ(linker.GetImageBase(), 0x1A000000u);
}

TEST_F(EditorDialogTest, CancelLeavesTheActionAsItWas) {
  const auto before = PropertyTexts(*action_);
  Click(Find<QCheckBox>("chkRegenResource"));
  QTest::keyClicks(Find<QLineEdit>("txtBPR2MakeOptions"), "-q");
  Press(QDialogButtonBox::Cancel);
  EXPECT_EQ(view_->result(), QDialog::Rejected);
  EXPECT_EQ(PropertyTexts(*action_), before);
}

// The help of an action with many properties scrolls inside a window that fits the screen.
TEST_F(EditorDialogTest, TheHelpFitsTheScreenAndScrolls) {
  QSize shown;
  bool scrolls = false;
  QTimer::singleShot(0, [&] {
    QWidget* help = QApplication::activeModalWidget();
    ASSERT_NE(help, nullptr);
    shown = help->size();
    const auto* text = help->findChild<QTextBrowser*>();
    scrolls = text && text->verticalScrollBar()->maximum() > 0;
    help->close();
  });
  Press(QDialogButtonBox::Help);
  const QRect screen = view_->screen()->availableGeometry();
  EXPECT_LE(shown.height(), screen.height() * 2 / 3);
  EXPECT_LE(shown.width(), screen.width());
  EXPECT_TRUE(scrolls);
}

TEST_F(EditorDialogTest, AHiddenPageLeavesTheTabsAndComesBackInItsPlace) {
  QTabWidget* tabs = view_->Tabs();
  const int shown = tabs->count();
  ASSERT_EQ(tabs->tabText(shown - 1), "Second");
  const TFrame& second = *model_->Pages().back().Frame;
  model_->SetPageVisible(second.Tag(), false);
  EXPECT_EQ(tabs->count(), shown - 1);
  model_->SetPageVisible(second.Tag(), true);
  ASSERT_EQ(tabs->count(), shown);
  EXPECT_EQ(tabs->tabText(shown - 1), "Second");
  // The librarian page is there for library projects only.
  EXPECT_EQ(tabs->tabText(3), "Linker");
}

// The captions of the controls of `frame` that are meant to show: shown, and not hidden
// inside a hidden container.
std::vector<const TControl*> ShownCaptions(const TFrame& frame) {
  std::vector<const TControl*> shown;
  std::vector<const TControl*> pending = {&frame};
  while (!pending.empty()) {
    const TControl* control = pending.back();
    pending.pop_back();
    if (!control->Visible()) continue;
    if (const auto* container = dynamic_cast<const TContainer*>(control)) {
      for (const auto& child : container->Controls())
        pending.push_back(child.get());
    }
    if (!control->Caption().empty() && control != &frame) shown.push_back(control);
  }
  return shown;
}

TEST_F(EditorDialogTest, EveryPageIsDrawnWithEveryCaption) {
  const QString folder = QString::fromStdString((dir_ / "shots").string());
  view_->SaveScreenshots(folder);
  for (std::size_t i = 0; i < model_->Pages().size(); ++i) {
    std::string name;
    for (const char c : model_->Pages()[i].Page->PageName()) {
      if (c != ' ') name += c;
    }
    const fs::path file =
        dir_ / "shots" / ((i < 9 ? "0" : "") + std::to_string(i + 1) + "-" + name + ".png");
    SCOPED_TRACE(file.string());
    // Only the pages the dialog shows for this action are drawn (TLIB is for libraries).
    ASSERT_EQ(fs::exists(file), model_->Pages()[i].Visible);
    if (!model_->Pages()[i].Visible) continue;
    const QImage image(QString::fromStdString(file.string()));
    ASSERT_FALSE(image.isNull());
    // Not blank: a page of text and frames has many colours.
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
      for (int x = 0; x < image.width(); x += 2)
        colours.insert(image.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 20);
  }
  // Every caption of every shown page is on a widget that shows it.
  int captions = 0;
  for (std::size_t i = 0; i < model_->Pages().size(); ++i) {
    const auto& page = model_->Pages()[i];
    if (!page.Visible) continue;
    view_->Tabs()->setCurrentWidget(view_->View(i));
    for (const TControl* control : ShownCaptions(*page.Frame)) {
      const QString name = QString::fromStdString(control->Name());
      QWidget* widget = view_->View(i)->findChild<QWidget*>(name);
      ASSERT_NE(widget, nullptr) << control->Name();
      EXPECT_TRUE(widget->isVisible()) << control->Name();
      const QString text = control->Kind() == TControlKind::ckGroupBox
                               ? widget->property("title").toString()
                               : widget->property("text").toString();
      EXPECT_EQ(text.toStdString(), control->Caption()) << control->Name();
      ++captions;
    }
  }
  EXPECT_GT(captions, 200);
}

// A page given a larger font measures again: its labels take the room their text now needs.
TEST_F(EditorDialogTest, ANewFontIsMeasuredAgain) {
  QWidget* page = view_->View(0);
  view_->Tabs()->setCurrentWidget(page);
  auto* label = page->findChild<QLabel*>("lblProject");
  ASSERT_NE(label, nullptr);
  auto* edit = page->findChild<QLineEdit*>("txtProject");
  ASSERT_NE(edit, nullptr);
  QFont larger = page->font();
  if (larger.pointSizeF() > 0) {
    larger.setPointSizeF(larger.pointSizeF() * 2);
  } else {
    larger.setPixelSize(larger.pixelSize() * 2);
  }
  ASSERT_GT(QFontMetrics(larger).height(), page->fontMetrics().height());
  page->setFont(larger);
  QApplication::processEvents();
  if (page->layout()) page->layout()->activate();
  EXPECT_GE(label->width(), QFontMetrics(larger).horizontalAdvance(label->text()));
  EXPECT_GE(label->height(), QFontMetrics(larger).height());
  // The edit is as tall as an edit in that font asks.
  EXPECT_GE(edit->height(), edit->sizeHint().height());
}

TEST_F(EditorDialogTest, TheVersionPageEnablesTypesAndWritesItsKeys) {
  Find<QTabWidget>("pages")->setCurrentWidget(Find<QWidget>("CBuilderVersionInfoFrame"));
  auto* major = Find<QSpinBox>("spMajorVer");
  EXPECT_FALSE(major->isEnabled());
  Click(Find<QCheckBox>("cbIncludeVerInfo"));
  EXPECT_TRUE(major->isEnabled());
  // A key typed into the grid, then a version number changed with the keyboard.
  auto* grid = Find<QTableWidget>("VersionKeyGrid");
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Key");
  // The grid's face follows its model's colour: a button's while a property set holds the keys.
  TControl* keys = nullptr;
  for (const auto& page : model_->Pages()) {
    if (!keys) keys = page.Frame->FindControl("VersionKeyGrid");
  }
  ASSERT_NE(keys, nullptr);
  const QPalette standard = QApplication::palette(grid);
  keys->SetColor(TColor::clBtnFace);
  EXPECT_EQ(grid->palette().color(QPalette::Base), standard.color(QPalette::Button));
  keys->SetColor(TColor::clWindow);
  EXPECT_EQ(grid->palette().color(QPalette::Base), standard.color(QPalette::Base));
  grid->item(0, 0)->setText("FileVersion");
  grid->item(1, 0)->setText("CompanyName");
  grid->item(1, 1)->setText("Acme");
  // The longest key of the version resource is shown whole.
  grid->item(2, 0)->setText("LegalTrademarks");
  EXPECT_GE(grid->columnWidth(0), grid->fontMetrics().horizontalAdvance("LegalTrademarks"));
  grid->item(2, 0)->setText("");
  const int next = major->value() + 1;
  major->setFocus();
  QTest::keyClick(major, Qt::Key_Up);
  EXPECT_EQ(major->value(), next);
  EXPECT_EQ(grid->item(0, 1)->text(), QString("%1.0.0.0").arg(next));
  auto* locale = Find<QComboBox>("cbLocale");
  locale->setFocus();
  QTest::keyClick(locale, Qt::Key_Down);
  EXPECT_EQ(Find<QLabel>("lblLocaleID")->text().left(1), "$");
  Press(QDialogButtonBox::Ok);
  script_->Save(scriptPath_);
  Open();
  EXPECT_EQ(GetPropAsString(*action_, "IncludeVerInfo"), "True");
  EXPECT_EQ(GetPropAsString(*action_, "MajorVersion"), std::to_string(next));
  EXPECT_EQ(GetPropAsString(*action_, "VersionInfoKeys"),
            "FileVersion=" + std::to_string(next) + ".0.0.0\r\nCompanyName=Acme\r\n");
  EXPECT_NE(GetPropAsString(*action_, "Locale"), "3081");
}

// The C++Builder 2007 action's dialog: a reload from a real project through the widgets.
TEST(Editor2006DialogTest, AReloadFillsTheConfigurationsAndTheVersionPage) {
  RegisterPackage();
  const fs::path dir = fs::temp_directory_path() / "mx_editor_2006";
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::ofstream(dir / "App.cbproj", std::ios::binary)
      << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         "<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">"
         "<ItemGroup><BuildConfiguration Include=\"Base\"/>"
         "<BuildConfiguration Include=\"Release\"/></ItemGroup><ProjectExtensions>"
         "<BorlandProject><BorlandProject><CPlusPlusBuilder.Personality><VersionInfo>"
         "<VersionInfo Name=\"IncludeVerInfo\">True</VersionInfo>"
         "<VersionInfo Name=\"MajorVer\">6</VersionInfo></VersionInfo><VersionInfoKeys>"
         "<VersionInfoKeys Name=\"FileVersion\">6.0.0.0</VersionInfoKeys></VersionInfoKeys>"
         "</CPlusPlusBuilder.Personality></BorlandProject></BorlandProject>"
         "</ProjectExtensions></Project>\n";
  engine::TBuildScript fresh;
  auto created = engine::TBuildScript::CreateAction("TCBuilder2006Action");
  created->SetName("App 2007");
  SetPropAsString(*created, "ProjectFile", "App.cbproj");
  SetPropAsString(*created, "CBuilderVersion", "cb2007");
  fresh.AddAction(created);
  const std::string path = (dir / "build.mxs").string();
  fresh.Save(path);

  engine::TScriptedDesignServices desk;
  IMxDesignServices* before = engine::SetDesignServices(&desk);
  auto script = engine::TBuildScript::Load(path);
  auto action = script->FindAction("App 2007");
  engine::TPageDialog model(*action);
  model.Open();
  gui::TQtPageDialog view(model, "App 2007", QIcon());
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  ASSERT_EQ(view.Tabs()->count(), 3);
  desk.Answer(TModalResult::mrYes);
  QTest::mouseClick(view.findChild<QToolButton*>("txtProject_custom"), Qt::LeftButton);
  auto* configs = view.findChild<QComboBox*>("cboConfigs");
  ASSERT_EQ(configs->count(), 2);
  EXPECT_EQ(configs->currentText(), "Base");
  EXPECT_EQ(view.findChild<QSpinBox*>("spMajorVer")->value(), 6);
  EXPECT_EQ(view.findChild<QTableWidget*>("VersionKeyGrid")->item(0, 1)->text(), "6.0.0.0");
  QTest::mouseClick(view.findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok),
                    Qt::LeftButton);
  EXPECT_EQ(GetPropAsString(*action, "Config"), "Base");
  EXPECT_EQ(GetPropAsString(*action, "MajorVersion"), "6");
  engine::SetDesignServices(before);
  fs::remove_all(dir);
}

// Runs `act` on the modal dialog named `name` once it is open; a dialog that `act` leaves
// open (a failed assertion, say) is cancelled, so that the test goes on.
void WhenOpen(const char* name, std::function<void(QWidget&)> act) {
  QTimer::singleShot(0, [name, act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      ADD_FAILURE() << "no dialog open";
      return;
    }
    EXPECT_EQ(dialog->objectName(), name);
    [&] { act(*dialog); }();
    if (dialog->isVisible()) dialog->reject();
  });
}

void PressIn(QWidget& dialog, QDialogButtonBox::StandardButton which) {
  QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(which), Qt::LeftButton);
}

TEST(QtDesignDialogsTest, TheCheckListShowsEverySwitchAndEditsTheSelection) {
  gui::TQtDesignServices services(nullptr);
  const platform::TStringList all(
      "-wpar=Parameter is never used\r\n-waus=Assigned a value that is never used\r\n"
      "-wxyz=Something else\r\n");
  platform::TStringList selection("-wpar=1\r\n-wxyz=0\r\n");
  WhenOpen("checkListForm", [](QWidget& dialog) {
    auto* list = dialog.findChild<QListWidget*>("checkList");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), "-waus\tAssigned a value that is never used");
    EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(list->item(1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(list->item(2)->checkState(), Qt::Unchecked);
    // A person toggles two boxes with the space bar.
    list->setFocus();
    for (int row : {0, 1}) {
      list->setCurrentRow(row);
      QTest::keyClick(list, Qt::Key_Space);
    }
    PressIn(dialog, QDialogButtonBox::Ok);
  });
  ASSERT_TRUE(services.DisplayCheckListForm(nullptr, "Compiler Warnings", 1140, all, selection));
  // Checked switches are on; a switch that was off and stayed unchecked stays off.
  EXPECT_EQ(selection.Text(), "-waus=1\r\n-wxyz=0\r\n");

  WhenOpen("checkListForm", [](QWidget& dialog) { PressIn(dialog, QDialogButtonBox::Cancel); });
  EXPECT_FALSE(services.DisplayCheckListForm(nullptr, "Compiler Warnings", 1140, all, selection));
  EXPECT_EQ(selection.Text(), "-waus=1\r\n-wxyz=0\r\n");
}

TEST(QtDesignDialogsTest, ThePathEditorAddsRemovesAndMovesFolders) {
  gui::TQtDesignServices services(nullptr);
  std::string paths = "a;b;c";
  WhenOpen("pathEditor", [](QWidget& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Include Paths");
    auto* list = dialog.findChild<QListWidget*>("pathList");
    ASSERT_EQ(list->count(), 3);
    const auto click = [&dialog](const char* button) {
      QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    };
    list->setCurrentRow(2);
    click("up");
    list->setCurrentRow(0);
    click("remove");
    click("add");
    // The new line opens for typing.
    auto* editor = list->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "$(BCB)\\include");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the list takes what was typed on its next turn
    EXPECT_EQ(list->item(2)->text(), "$(BCB)\\include");
    PressIn(dialog, QDialogButtonBox::Ok);
  });
  ASSERT_TRUE(services.EditPath(paths, "Include Path", "Include Paths", 1140, ';'));
  EXPECT_EQ(paths, "c;b;$(BCB)\\include");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
