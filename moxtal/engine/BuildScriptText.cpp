#include "BuildScriptText.h"

#include <functional>
#include <map>
#include <optional>
#include <unordered_map>

#include "platform/Conversions.h"
#include "platform/Exception.h"
#include "platform/StrUtils.h"
#include "platform/XmlSpans.h"
#include "platform/XmlWriter.h"

namespace mx::engine {

using platform::TXmlElementSpan;
using platform::TXmlWriter;

namespace {

template <class T>
const T* Find(const std::vector<std::pair<std::string, T>>& items, std::string_view name) {
  for (const auto& [n, v] : items) {
    if (platform::SameText(n, name)) return &v;
  }
  return nullptr;
}

// ---- Writing whole elements.

void WriteProperty(TXmlWriter& w, const std::string& name, const TStoredValue& value) {
  w.Open("Property").Attribute("name", name);
  if (const auto* lines = std::get_if<std::vector<std::string>>(&value)) {
    for (const auto& line : *lines)
      w.Open("Line").Attribute("value", line).Close();
  } else {
    w.Attribute("value", std::get<std::string>(value));
  }
  w.Close();
}

void WriteObjectBody(TXmlWriter& w, const TStoredObject& object) {
  for (const auto& [name, value] : object.Properties)
    WriteProperty(w, name, value);
  for (const auto& child : object.Children) {
    w.Open("Child").Attribute("class", child.Class);
    WriteObjectBody(w, child);
    w.Close();
  }
}

void WriteEvent(TXmlWriter& w, const std::string& name, const std::string& text) {
  w.Open("Event").Attribute("name", name).Text(text).Close();
}

void WriteDependsOn(TXmlWriter& w, const std::string& name) {
  w.Open("DependsOn").Attribute("action", name).Close();
}

void WriteAction(TXmlWriter& w, const TStoredAction& action) {
  w.Open("Action")
      .Attribute("class", action.Object.Class)
      .Attribute("name", action.Name)
      .Attribute("enabled", platform::BoolToStr(action.Enabled));
  for (const auto& name : action.DependsOn)
    WriteDependsOn(w, name);
  WriteObjectBody(w, action.Object);
  for (const auto& [name, text] : action.Events)
    WriteEvent(w, name, text);
  w.Close();
}

void WriteVariable(TXmlWriter& w, const std::string& name, const std::string& value) {
  w.Open("Variable").Attribute("name", name).Attribute("value", value).Close();
}

void WriteValue(TXmlWriter& w, const std::string& name, const std::string& value) {
  w.Open("Value").Attribute("name", name).Attribute("value", value).Close();
}

void WritePropertySet(TXmlWriter& w, const TStoredPropertySet& set) {
  w.Open("PropertySet").Attribute("name", set.Name).Attribute("type", set.Type);
  for (const auto& [name, value] : set.Values)
    WriteValue(w, name, value);
  w.Close();
}

// ---- Editing the loaded text.

using TWrite = std::function<void(TXmlWriter&)>;

class TEditor {
 public:
  explicit TEditor(std::string_view source)
      : source_(source),
        root_(platform::ScanXmlSpans(source)),
        lineBreak_(platform::LineBreakOf(source)),
        step_(platform::IndentStepOf(source, root_)) {}

  const TXmlElementSpan& Root() const { return root_; }

  std::string Attribute(const TXmlElementSpan& e, std::string_view name) const {
    const auto* a = e.Attribute(name);
    return a ? std::string(source_.substr(a->ValueBegin, a->ValueEnd - a->ValueBegin))
             : std::string();
  }

  /// The children named `name`; with `attribute`, only those whose attribute reads `value`
  /// (compared without regard to case; the names our files use need no entity references).
  std::vector<const TXmlElementSpan*> Children(const TXmlElementSpan& e, std::string_view name,
                                               std::string_view attribute = {},
                                               std::string_view value = {}) const {
    std::vector<const TXmlElementSpan*> found;
    for (const auto& c : e.Children) {
      if (c.Name == name &&
          (attribute.empty() || platform::SameText(Attribute(c, attribute), value)))
        found.push_back(&c);
    }
    return found;
  }
  const TXmlElementSpan* Last(const TXmlElementSpan& e, std::string_view name,
                              std::string_view attribute, std::string_view value) const {
    const auto found = Children(e, name, attribute, value);
    return found.empty() ? nullptr : found.back();
  }

  void SetAttribute(const TXmlElementSpan& e, std::string_view name, std::string_view value) {
    if (const auto* a = e.Attribute(name)) {
      edits_.Replace(a->ValueBegin, a->ValueEnd, TXmlWriter::EscapeAttribute(value, a->Quote));
    } else {
      const std::size_t at = e.Empty ? e.StartTagEnd - 2 : e.StartTagEnd - 1;
      edits_.Insert(at,
                    " " + std::string(name) + "=\"" + TXmlWriter::EscapeAttribute(value) + "\"");
    }
  }

  void SetContent(const TXmlElementSpan& e, std::string_view text) {
    if (e.Empty) {
      edits_.Replace(e.End - 2, e.End, ">" + TXmlWriter::EscapeText(text) + "</" + e.Name + ">");
    } else {
      edits_.Replace(e.StartTagEnd, e.EndTagBegin, TXmlWriter::EscapeText(text));
    }
  }

  void Remove(const TXmlElementSpan& e) { edits_.RemoveElement(source_, e); }

  /// Adds an element, written by `write`, after the last child of `parent`.
  void Append(const TXmlElementSpan& parent, const TWrite& write) {
    const std::string indent = parent.Children.empty()
                                   ? platform::IndentOf(source_, parent) + step_
                                   : platform::IndentOf(source_, parent.Children.back());
    TXmlWriter w(indent, step_, lineBreak_);
    write(w);
    appended_[&parent] += lineBreak_ + w.Result();
  }

  std::string Apply() {
    for (const auto& [parent, text] : appended_) {
      if (!parent->Children.empty()) {
        edits_.Insert(platform::EndOfLineAfter(source_, parent->Children.back()), text);
      } else {
        const std::string close = lineBreak_ + platform::IndentOf(source_, *parent);
        if (parent->Empty) {
          edits_.Replace(parent->End - 2, parent->End,
                         ">" + text + close + "</" + parent->Name + ">");
        } else {
          edits_.Replace(parent->StartTagEnd, parent->EndTagBegin, text + close);
        }
      }
    }
    return edits_.ApplyTo(source_);
  }

 private:
  std::string_view source_;
  TXmlElementSpan root_;
  std::string lineBreak_;
  std::string step_;
  platform::TTextEdits edits_;
  std::map<const TXmlElementSpan*, std::string> appended_;
};

// The elements of every group of a section ("Variables" > "Variable"), in order, and the group
// new elements go to; a missing section is written as a new one at the end of the script.
struct TSection {
  std::vector<const TXmlElementSpan*> Items;
  const TXmlElementSpan* LastGroup = nullptr;
};

TSection Section(const TEditor& ed, std::string_view group, std::string_view item) {
  TSection s;
  for (const auto* g : ed.Children(ed.Root(), group)) {
    for (const auto* e : ed.Children(*g, item))
      s.Items.push_back(e);
    s.LastGroup = g;
  }
  return s;
}

void AppendToSection(TEditor& ed, const TSection& section, const std::string& group,
                     const TWrite& write) {
  if (section.LastGroup) {
    ed.Append(*section.LastGroup, write);
  } else {
    ed.Append(ed.Root(), [&](TXmlWriter& w) {
      w.Open(group);
      write(w);
      w.Close();
    });
  }
}

void EditLines(TEditor& ed, const TXmlElementSpan& property,
               const std::vector<std::string>& lines) {
  const auto existing = ed.Children(property, "Line");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i < existing.size()) {
      ed.SetAttribute(*existing[i], "value", lines[i]);
    } else {
      ed.Append(property,
                [&](TXmlWriter& w) { w.Open("Line").Attribute("value", lines[i]).Close(); });
    }
  }
  for (std::size_t i = lines.size(); i < existing.size(); ++i)
    ed.Remove(*existing[i]);
}

void EditObject(TEditor& ed, const TXmlElementSpan& element, const TStoredObject& loaded,
                const TStoredObject& current) {
  for (const auto& stored : current.Properties) {
    const std::string& name = stored.first;
    const TStoredValue& value = stored.second;
    const TStoredValue* before = Find(loaded.Properties, name);
    if (before && *before == value) continue;
    const TXmlElementSpan* property = ed.Last(element, "Property", "name", name);
    if (!property) {
      ed.Append(element, [&](TXmlWriter& w) { WriteProperty(w, name, value); });
    } else if (const auto* lines = std::get_if<std::vector<std::string>>(&value)) {
      EditLines(ed, *property, *lines);
    } else {
      ed.SetAttribute(*property, "value", std::get<std::string>(value));
    }
  }
  for (const auto& child : current.Children) {
    const TStoredObject* before = nullptr;
    for (const auto& c : loaded.Children) {
      if (platform::SameText(c.Class, child.Class)) before = &c;
    }
    const TXmlElementSpan* childElement = ed.Last(element, "Child", "class", child.Class);
    if (childElement && before) {
      EditObject(ed, *childElement, *before, child);
    } else if (!childElement && (!before || before->Properties != child.Properties ||
                                 before->Children.size() != child.Children.size())) {
      ed.Append(element, [&](TXmlWriter& w) {
        w.Open("Child").Attribute("class", child.Class);
        WriteObjectBody(w, child);
        w.Close();
      });
    }
  }
}

void EditAction(TEditor& ed, const TXmlElementSpan& element, const TStoredAction& loaded,
                const TStoredAction& current) {
  if (loaded.Name != current.Name) ed.SetAttribute(element, "name", current.Name);
  if (loaded.Enabled != current.Enabled)
    ed.SetAttribute(element, "enabled", platform::BoolToStr(current.Enabled));
  if (loaded.DependsOn != current.DependsOn) {
    // The dependencies are a list: written anew when it changed.
    for (const auto* existing : ed.Children(element, "DependsOn"))
      ed.Remove(*existing);
    for (const auto& name : current.DependsOn)
      ed.Append(element, [&](TXmlWriter& w) { WriteDependsOn(w, name); });
  }
  EditObject(ed, element, loaded.Object, current.Object);
  for (const auto& event : current.Events) {
    const std::string& name = event.first;
    const std::string& text = event.second;
    const std::string* before = Find(loaded.Events, name);
    if (before && *before == text) continue;
    if (const TXmlElementSpan* existing = ed.Last(element, "Event", "name", name)) {
      ed.SetContent(*existing, text);
    } else {
      ed.Append(element, [&](TXmlWriter& w) { WriteEvent(w, name, text); });
    }
  }
  for (const auto& [name, text] : loaded.Events) {
    if (Find(current.Events, name)) continue;
    for (const auto* event : ed.Children(element, "Event", "name", name))
      ed.Remove(*event);
  }
}

// Name=value pairs found by name without regard to case, in constant time: a script may hold
// tens of thousands of variables.
class TByName {
 public:
  explicit TByName(const std::vector<std::pair<std::string, std::string>>& items) {
    for (const auto& [name, value] : items)
      index_[platform::UpperCase(name)] = &value;
  }
  const std::string* Find(std::string_view name) const {
    const auto it = index_.find(platform::UpperCase(name));
    return it == index_.end() ? nullptr : it->second;
  }

 private:
  std::unordered_map<std::string, const std::string*> index_;
};

void EditVariables(TEditor& ed, const TStoredScript& loaded, const TStoredScript& current) {
  const TSection section = Section(ed, "Variables", "Variable");
  std::unordered_map<std::string, std::vector<const TXmlElementSpan*>> elements;
  for (const auto* e : section.Items)
    elements[platform::UpperCase(ed.Attribute(*e, "name"))].push_back(e);
  const TByName before(loaded.Variables);
  const TByName now(current.Variables);
  for (const auto& variable : current.Variables) {
    const std::string& name = variable.first;
    const std::string& value = variable.second;
    const std::string* old = before.Find(name);
    if (old && *old == value) continue;
    const auto found = elements.find(platform::UpperCase(name));
    if (found != elements.end()) {
      ed.SetAttribute(*found->second.back(), "value", value);
    } else {
      AppendToSection(ed, section, "Variables",
                      [&](TXmlWriter& w) { WriteVariable(w, name, value); });
    }
  }
  for (const auto& [name, value] : loaded.Variables) {
    if (now.Find(name)) continue;
    if (const auto found = elements.find(platform::UpperCase(name)); found != elements.end()) {
      for (const auto* e : found->second)
        ed.Remove(*e);
    }
  }
}

void EditPropertySets(TEditor& ed, const TStoredScript& loaded, const TStoredScript& current) {
  const TSection section = Section(ed, "PropertySets", "PropertySet");
  for (std::size_t i = 0; i < current.PropertySets.size(); ++i) {
    const TStoredPropertySet& set = current.PropertySets[i];
    if (i >= loaded.PropertySets.size() || i >= section.Items.size()) {
      AppendToSection(ed, section, "PropertySets",
                      [&](TXmlWriter& w) { WritePropertySet(w, set); });
      continue;
    }
    const TXmlElementSpan& element = *section.Items[i];
    const TStoredPropertySet& before = loaded.PropertySets[i];
    if (before.Name != set.Name) ed.SetAttribute(element, "name", set.Name);
    if (before.Type != set.Type) ed.SetAttribute(element, "type", set.Type);
    for (const auto& item : set.Values) {
      const std::string& name = item.first;
      const std::string& value = item.second;
      const std::string* old = Find(before.Values, name);
      if (old && *old == value) continue;
      if (const auto* e = ed.Last(element, "Value", "name", name)) {
        ed.SetAttribute(*e, "value", value);
      } else {
        ed.Append(element, [&](TXmlWriter& w) { WriteValue(w, name, value); });
      }
    }
  }
}

}  // namespace

void CheckStorableText(std::string_view text, const std::string& where) {
  if (const auto problem = platform::XmlTextProblem(text))
    throw Exception(where + ": " + *problem + "; a build script cannot store it");
}

TStoredObject StoreObject(const IQlXMLObject& object, const std::string& where) {
  TStoredObject stored;
  stored.Class = object.ClassInfo().Name();
  for (const TPropInfo* p : object.ClassInfo().Properties()) {
    if (!p->Stored || p->Kind == TPropKind::pkObject) continue;
    const TPropValue value = p->Get(object);
    if (p->Kind == TPropKind::pkStringList) {
      const auto& lines = std::get<std::vector<std::string>>(value);
      for (const auto& line : lines)
        CheckStorableText(line, where + ", property " + p->Name);
      stored.Properties.emplace_back(p->Name, lines);
    } else {
      std::string text = PropValueToText(*p, value);
      CheckStorableText(text, where + ", property " + p->Name);
      stored.Properties.emplace_back(p->Name, std::move(text));
    }
  }
  for (const auto& child : object.GetChildren())
    stored.Children.push_back(StoreObject(*child, where + ", " + child->ClassInfo().Name()));
  return stored;
}

std::string WriteScriptText(const TStoredScript& script) {
  TXmlWriter w;
  w.Open(kBuildScriptRoot).Attribute("version", "1");
  w.Open("Variables");
  for (const auto& [name, value] : script.Variables)
    WriteVariable(w, name, value);
  w.Close();
  w.Open("PropertySets");
  for (const auto& set : script.PropertySets)
    WritePropertySet(w, set);
  w.Close();
  w.Open("Actions");
  for (const auto& action : script.Actions)
    WriteAction(w, action);
  w.Close();
  w.Close();
  return w.Result();
}

std::string EditScriptText(std::string_view source, const TStoredScript& loaded,
                           const TStoredScript& current) {
  TEditor ed(source);
  EditVariables(ed, loaded, current);
  EditPropertySets(ed, loaded, current);
  const TSection actions = Section(ed, "Actions", "Action");
  for (std::size_t i = 0; i < current.Actions.size(); ++i) {
    if (i < loaded.Actions.size() && i < actions.Items.size()) {
      EditAction(ed, *actions.Items[i], loaded.Actions[i], current.Actions[i]);
    } else {
      AppendToSection(ed, actions, "Actions",
                      [&](TXmlWriter& w) { WriteAction(w, current.Actions[i]); });
    }
  }
  return ed.Apply();
}

}  // namespace mx::engine
