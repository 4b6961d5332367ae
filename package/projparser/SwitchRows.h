#pragma once
// The switches of the option families as rows: each setting is declared once with the switch
// forms that stand for its values, and its parse and its apply are derived from that row. Only
// the irregular rules (optimisation sets, warning lists, numbers, version-dependent forms) and the
// order in which a family writes its settings are written by hand.

#include <array>
#include <cstddef>
#include <initializer_list>
#include <utility>

#include "package/projparser/MxCBuilder56ProjParser.h"
#include "platform/StringList.h"

namespace mx::bcc::switches {

/// A setting that is on or off.
/// - `On` and `Off` are its two forms (either may be null: a form the family never reads nor
///   writes). The apply removes both forms, then adds the form of the value, except that the
///   form of `Default` is added only when `WritesDefault`.
/// - The parse gives the value whose form is in the line, the form that is not `Default`'s
///   looked for first (`DefaultFirst` turns that round), and `Default` when neither is there.
template <class R>
struct TFlag {
  bool (R::*Get)() const;
  void (R::*Set)(bool);
  const char* On;
  const char* Off;
  bool Default = false;
  bool WritesDefault = false;
  bool DefaultFirst = false;
};

/// A setting of several values (an enumeration).
/// - The parse takes the value of the first of `Reads` in the line (in that order), else
///   `Otherwise`, or the value it had when `Keeps`.
/// - The apply removes the first of each of `Removed`, then adds `Writes` of the value (indexed
///   by the value; null: nothing).
template <class R, class E>
struct TChoice {
  E (R::*Get)() const;
  void (R::*Set)(E);
  std::array<std::pair<const char*, E>, 6> Reads;
  std::array<const char*, 6> Removed;
  std::array<const char*, 4> Writes;
  E Otherwise{};
  bool Keeps = false;
};

using TParser = TMxCBuilder56ProjectParser;

template <class R>
void Parse(const platform::TStringList& t, R& r, const TFlag<R>& f) {
  const char* nonDefault = f.Default ? f.Off : f.On;
  const char* defaultForm = f.Default ? f.On : f.Off;
  const auto has = [&t](const char* form) { return form && TParser::Has(t, form); };
  bool value = f.Default;
  if (f.DefaultFirst && has(defaultForm)) {
    value = f.Default;
  } else if (has(nonDefault)) {
    value = !f.Default;
  }
  (r.*f.Set)(value);
}

template <class R>
void Apply(platform::TStringList& t, const R& r, const TFlag<R>& f) {
  for (const char* form : {f.On, f.Off}) {
    if (form) TParser::RemoveOption(t, form, true);
  }
  const bool value = (r.*f.Get)();
  const char* added = value ? f.On : f.Off;
  if (added && (value != f.Default || f.WritesDefault)) t.Add(added);
}

template <class R, class E>
void Parse(const platform::TStringList& t, R& r, const TChoice<R, E>& c) {
  E value = c.Keeps ? (r.*c.Get)() : c.Otherwise;
  for (const auto& [form, meant] : c.Reads) {
    if (form && TParser::Has(t, form)) {
      value = meant;
      break;
    }
  }
  (r.*c.Set)(value);
}

template <class R, class E>
void Apply(platform::TStringList& t, const R& r, const TChoice<R, E>& c) {
  for (const char* form : c.Removed) {
    if (form) TParser::RemoveOption(t, form, true);
  }
  const auto index = static_cast<std::size_t>((r.*c.Get)());
  if (index < c.Writes.size() && c.Writes[index]) t.Add(c.Writes[index]);
}

/// Every row of `rows`, in order.
template <class R, class Row, std::size_t N>
void ParseAll(const platform::TStringList& t, R& r, const std::array<Row, N>& rows) {
  for (const auto& row : rows)
    Parse(t, r, row);
}

template <class R, class Row, std::size_t N>
void ApplyAll(platform::TStringList& t, const R& r, const std::array<Row, N>& rows) {
  for (const auto& row : rows)
    Apply(t, r, row);
}

}  // namespace mx::bcc::switches
