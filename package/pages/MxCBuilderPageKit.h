#pragma once
// The bindings that copy the properties of an action or an option record into a page's controls
// and back, by property name. A page's control table declares them; its fill and store routines
// run them all, then apply the page's own rules.

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "moxtal/api/Action.h"
#include "moxtal/api/Controls.h"
#include "moxtal/api/Reflection.h"
#include "platform/Conversions.h"
#include "platform/Exception.h"

namespace mx::bcc {

/// The page's action as the kind of action the page edits; EInvalidCast when it is another kind.
template <class TAction>
TAction& ActionAs(TCustomMxAction& action) {
  auto* typed = dynamic_cast<TAction*>(&action);
  if (!typed) throw platform::EInvalidCast();
  return *typed;
}

/// The index of the checked button, or -1.
inline int CheckedIndex(const std::vector<TRadioButton*>& buttons) {
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i]->Checked()) return static_cast<int>(i);
  }
  return -1;
}

/// A size or address as the linker page shows it: "0x" and eight upper-case hexadecimal digits.
inline std::string HexText(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

/// Copies between the published properties of an object (an action, an option record) and the
/// controls of a page, by property name through the object's reflection: a check box holds a
/// Boolean, an edit a string, a spin edit a number, a radio group an enumeration (button n for
/// value n). A page declares each binding once; reading and writing run them all.
class TPropertyBindings {
 public:
  TPropertyBindings& Check(TCheckBox& box, std::string property) {
    return Bind(
        std::move(property), [&box](const TPropValue& v) { box.SetChecked(std::get<bool>(v)); },
        [&box] { return TPropValue(box.Checked()); });
  }
  TPropertyBindings& Text(TEdit& edit, std::string property) {
    return Bind(
        std::move(property),
        [&edit](const TPropValue& v) { edit.SetText(std::get<std::string>(v)); },
        [&edit] { return TPropValue(edit.Text()); });
  }
  /// A whole number; the spin value is rounded.
  TPropertyBindings& Spin(TSpinEdit& spin, std::string property) {
    return Bind(
        std::move(property),
        [&spin](const TPropValue& v) {
          spin.SetValue(static_cast<double>(std::get<std::int64_t>(v)));
        },
        [&spin] { return TPropValue(static_cast<std::int64_t>(platform::Round(spin.Value()))); });
  }
  /// An enumeration by the index of the combo box's items; with no item chosen the value stays.
  TPropertyBindings& Choice(TComboBox& combo, std::string property) {
    return Bind(
        std::move(property),
        [&combo](const TPropValue& v) {
          combo.SetItemIndex(static_cast<int>(std::get<std::int64_t>(v)));
        },
        [&combo] { return TPropValue(static_cast<std::int64_t>(combo.ItemIndex())); },
        [&combo] { return combo.ItemIndex() >= 0; });
  }
  /// An enumeration by radio buttons, button n for value n; with no button checked the value
  /// stays.
  TPropertyBindings& Radio(std::vector<TRadioButton*> buttons, std::string property) {
    return Bind(
        std::move(property),
        [buttons](const TPropValue& v) {
          const auto index = static_cast<std::size_t>(std::get<std::int64_t>(v));
          if (index < buttons.size()) buttons[index]->SetChecked(true);
        },
        [buttons] { return TPropValue(static_cast<std::int64_t>(CheckedIndex(buttons))); },
        [buttons] { return CheckedIndex(buttons) >= 0; });
  }
  /// A 32-bit size or address in a hexadecimal masked edit ("0x" and eight digits); text that is
  /// not a number fails the write with the conversion error.
  TPropertyBindings& Hex(TMaskEdit& edit, std::string property) {
    return Bind(
        std::move(property),
        [&edit](const TPropValue& v) {
          edit.SetText(HexText(static_cast<std::uint32_t>(std::get<std::int64_t>(v))));
        },
        [&edit] {
          return TPropValue(static_cast<std::int64_t>(
              static_cast<std::uint32_t>(platform::StrToInt(edit.Text()))));
        });
  }
  /// A 32-bit whole number typed as decimal digits; text that is not a number writes `fallback`.
  TPropertyBindings& Number(TEdit& edit, std::string property, std::int32_t fallback) {
    return Bind(
        std::move(property),
        [&edit](const TPropValue& v) {
          edit.SetText(std::to_string(static_cast<std::uint32_t>(std::get<std::int64_t>(v))));
        },
        [&edit, fallback] {
          return TPropValue(static_cast<std::int64_t>(
              static_cast<std::uint32_t>(platform::StrToIntDef(edit.Text(), fallback))));
        });
  }
  /// A string typed into (or chosen in) an editable combo box.
  TPropertyBindings& ComboText(TComboBox& combo, std::string property) {
    return Bind(
        std::move(property),
        [&combo](const TPropValue& v) { combo.SetText(std::get<std::string>(v)); },
        [&combo] { return TPropValue(combo.Text()); });
  }
  void Read(const IPersistentObject& object) const {
    for (const auto& b : bindings_)
      b.Show(GetPropValue(object, b.Property));
  }
  void Write(IPersistentObject& object) const {
    for (const auto& b : bindings_) {
      if (!b.Holds || b.Holds()) SetPropValue(object, b.Property, b.Take());
    }
  }

 private:
  struct TBinding {
    std::string Property;
    std::function<void(const TPropValue&)> Show;
    std::function<TPropValue()> Take;
    std::function<bool()> Holds;  // whether the control holds a value to write; none: always
  };
  TPropertyBindings& Bind(std::string property, std::function<void(const TPropValue&)> show,
                          std::function<TPropValue()> take, std::function<bool()> holds = {}) {
    bindings_.push_back({std::move(property), std::move(show), std::move(take), std::move(holds)});
    return *this;
  }

  std::vector<TBinding> bindings_;
};

}  // namespace mx::bcc
