#include "SampleAction.h"

#include "moxtal/engine/RunScriptAction.h"

namespace mx::testing {

const TClassInfo& TSampleCompilerRecord::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TSampleCompilerRecord;
    TClassInfo c("TSampleCompilerRecord", &TQlXMLObject::StaticClassInfo());
    TClassBuilder<T>(c)
        .Boolean("DebugInfo", &T::GetDebugInfo, &T::SetDebugInfo)
        .Enum("OutputWarnings", &T::GetOutputWarnings, &T::SetOutputWarnings)
        .Set("Optimisation", &T::GetOptimisation, &T::SetOptimisation)
        .StringList("Warnings", &T::GetWarnings, &T::SetWarnings)
        .String("PreCompFile", &T::GetPreCompFile, &T::SetPreCompFile);
    return c;
  }();
  return info;
}

const TClassInfo& TSampleLinkerRecord::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TSampleLinkerRecord;
    TClassInfo c("TSampleLinkerRecord", &TQlXMLObject::StaticClassInfo());
    TClassBuilder<T>(c)
        .Enum("MapFile", &T::GetMapFile, &T::SetMapFile)
        .Enum("LinkerWarnings", &T::GetLinkerWarnings, &T::SetLinkerWarnings)
        .Cardinal("ImageBase", &T::GetImageBase, &T::SetImageBase);
    return c;
  }();
  return info;
}

TSampleAction::TSampleAction()
    : compiler_(std::make_shared<TSampleCompilerRecord>()),
      linker_(std::make_shared<TSampleLinkerRecord>()) {
  AddScript("OnBuilt");
}

const TClassInfo& TSampleAction::StaticClassInfo() {
  static const TClassInfo info = [] {
    using T = TSampleAction;
    TClassInfo c("TSampleAction", &TMxAction::StaticClassInfo());
    TClassBuilder<T>(c)
        .String("ProjectFile", &T::GetProjectFile, &T::SetProjectFile)
        .Integer("BuildNumber", &T::GetBuildNumber, &T::SetBuildNumber)
        .Boolean("AutoIncBuild", &T::GetAutoIncBuild, &T::SetAutoIncBuild)
        .Enum("Mode", &T::GetMode, &T::SetMode)
        .Object("CompilerOpt", &T::CompilerOpt)
        .Object("LinkerOpt", &T::LinkerOpt);
    return c;
  }();
  return info;
}

void TSampleAction::SetAutoIncBuild(bool v) {
  if (v == autoIncBuild_) return;
  autoIncBuild_ = v;
  if (v) {
    RegisterDynamicProperty("BuildNumber");
  } else {
    UnRegisterDynamicProperty("BuildNumber");
  }
}

bool TSampleAction::Validate(IMxActionValidationError& errors) {
  if (projectFile_.empty()) {
    errors.AddError("Project File", "Project file has not been set");
    return false;
  }
  return true;
}

void TSampleAction::InitialiseScriptParams(TMxScript& script) {
  TMxAction::InitialiseScriptParams(script);
  if (script.Name() == "OnBuilt") {
    script.AddParam("Action", false);
    script.AddParam("Lines", false);
    script.AddParam("Modified", true);
  }
}

bool TSampleAction::Execute() {
  std::string project;
  if (!TryExpandExpression("ProjectFile", projectFile_, project, true)) return false;
  auto message = CreateStatusMessage();
  message->Add("Building " + project);
  message->Add("Mode " + EnumInfoOf(mode_).Name(static_cast<int>(mode_)));
  SendStatusMessage(message);
  if (TMxScript* script = GetScriptByName("OnBuilt"); script && !script->Text().empty()) {
    platform::TStringList lines;
    for (const auto& l : BuiltLines)
      lines.Add(l);
    script->SetParam("Action", MxScriptingServices().WrapObject(*this));
    script->SetParam("Lines", MxScriptingServices().WrapStrings(lines));
    script->SetParam("Modified", false);
    try {
      ExecuteScript(*script);
    } catch (const Exception& e) {
      SendMessage(std::string("Error during OnBuilt event : ") + e.what());
      return false;
    }
    if (ScriptValueToBool(script->GetParam("Modified"))) BuiltLines = lines.Lines();
  }
  if (autoIncBuild_) ++buildNumber_;
  return true;
}

std::vector<std::shared_ptr<IQlXMLObject>> TSampleAction::GetChildren() const {
  return Records();
}

void TSampleAction::AddChildObject(std::shared_ptr<IQlXMLObject> child) {
  // A loaded record replaces the default record of its kind.
  if (auto compiler = std::dynamic_pointer_cast<TSampleCompilerRecord>(child)) compiler_ = compiler;
  if (auto linker = std::dynamic_pointer_cast<TSampleLinkerRecord>(child)) linker_ = linker;
}

void RegisterSampleAction() {
  static const bool registered = [] {
    RegisterXMLClasses({XMLClass<TSampleCompilerRecord>(), XMLClass<TSampleLinkerRecord>(),
                        XMLClass<TSampleAction>()});
    RegisterEnumConstants<TSampleMode>();
    RegisterEnumConstants<TSampleWarnings>();
    RegisterEnumConstants<TSampleOptimisation>();
    RegisterEnumConstants<TSampleMapFile>();
    engine::RegisterHostActions();
    MxActionServices().RegisterAction(ActionRegistration<TSampleAction>("Testing", "SAMPLE"));
    MxScriptingServices().RegisterScriptMethod(
        "TSampleAction",
        TScriptMethod{"Bump",
                      "Bump(by: Integer)",
                      {{"by", TScriptType::stInteger}},
                      TScriptType::stNone,
                      [](IPersistentObject& self, const std::vector<TScriptValue>& a) {
                        auto& action = dynamic_cast<TSampleAction&>(self);
                        const auto* by = a.empty() ? nullptr : std::get_if<std::int64_t>(&a[0]);
                        action.SetBuildNumber(action.GetBuildNumber() +
                                              (by ? static_cast<int>(*by) : 1));
                        return TScriptValue{};
                      }});
    MxScriptingServices().RegisterScriptMethod(
        "TSampleAction",
        TScriptMethod{"Describe",
                      "Describe(prefix: WideString): WideString",
                      {{"prefix", TScriptType::stWideString}},
                      TScriptType::stWideString,
                      [](IPersistentObject& self, const std::vector<TScriptValue>& a) {
                        auto& action = dynamic_cast<TSampleAction&>(self);
                        return TScriptValue(ScriptValueToString(a.empty() ? TScriptValue{} : a[0]) +
                                            action.GetFormattedDescription());
                      }});
    return true;
  }();
  (void)registered;
}

}  // namespace mx::testing
