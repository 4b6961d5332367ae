#include "BuildScript.h"

#include <filesystem>

#include "moxtal/engine/EventScript.h"
#include "moxtal/engine/Host.h"
#include "platform/Conversions.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"
#include "platform/WholeFile.h"
#include "platform/XmlDocument.h"
#include "platform/XmlWriter.h"

namespace mx::engine {

using platform::TXmlNode;

namespace {

constexpr const char* kRoot = "BuildScript";

// Reads one file's elements, turning every problem into "<file>:<line>: <problem>".
class TScriptReader {
 public:
  explicit TScriptReader(std::string source) : source_(std::move(source)) {}

  [[noreturn]] void Fail(const TXmlNode& node, const std::string& problem) const {
    throw EScriptError(source_ + ":" + std::to_string(node.Line()) + ": " + problem);
  }

  std::string Required(const TXmlNode& node, const char* attribute) const {
    auto v = node.Attribute(attribute);
    if (!v) Fail(node, "<" + node.Name() + "> needs the attribute \"" + attribute + "\"");
    return *v;
  }

  void ReadProperties(const TXmlNode& node, IQlXMLObject& object) const {
    for (const TXmlNode& p : node.Elements("Property")) {
      const std::string name = Required(p, "name");
      const TPropInfo* info = object.ClassInfo().FindProperty(name);
      if (!info) Fail(p, object.ClassInfo().Name() + " has no property '" + name + "'");
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
      ReadProperties(c, *child);
      object.AddChildObject(child);
    }
  }

 private:
  std::string source_;
};

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

void WriteObject(platform::TXmlWriter& w, const IQlXMLObject& object) {
  for (const TPropInfo* p : object.ClassInfo().Properties()) {
    if (!p->Stored || p->Kind == TPropKind::pkObject) continue;
    const TPropValue value = p->Get(object);
    w.Open("Property").Attribute("name", p->Name);
    if (p->Kind == TPropKind::pkStringList) {
      for (const auto& line : std::get<std::vector<std::string>>(value))
        w.Open("Line").Attribute("value", line).Close();
    } else {
      w.Attribute("value", PropValueToText(*p, value));
    }
    w.Close();
  }
  for (const auto& child : object.GetChildren()) {
    w.Open("Child").Attribute("class", child->ClassInfo().Name());
    WriteObject(w, *child);
    w.Close();
  }
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
  if (root.Name() != kRoot)
    reader.Fail(root, "not a build script (the root element must be <" + std::string(kRoot) + ">)");

  auto script = std::make_unique<TBuildScript>();
  for (const TXmlNode& group : root.Elements("Variables")) {
    for (const TXmlNode& v : group.Elements("Variable")) {
      script->variables_.Set(reader.Required(v, "name"), v.Attribute("value").value_or(""));
    }
  }
  for (const TXmlNode& group : root.Elements("PropertySets")) {
    for (const TXmlNode& s : group.Elements("PropertySet")) {
      auto set =
          script->AddPropertySet(reader.Required(s, "name"), s.Attribute("type").value_or(""));
      for (const TXmlNode& v : s.Elements("Value")) {
        set->ValueObject().SetValue(reader.Required(v, "name"), v.Attribute("value").value_or(""));
      }
    }
  }
  for (const TXmlNode& group : root.Elements("Actions")) {
    for (const TXmlNode& a : group.Elements("Action")) {
      const std::string className = reader.Required(a, "class");
      const TActionRegistration* registration = THost::Instance().FindAction(className);
      if (!registration) reader.Fail(a, "unknown action class \"" + className + "\"");
      std::shared_ptr<TCustomMxAction> action = registration->Create();
      action->SetName(a.Attribute("name").value_or(""));
      const auto enabled = platform::TryStrToBool(a.Attribute("enabled").value_or("True"));
      if (!enabled) reader.Fail(a, "enabled must be True or False");
      action->SetEnabled(*enabled);
      reader.ReadProperties(a, *action);
      for (const TXmlNode& e : a.Elements("Event")) {
        const TXmlNode source = e.FirstTextChild();
        action->AddScript(reader.Required(e, "name"))
            .SetText(source ? source.Data() : std::string());
      }
      script->AddAction(action);
    }
  }
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

std::string TBuildScript::SaveToText() const {
  platform::TXmlWriter w;
  w.Open(kRoot).Attribute("version", "1");
  w.Open("Variables");
  for (const auto& [name, value] : variables_.Items())
    w.Open("Variable").Attribute("name", name).Attribute("value", value).Close();
  w.Close();
  w.Open("PropertySets");
  for (const auto& set : propertySets_) {
    w.Open("PropertySet").Attribute("name", set->Name()).Attribute("type", set->TypeName());
    for (const auto& [name, value] : set->ValueObject().Values().Items()) {
      w.Open("Value").Attribute("name", name).Attribute("value", value).Close();
    }
    w.Close();
  }
  w.Close();
  w.Open("Actions");
  for (const auto& action : actions_) {
    w.Open("Action")
        .Attribute("class", action->ClassInfo().Name())
        .Attribute("name", action->Name())
        .Attribute("enabled", platform::BoolToStr(action->Enabled()));
    WriteObject(w, *action);
    for (const auto& s : action->Scripts()) {
      if (!s->Text().empty()) w.Open("Event").Attribute("name", s->Name()).Text(s->Text()).Close();
    }
    w.Close();
  }
  w.Close();
  w.Close();
  return w.Result();
}

void TBuildScript::Save(const std::string& path) const {
  try {
    platform::WriteWholeFile(path, SaveToText());
  } catch (const platform::EFOpenError& e) {
    throw Exception(path + ": cannot write the build script (" + e.Reason() + ")");
  }
}

std::shared_ptr<TMxPropertySet> TBuildScript::AddPropertySet(const std::string& name,
                                                             const std::string& typeName) {
  auto set = std::make_shared<TMxPropertySet>(name, typeName);
  propertySets_.push_back(set);
  return set;
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

std::shared_ptr<TCustomMxAction> TBuildScript::CreateAction(std::string_view classOrName) {
  const TActionRegistration* registration = THost::Instance().FindAction(classOrName);
  if (!registration) throw Exception("unknown action class \"" + std::string(classOrName) + "\"");
  return registration->Create();
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
  if (platform::SameText(name, "SCRIPTDIR"))
    return folder_.empty() ? platform::machinepath::CurrentFolder() : folder_;
  return THost::Instance().LookupVariable(name);
}

std::string TBuildScript::ExpandExpression(std::string_view text, bool strict) {
  return ExpandVariables(
      text, [this](std::string_view n) { return LookupVariable(n); }, strict);
}

void TBuildScript::Log(const TCustomMxAction& action, const std::vector<std::string>& lines) {
  THost::Instance().Log().Write(action.Name(), lines);
}

std::shared_ptr<IMxPropertySet> TBuildScript::FindPropertySet(std::string_view name) {
  for (const auto& s : propertySets_) {
    if (platform::SameText(s->Name(), name)) return s;
  }
  return nullptr;
}

void TBuildScript::ExecuteScript(TCustomMxAction& action, TMxScript& script) {
  RunEventScript(action, script, [this](std::string_view n) { return LookupVariable(n); });
}

}  // namespace mx::engine
