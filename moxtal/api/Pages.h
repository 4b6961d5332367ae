#pragma once
// Property pages: the page base class, the interfaces between the pages and the dialog that
// holds them, and how a package registers pages and property editors for its action classes.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "moxtal/api/Controls.h"
#include "moxtal/api/MxTypes.h"

namespace mx {

class TClassInfo;
class TCustomMxAction;

/// Anything a page can be asked for an interface: the dialog that owns the pages, and the
/// pages themselves. Asking is a dynamic cast.
class IMxComponent {
 public:
  virtual ~IMxComponent() = default;
};

/// A property page as the dialog drives it.
class IMxPropertyPage {
 public:
  virtual ~IMxPropertyPage() = default;
  virtual void InitFrame(IMxComponent* owner) = 0;
  virtual void InitPage(TCustomMxAction& action) = 0;
  virtual void OnPageActivate() = 0;
  virtual void OnPageDeActivate() = 0;
  /// Copies the action into the controls.
  virtual void ReadActionData(TCustomMxAction& action) = 0;
  /// Copies the controls into the action, every value whether changed or not.
  virtual void WriteActionData(TCustomMxAction& action) = 0;
  /// The page's caption.
  virtual std::string PageName() = 0;
};

/// A page that rewrites the hints of its controls before they are shown.
class IMxPageHint {
 public:
  virtual ~IMxPageHint() = default;
  virtual void OnShowHint(std::string& hint) = 0;
};

/// The dialog that owns the pages, as the pages see it.
class IMxPageContainer {
 public:
  virtual ~IMxPageContainer() = default;
  virtual std::shared_ptr<IMxPropertyPage> GetPage(int index) = 0;
  virtual int GetPageCount() = 0;
  /// Shows or hides the page whose tag is `tag`.
  virtual void SetPageVisible(int tag, bool visible) = 0;
};

/// The page of an action that names its project file. Taking a project and reloading one run
/// through it, whether a person clicks or the command line runs them headless with scripted
/// answers: there is one way to take a project, the page's own.
class IMxProjectPage {
 public:
  virtual ~IMxProjectPage() = default;
  /// What a person does to take a project into the action: picks it with the project file's
  /// button (a file dialog asks which) and, where the pick alone does not read every setting,
  /// reloads from it. False when nothing was read (the dialog was cancelled, a question was
  /// answered No, or the project could not be read, which the page has shown).
  virtual bool TakeProject() = 0;
  /// Asks for confirmation, reads the project and refills every page; false when nothing was
  /// read (not confirmed, or the project could not be read, which the page has shown).
  virtual bool ReloadFromProject() = 0;
  /// The resource file the last take found the project's icon in; "" when none.
  virtual std::string ResourceFile() const = 0;
  /// The files a take of `project` (a file of this machine) may write beside it: a command
  /// that fails after the take puts them back as they were.
  virtual std::vector<std::string> FilesATakeWrites(const std::string& project) const = 0;
};

/// The base of every page: the root panel of its controls, with its owner (the dialog), its
/// help context and the front end's view of it.
class TFrame : public TPanel, public virtual IMxComponent {
 public:
  explicit TFrame(IMxComponent* owner, std::string name);

  IMxComponent* Owner() const { return owner_; }
  /// The owner as a page container, or nullptr when the owner is none.
  IMxPageContainer* Container() const;
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int context) { helpContext_ = context; }

  /// The front end's view: told of every change of a control of this page, and of where the
  /// page wants the keyboard focus.
  using TObserver = std::function<void(TControl&)>;
  void SetObserver(TObserver observer) { observer_ = std::move(observer); }
  void SetFocusObserver(TObserver observer) { focusObserver_ = std::move(observer); }
  void NotifyChanged(TControl& control) const {
    if (observer_) observer_(control);
  }
  /// The control that last asked for the focus, or nullptr.
  TControl* FocusedControl() const { return focused_; }
  void RequestFocus(TControl& control) {
    focused_ = &control;
    if (focusObserver_) focusObserver_(control);
  }

 private:
  IMxComponent* owner_;
  int helpContext_ = 0;
  TObserver observer_;
  TObserver focusObserver_;
  TControl* focused_ = nullptr;
};

/// How a page class is made: its class name and a factory given the owner.
struct TPageClass {
  std::string ClassName;
  std::function<std::shared_ptr<TFrame>(IMxComponent* owner)> Create;
};

/// The page class T, created with its owner.
template <class T>
TPageClass PageClass(std::string className) {
  return TPageClass{std::move(className), [](IMxComponent* owner) {
                      return std::static_pointer_cast<TFrame>(std::make_shared<T>(owner));
                    }};
}

/// The file-dialog settings of a file-name property editor.
struct TFileNameEditSettings {
  std::string DefaultExt;
  std::string Filter;
  std::string DialogTitle;
};

/// A property editor registered for one property of an action class.
struct TPropertyEditorRegistration {
  std::string PropertyType;  // "string"
  const TClassInfo* ActionClass = nullptr;
  std::string PropertyName;
  std::string EditorClass;
  /// Set for editors that pick a file name.
  std::optional<TFileNameEditSettings> FileName;
};

}  // namespace mx
