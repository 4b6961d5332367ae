// A build script from arbitrary bytes, with the C++Builder actions and records registered: when
// it loads, an edited save must load again and hold the same properties.
#include <cstdint>
#include <string_view>

#include "moxtal/api/ObjectText.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/RunScriptAction.h"
#include "package/action/MxCBuilderAction.h"
#include "package/host/MxRegister.h"

using namespace mx;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  engine::RegisterHostActions();
  bcc::Register(false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::unique_ptr<engine::TBuildScript> script;
  try {
    script = engine::TBuildScript::LoadFromText(
        std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.mxs");
  } catch (const Exception&) {
    return 0;  // refused with a message: an answer, not a fault
  }
  // Change something in every action and add one, so that the save edits the text.
  for (const auto& action : script->Actions())
    action->SetEnabled(!action->Enabled());
  script->Variables().Set("FUZZED", "a & <b> \"c\"");
  script->AddAction(std::make_shared<bcc::TMxCBuilderAction>());
  const std::string saved = script->SaveToText();
  const auto again = engine::TBuildScript::LoadFromText(saved, "saved.mxs");
  if (again->Actions().size() != script->Actions().size()) __builtin_trap();
  for (std::size_t i = 0; i < again->Actions().size(); ++i) {
    if (PropertyTexts(*again->Actions()[i]) != PropertyTexts(*script->Actions()[i]) ||
        again->Actions()[i]->Enabled() != script->Actions()[i]->Enabled())
      __builtin_trap();
  }
  if (again->Variables().Find("fuzzed") != "a & <b> \"c\"") __builtin_trap();
  return 0;
}
