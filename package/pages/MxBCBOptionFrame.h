#pragma once
// The pattern of the option pages: a form over one option record of the action. Reading the
// action and a reload from a parsed project run the same fill routine on the record they give;
// writing runs the store routine on the action's record.

#include <memory>
#include <span>
#include <string>

#include "package/action/MxCBuilderAction.h"
#include "package/pages/ControlTable.h"
#include "package/pages/MxCBuilderFrame.h"
#include "package/projparser/MxCBuilderUtils.h"

namespace mx::bcc {

template <class R>
class TMxBCBOptionFrame : public TMxCBuilderFrame, public ICBuilderPropertyFrame {
 public:
  using TActionRecord = std::shared_ptr<R> (ICBuilderProjectSettings::*)() const;
  using TParserRecord = std::shared_ptr<R> (ICBuilderProjectParser::*)() const;

  void ReadActionData(TCustomMxAction& action) override {
    TMxCBuilderAction& cbuilder = ActionAs<TMxCBuilderAction>(action);
    TakeAction(cbuilder);
    Fill(*(static_cast<const ICBuilderProjectSettings&>(cbuilder).*actionRecord_)());
  }
  void WriteActionData(TCustomMxAction& action) override {
    TMxCBuilderAction& cbuilder = ActionAs<TMxCBuilderAction>(action);
    Store(*(static_cast<const ICBuilderProjectSettings&>(cbuilder).*actionRecord_)());
    GiveAction(cbuilder);
  }
  void LoadSettings(const std::shared_ptr<ICBuilderProjectParser>& parser) override {
    if (!TakeParser(*parser)) return;
    Fill(*((*parser).*parserRecord_)());
  }

 protected:
  /// A page of the controls its table declares, bound to the properties of the record the
  /// action or a parsed project gives it.
  TMxBCBOptionFrame(IMxComponent* owner, std::string name, int helpContext,
                    TActionRecord actionRecord, TParserRecord parserRecord,
                    std::span<const TControlRow> controls)
      : TMxCBuilderFrame(owner, std::move(name), helpContext),
        actionRecord_(actionRecord),
        parserRecord_(parserRecord) {
    AddControls(*this, controls, bindings_);
  }

  /// Copies the record into the controls: the bindings, then the page's own rules.
  virtual void Fill(R& record) { bindings_.Read(record); }
  /// Copies the controls into the record.
  virtual void Store(R& record) { bindings_.Write(record); }
  /// What a page takes from the action before its record is read (its version copy, say).
  virtual void TakeAction(const TMxCBuilderAction&) {}
  /// What a page writes into the action besides its record.
  virtual void GiveAction(TMxCBuilderAction&) {}
  /// What a page takes from a reloaded project before its record is read; false skips the
  /// record.
  virtual bool TakeParser(const ICBuilderProjectParser&) { return true; }

  TPropertyBindings bindings_;

 private:
  TActionRecord actionRecord_;
  TParserRecord parserRecord_;
};

/// "$(BCB)" in a hint, in any letter case, becomes the root variable of the C++Builder version
/// ("$(BCB6DIR)"); other versions leave the hint as it is.
void RewriteRootVariable(std::string& hint, TCBuilderVersion version);

/// The texts of the presets' buttons and the pages' help context.
constexpr int kOptionPagesHelpContext = 1140;

}  // namespace mx::bcc
