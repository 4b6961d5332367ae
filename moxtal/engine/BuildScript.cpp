#include "BuildScript.h"

#include <filesystem>

#include <algorithm>

#include "moxtal/engine/EventScript.h"
#include "moxtal/engine/Host.h"
#include "platform/CodePage.h"
#include "platform/Conversions.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"
#include "platform/WholeFile.h"
#include "platform/XmlDocument.h"
#include "platform/XmlWriter.h"

namespace mx::engine {

using platform::TXmlNode;

namespace {

// Reads one file's elements, turning every problem into "<file>:<line>: <problem>".
class TScriptReader {
 public:
  explicit TScriptReader(std::string source) : source_(std::move(source)) {}

  [[noreturn]] void Fail(const TXmlNode& node, const std::string& problem) const {
    throw EScriptError(source_ + ":" + std::to_string(node.Line()) + ": " + problem);
  }

  /// Every element child of `node` must be one of `allowed`.
  void OnlyElements(const TXmlNode& node, std::initializer_list<std::string_view> allowed) const {
    for (const TXmlNode& child : node.Elements()) {
      if (std::find(allowed.begin(), allowed.end(), child.Name()) == allowed.end())
        Fail(child, "<" + child.Name() + "> does not belong in <" + node.Name() + ">");
    }
  }

  std::string Required(const TXmlNode& node, const char* attribute) const {
    auto v = node.Attribute(attribute);
    if (!v) Fail(node, "<" + node.Name() + "> needs the attribute \"" + attribute + "\"");
    return *v;
  }

  void ReadProperties(const TXmlNode& node, IQlXMLObject& object) const {
    for (const TXmlNode& p : node.Elements("Property")) {
      OnlyElements(p, {"Line"});
      const std::string name = Required(p, "name");
      const TPropInfo* info = object.ClassInfo().FindProperty(name);
      if (!info) Fail(p, UnknownPropertyMessage(object.ClassInfo(), name));
      if (info->ReadOnly()) Fail(p, "property " + info->Name + " is read-only");
      try {
        if (info->Kind == TPropKind::pkStringList) {
          std::vector<std::string> lines;
          for (const TXmlNode& line : p.Elements("Line"))
            lines.push_back(line.Attribute("value").value_or(""));
          info->Set(object, lines);
        } else {
          info->Set(object, PropValueFromText(*info, p.Attribute("value").value_or("")));
        }
      } catch (const EScriptError&) {
        throw;
      } catch (const Exception& e) {
        Fail(p, "property " + info->Name + ": " + e.what());
      }
    }
    for (const TXmlNode& c : node.Elements("Child")) {
      const std::string className = Required(c, "class");
      std::shared_ptr<IQlXMLObject> child = CreateXMLObject(className);
      if (!child) Fail(c, "unknown class \"" + className + "\"");
      OnlyElements(c, {"Property", "Child"});
      ReadProperties(c, *child);
      object.AddChildObject(child);
      const auto children = object.GetChildren();
      if (std::find(children.begin(), children.end(), child) == children.end()) {
        Fail(c, "a " + child->ClassInfo().Name() + " does not belong in a " +
                    object.ClassInfo().Name());
      }
    }
  }

 private:
  std::string source_;
};

// UTF-8 bytes, and a declaration that says so or names no encoding.
bool IsUtf8Text(std::string_view text) {
  if (!platform::IsValidUtf8(text)) return false;
  if (text.substr(0, 5) != "<?xml") return true;
  const std::string_view declaration = text.substr(0, text.find("?>"));
  const auto at = declaration.find("encoding");
  if (at == std::string_view::npos) return true;
  const auto quote = declaration.find_first_of("\"'", at);
  if (quote == std::string_view::npos) return true;
  const auto close = declaration.find(declaration[quote], quote + 1);
  const std::string_view name = declaration.substr(quote + 1, close - quote - 1);
  return platform::SameText(name, "UTF-8") || platform::SameText(name, "UTF8");
}

std::string UniqueName(const std::vector<std::shared_ptr<TCustomMxAction>>& actions,
                       std::string base) {
  const auto taken = [&](const std::string& n) {
    for (const auto& a : actions) {
      if (platform::SameText(a->Name(), n)) return true;
    }
    return false;
  };
  if (!taken(base)) return base;
  for (int i = 2;; ++i) {
    const std::string candidate = base + " " + std::to_string(i);
    if (!taken(candidate)) return candidate;
  }
}

}  // namespace

TBuildScript::~TBuildScript() {
  for (const auto& a : actions_)
    a->SetContext(nullptr);
}

std::unique_ptr<TBuildScript> TBuildScript::LoadFromText(std::string_view text,
                                                         const std::string& sourceName) {
  platform::TXmlDocument doc = [&] {
    try {
      return platform::TXmlDocument::LoadFromText(text, sourceName);
    } catch (const platform::EXmlLoadError& e) {
      throw EScriptError(sourceName + ":" + std::to_string(e.Line()) + ": " + e.Reason());
    }
  }();
  const TScriptReader reader(sourceName);
  const TXmlNode root = doc.DocumentElement();
  if (root.Name() != kBuildScriptRoot)
    reader.Fail(root, "not a build script (the root element must be <" +
                          std::string(kBuildScriptRoot) + ">)");

  if (const auto version = root.Attribute("version"); version && *version != "1") {
    reader.Fail(root, "build script version \"" + *version +
                          "\" is not supported (this moxtal reads version 1)");
  }
  reader.OnlyElements(root, {"Variables", "PropertySets", "Actions"});

  auto script = std::make_unique<TBuildScript>();
  for (const TXmlNode& group : root.Elements("Variables")) {
    reader.OnlyElements(group, {"Variable"});
    for (const TXmlNode& v : group.Elements("Variable")) {
      script->variables_.Set(reader.Required(v, "name"), v.Attribute("value").value_or(""));
    }
  }
  for (const TXmlNode& group : root.Elements("PropertySets")) {
    reader.OnlyElements(group, {"PropertySet"});
    for (const TXmlNode& s : group.Elements("PropertySet")) {
      reader.OnlyElements(s, {"Value"});
      auto set =
          script->AddPropertySet(reader.Required(s, "name"), s.Attribute("type").value_or(""));
      for (const TXmlNode& v : s.Elements("Value")) {
        set->ValueObject().SetValue(reader.Required(v, "name"), v.Attribute("value").value_or(""));
      }
    }
  }
  for (const TXmlNode& group : root.Elements("Actions")) {
    reader.OnlyElements(group, {"Action"});
    for (const TXmlNode& a : group.Elements("Action")) {
      reader.OnlyElements(a, {"DependsOn", "Property", "Child", "Event"});
      const std::string className = reader.Required(a, "class");
      const TActionRegistration* registration = THost::Instance().FindAction(className);
      if (!registration) reader.Fail(a, UnknownActionClassMessage(className));
      std::shared_ptr<TCustomMxAction> action = registration->Create();
      action->SetName(a.Attribute("name").value_or(""));
      const auto enabled = platform::TryStrToBool(a.Attribute("enabled").value_or("True"));
      if (!enabled) reader.Fail(a, "enabled must be True or False");
      action->SetEnabled(*enabled);
      std::vector<std::string> dependsOn;
      for (const TXmlNode& d : a.Elements("DependsOn"))
        dependsOn.push_back(reader.Required(d, "action"));
      action->SetDependsOn(std::move(dependsOn));
      reader.ReadProperties(a, *action);
      for (const TXmlNode& e : a.Elements("Event")) {
        const std::string name = reader.Required(e, "name");
        TMxScript* event = action->GetScriptByName(name);
        if (!event) reader.Fail(e, className + " has no event \"" + name + "\"");
        const TXmlNode source = e.FirstTextChild();
        event->SetText(source ? source.Data() : std::string());
      }
      script->AddAction(action);
    }
  }
  // Saves edit this text in place; a text in another encoding than UTF-8 is written anew.
  if (IsUtf8Text(text)) script->source_ = std::string(text);
  script->loaded_ = script->Store();
  return script;
}

std::unique_ptr<TBuildScript> TBuildScript::Load(const std::string& path) {
  std::string text;
  try {
    text = platform::ReadWholeFile(path);
  } catch (const platform::EFOpenError& e) {
    throw EScriptError(path + ": cannot open the build script (" + e.Reason() + ")");
  }
  auto script = LoadFromText(text, path);
  script->SetFileName(path);
  return script;
}

TStoredScript TBuildScript::Store() const {
  TStoredScript stored;
  for (const auto& [name, value] : variables_.Items()) {
    CheckStorableText(name + value, "variable \"" + name + "\"");
    stored.Variables.emplace_back(name, value);
  }
  for (const auto& set : propertySets_) {
    TStoredPropertySet s{set->Name(), set->TypeName(), {}};
    CheckStorableText(s.Name + s.Type, "property set \"" + s.Name + "\"");
    for (const auto& [name, value] : set->ValueObject().Values().Items()) {
      CheckStorableText(name + value, "property set \"" + s.Name + "\", value " + name);
      s.Values.emplace_back(name, value);
    }
    stored.PropertySets.push_back(std::move(s));
  }
  for (const auto& action : actions_) {
    const std::string where = "action \"" + action->Name() + "\"";
    CheckStorableText(action->Name(), where);
    TStoredAction a{
        action->Name(), action->Enabled(), action->DependsOn(), StoreObject(*action, where), {}};
    for (const auto& name : action->DependsOn())
      CheckStorableText(name, where + ", DependsOn");
    for (const auto& script : action->Scripts()) {
      if (script->Text().empty()) continue;
      CheckStorableText(script->Text(), where + ", event " + script->Name());
      a.Events.emplace_back(script->Name(), script->Text());
    }
    stored.Actions.push_back(std::move(a));
  }
  return stored;
}

bool TBuildScript::Changed() const {
  return source_.empty() || SaveToText() != source_;
}

std::string TBuildScript::SaveToText() const {
  const TStoredScript current = Store();
  return source_.empty() ? WriteScriptText(current) : EditScriptText(source_, loaded_, current);
}

void TBuildScript::Save(const std::string& path) {
  const TStoredScript current = Store();
  const std::string text =
      source_.empty() ? WriteScriptText(current) : EditScriptText(source_, loaded_, current);
  try {
    platform::WriteWholeFile(path, text, platform::TLinkPolicy::lpFollow);
  } catch (const platform::EFOpenError& e) {
    throw Exception(path + ": cannot write the build script (" + e.Reason() + ")");
  }
  // The next save edits what is in the file now.
  source_ = text;
  loaded_ = current;
}

std::shared_ptr<TMxPropertySet> TBuildScript::AddPropertySet(const std::string& name,
                                                             const std::string& typeName) {
  auto set = std::make_shared<TMxPropertySet>(name, typeName);
  propertySets_.push_back(set);
  return set;
}

std::string UnknownActionClassMessage(std::string_view name) {
  std::vector<std::string> classes;
  for (const auto& a : THost::Instance().RegisteredActions())
    classes.push_back(a.Class->Name());
  return "unknown action class \"" + std::string(name) + "\"" +
         platform::NamesHint(name, classes, "the action classes");
}

std::string TBuildScript::NoSuchActionMessage(std::string_view name) const {
  std::vector<std::string> names;
  for (const auto& a : actions_)
    names.push_back(a->Name());
  return "the build script has no action named \"" + std::string(name) + "\"" +
         platform::NamesHint(name, names, "its actions");
}

std::shared_ptr<TCustomMxAction> TBuildScript::FindAction(std::string_view name) const {
  for (const auto& a : actions_) {
    if (platform::SameText(a->Name(), name)) return a;
  }
  return nullptr;
}

void TBuildScript::AddAction(std::shared_ptr<TCustomMxAction> action) {
  action->SetName(
      UniqueName(actions_, action->Name().empty() ? action->GetActionName() : action->Name()));
  action->SetContext(this);
  actions_.push_back(std::move(action));
}

void TBuildScript::RemoveAction(const TCustomMxAction& action) {
  std::erase_if(actions_, [&action](const auto& a) { return a.get() == &action; });
}

std::shared_ptr<TCustomMxAction> TBuildScript::CreateAction(std::string_view classOrName) {
  const TActionRegistration* registration = THost::Instance().FindAction(classOrName);
  if (!registration) throw Exception(UnknownActionClassMessage(classOrName));
  return registration->Create();
}

const TToolSetup& TBuildScript::ToolSetup() {
  return THost::Instance().ToolSetup();
}

std::string TBuildScript::BaseFolder() {
  return folder_.empty() ? platform::machinepath::CurrentFolder() : folder_;
}

void TBuildScript::SetFileName(const std::string& path) {
  std::error_code ec;
  const auto full = std::filesystem::absolute(platform::machinepath::ToFsPath(path), ec);
  // A name that cannot be made absolute leaves the current folder as the base.
  folder_ = ec ? std::string() : platform::machinepath::FromFsPath(full.parent_path());
}

std::optional<std::string> TBuildScript::LookupVariable(std::string_view name) const {
  if (auto v = variables_.Find(name)) return v;
  if (platform::SameText(name, "SCRIPTDIR")) {
    // A folder's name is the file system's, not a text of variables: a "%" in it stays one.
    return platform::ReplaceAll(folder_.empty() ? platform::machinepath::CurrentFolder() : folder_,
                                "%", "%%");
  }
  return THost::Instance().LookupVariable(name);
}

std::string TBuildScript::ExpandExpression(std::string_view text, bool strict) {
  return ExpandVariables(
      text, [this](std::string_view n) { return LookupVariable(n); }, strict);
}

std::uint64_t TBuildScript::BeginLog(const TCustomMxAction& action) {
  return THost::Instance().Log().Begin(action.Name(), action.GetActionName());
}

void TBuildScript::LogLine(std::uint64_t entry, std::string_view line) {
  THost::Instance().Log().Line(entry, line);
}

void TBuildScript::LogLine(std::uint64_t entry, std::string_view line,
                           const TDiagnostics& diagnostics) {
  THost::Instance().Log().Line(entry, line, diagnostics);
}

void TBuildScript::EndLog(std::uint64_t entry) {
  THost::Instance().Log().End(entry);
}

std::vector<std::string> TBuildScript::PropertySetNames(std::string_view typeName) {
  std::vector<std::string> names;
  for (const auto& set : propertySets_) {
    if (set->TypeName() == typeName) names.push_back(set->Name());
  }
  return names;
}

std::shared_ptr<IMxPropertySet> TBuildScript::FindPropertySet(std::string_view name) {
  for (const auto& s : propertySets_) {
    if (platform::SameText(s->Name(), name)) return s;
  }
  return nullptr;
}

void TBuildScript::ExecuteScript(TCustomMxAction& action, TMxScript& script) {
  RunEventScript(
      action, script, [this](std::string_view n) { return LookupVariable(n); }, &stopRequested_);
}

}  // namespace mx::engine
