#include "MxBCBCorbaFrame.h"

namespace mx::bcc {
namespace {

using namespace rows;

// "setIDLPrecompiledHeaders", the setter of IDLPrecompiledHeaders, is the system's own spelling.
constexpr TControlRow kCorbaControls[] = {
    Grid("pnlGroups", 2),
    Group("gbCodeGeneration", "Code generation", "pnlGroups"),
    Check("cbObjectWrapper", "Object &wrappers", "gbCodeGeneration", "GenerateObjectWrappers"),
    Check("cbTie", "&Tie", "gbCodeGeneration", "GenerateTie"),
    Check("cbStdStream", "St&ream operators", "gbCodeGeneration", "GenerateStreamOperators"),
    Check("cbTypeCodeInfo", "T&ypecode information", "gbCodeGeneration", "GenerateTypecodeInfo"),
    Check("cbVirtualImplInh", "&Virtual impl. inheritance ", "gbCodeGeneration",
          "GenerateVirtualImplInh"),
    Check("cbIncludeFilesCode", "I&nclude files code", "gbCodeGeneration",
          "GenerateIncludeFilesCode"),
    Panel("pnlRight", "pnlGroups"),
    FormGroup("gbFileExtensions", "File extensions", "pnlRight"),
    Edit("edHeaderSuffix", "lblHeaderSuffix", "Header e&xtension:", "gbFileExtensions",
         "HeaderExtension")
        .Initially("hh"),
    Edit("edSourceSuffix", "lblSourceSuffix", "So&urce extension:", "gbFileExtensions")
        .Initially("cpp")
        .Unavailable(),
    FormGroup("gbAdditionalIDL", "Additional IDL", "pnlRight"),
    Edit("edAdditional", "lblAdditional", "&Options:", "gbAdditionalIDL", "AdditionalIDLOptions")
        .Initially("-boa"),
    Group("gbCorbaH", "Corba.h options", "pnlGroups"),
    Check("cbIncludeIR", "Include &IR", "gbCorbaH", "CorbaIncludeIR"),
    Check("cbIncludeDSI", "Include D&SI", "gbCorbaH", "CorbaIncludeDSI"),
    Group("gbIDLCompilation", "IDL compilation", "pnlGroups").Unavailable(),
    Check("cbAddServerUnit", "&Add server unit to project", "gbIDLCompilation", "IDLAddServerUnit"),
    Check("cbAddClientUnit", "A&dd client unit to project", "gbIDLCompilation", "IDLAddClientUnit"),
    Check("cbPrecompiledHeaders", "&Precompiled header support", "gbIDLCompilation",
          "IDLPrecompiledHeaders"),
};

}  // namespace

TMxBCBCorbaFrame::TMxBCBCorbaFrame(IMxComponent* owner)
    : TMxBCBOptionFrame(owner, "MxBCBCorbaFrame", kOptionPagesHelpContext,
                        &ICBuilderProjectSettings::GetCorbaOpt,
                        &ICBuilderProjectParser::GetCorbaOptions, kCorbaControls) {}

}  // namespace mx::bcc
