#include "package/options/MxCBuilderOptions.h"

#include <gtest/gtest.h>

#include "moxtal/api/ObjectText.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/Host.h"
#include "moxtal/engine/PackageLoader.h"
#include "package/action/MxCBuilderAction.h"
#include "package/host/MxRegister.h"

using namespace mx;
using namespace mx::bcc;

TEST(OptionRecordsTest, FreshRecordsCarryTheirDefaults) {
  const TMxCBuilderCompilerOptions compiler;
  EXPECT_EQ(compiler.GetPreCompHeaders(), TBCBCompilerPreCompiledHeader::pcCache);
  EXPECT_EQ(compiler.GetPreCompFile(), "$(BCB)\\lib\\vcl50.csm");
  EXPECT_EQ(compiler.GetOutputWarnings(), TBCBCompilerWarnings::cwSelected);
  EXPECT_TRUE(compiler.GetOptimisation().Empty());
  EXPECT_EQ(GetPropAsString(compiler, "DebugInfo"), "True");
  EXPECT_EQ(TMxCBuilderAdvCompilerOptions().GetIdentifierLength(), 0);
  EXPECT_EQ(TMxCBuilderTASMOptions().GetHashTableCapacity(), 8192u);
  EXPECT_EQ(TMxCBuilderTLibOptions().GetPageSize(), 16);
  EXPECT_EQ(TMxCBuilderCorbaOptions().GetAdditionalIDLOptions(), "-boa");
  EXPECT_EQ(GetPropAsString(TMxCBuilderPascalOptions(), "AlignFields"), "fa8");

  // Published order is the stored form.
  EXPECT_EQ(GetPropertyList(TMxCBuilderPascalOptions(), false),
            (std::vector<std::string>{"Optimisation",   "AlignFields",      "StackFrames",
                                      "SafeDivide",     "VarStringChecks",  "BoolEval",
                                      "ExtendedSyntax", "TypedPointers",    "OpenStrings",
                                      "HugeStrings",    "AssignableConst",  "RangeChecking",
                                      "IOChecking",     "OverflowChecking", "DebugInfo",
                                      "LocalSymbols",   "ReferenceInfo",    "DefinitionsOnly",
                                      "Assertions",     "ShowHints",        "ShowWarnings"}));
}

TEST(OptionRecordsTest, EveryRecordRoundTripsThroughABuildScript) {
  Register(false);
  // Every stored property of every record takes a value unlike its default.
  auto action = std::make_shared<TMxCBuilderAction>();
  for (const auto& record : action->GetChildren()) {
    for (const TPropInfo* p : record->ClassInfo().Properties()) {
      const TPropValue before = p->Get(*record);
      switch (p->Kind) {
        case TPropKind::pkBoolean:
          p->Set(*record, !std::get<bool>(before));
          break;
        case TPropKind::pkInteger:
        case TPropKind::pkCardinal:
          p->Set(*record, std::get<std::int64_t>(before) + 7);
          break;
        case TPropKind::pkString:
          p->Set(*record, std::string("C:\\My Dir\\x & \"y\""));
          break;
        case TPropKind::pkEnum:
          p->Set(*record, std::int64_t{p->Enum->Count() - 1});
          break;
        case TPropKind::pkSet:
          p->Set(*record, std::int64_t{1});
          break;
        case TPropKind::pkStringList:
          p->Set(*record, std::vector<std::string>{"-wpar=1", "-waus=0"});
          break;
        case TPropKind::pkObject:
          break;
      }
    }
  }
  engine::TBuildScript script;
  script.AddAction(action);
  const auto loaded = engine::TBuildScript::LoadFromText(script.SaveToText(), "records.mxs");
  const auto children = loaded->Actions().at(0)->GetChildren();
  const auto original = action->GetChildren();
  ASSERT_EQ(children.size(), original.size());
  for (std::size_t i = 0; i < children.size(); ++i) {
    EXPECT_EQ(children[i]->ClassInfo().Name(), original[i]->ClassInfo().Name());
    EXPECT_EQ(PropertyTexts(*children[i]), PropertyTexts(*original[i]))
        << original[i]->ClassInfo().Name();
  }
}

TEST(OptionRecordsTest, WarningsSetterCopiesLines) {
  TMxCBuilderLinkerOptions linker;
  platform::TStringList source("-wdup=1\n");
  linker.SetWarnings(source);
  source.Add("-wdpl=0");
  source.SetStrings(0, "changed");
  EXPECT_EQ(linker.GetWarnings().Text(), "-wdup=1\r\n");
  // Interfaces are found by asking the object, as the action does with loaded children.
  std::shared_ptr<IQlXMLObject> child = std::make_shared<TMxCBuilderLinkerOptions>();
  EXPECT_TRUE(std::dynamic_pointer_cast<ICBuilderLinkerOptions>(child));
  EXPECT_FALSE(std::dynamic_pointer_cast<ICBuilderCompilerOptions>(child));
}

TEST(PackageRegistrationTest, RegistersSixtyConstantsInOrderAndTheRecordClasses) {
  Register(false);
  const auto constants = engine::THost::Instance().Constants();
  const auto first = std::find_if(constants.begin(), constants.end(),
                                  [](const auto& c) { return c.first == "coPentiumScheduling"; });
  ASSERT_NE(first, constants.end());
  ASSERT_GE(constants.end() - first, 60);
  // Sixty in a row, enumeration by enumeration, each value's ordinal, ending with ltExpanded.
  const std::vector<std::pair<std::string, std::int64_t>> block(first, first + 60);
  EXPECT_EQ(block[2], (std::pair<std::string, std::int64_t>{"coInductionVariables", 2}));
  EXPECT_EQ(block[4], (std::pair<std::string, std::int64_t>{"pcNone", 0}));
  EXPECT_EQ(block.back(), (std::pair<std::string, std::int64_t>{"ltExpanded", 1}));
  const auto value = [&](const std::string& name) {
    for (const auto& [n, v] : block) {
      if (n == name) return v;
    }
    return std::int64_t{-1};
  };
  EXPECT_EQ(value("tdFull"), 2);
  EXPECT_EQ(value("vtPublic"), 3);
  EXPECT_EQ(value("ssRelease"), 1);
  EXPECT_EQ(value("daQuadWord"), 3);
  // Registering again replaces, it does not add.
  Register(false);
  EXPECT_EQ(engine::THost::Instance().Constants().size(), constants.size());
  for (const char* name :
       {"TMxCBuilderCompilerOptions", "TMxCBuilderAdvCompilerOptions", "TMxCBuilderLinkerOptions",
        "TMxCBuilderAdvLinkerOptions", "TMxCBuilderCPPOptions", "TMxCBuilderPascalOptions",
        "TMxCBuilderTASMOptions", "TMxCBuilderCorbaOptions", "TMxCBuilderCodeGuardOptions",
        "TMxCBuilderTLibOptions"}) {
    const auto object = CreateXMLObject(name);
    ASSERT_TRUE(object) << name;
    EXPECT_EQ(object->ClassInfo().Name(), name);
  }
}

TEST(PackageRegistrationTest, TheSharedModuleLoadsAndRegisters) {
  const auto package = engine::LoadPackage(MX_PACKAGE_MODULE, false);
  EXPECT_EQ(package.Description, "Moxtal 5.0 - C++Builder Support Package");
  // Registering again replaces, it does not add.
  std::size_t tdFull = 0;
  for (const auto& [n, v] : engine::THost::Instance().Constants())
    tdFull += n == "tdFull" ? 1 : 0;
  EXPECT_EQ(tdFull, 1u);
  EXPECT_TRUE(CreateXMLObject("TMxCBuilderTLibOptions"));
  EXPECT_THROW(engine::LoadPackage("/nonexistent/libMx50BCC.so", false), mx::Exception);
}
