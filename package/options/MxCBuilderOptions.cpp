#include "MxCBuilderOptions.h"

namespace mx::bcc {

// One row of a family's list in its record's reflection.
#define MX_OPTION_REFLECT(Kind, Type, Name, Get, Set, Default) .Kind(#Name, &T::Get, &T::Set)
// A record's class information, from its family's list.
#define MX_OPTION_CLASS_INFO(Record, List)                     \
  const TClassInfo& Record::StaticClassInfo() {                \
    static const TClassInfo info = [] {                        \
      using T = Record;                                        \
      TClassInfo c(#Record, &TQlXMLObject::StaticClassInfo()); \
      TClassBuilder<T>(c) List(MX_OPTION_REFLECT);             \
      return c;                                                \
    }();                                                       \
    return info;                                               \
  }

MX_OPTION_CLASS_INFO(TMxCBuilderCompilerOptions, MX_COMPILER_OPTIONS)
MX_OPTION_CLASS_INFO(TMxCBuilderAdvCompilerOptions, MX_ADV_COMPILER_OPTIONS)
MX_OPTION_CLASS_INFO(TMxCBuilderLinkerOptions, MX_LINKER_OPTIONS)
MX_OPTION_CLASS_INFO(TMxCBuilderAdvLinkerOptions, MX_ADV_LINKER_OPTIONS)
MX_OPTION_CLASS_INFO(TMxCBuilderCPPOptions, MX_CPP_OPTIONS)
MX_OPTION_CLASS_INFO(TMxCBuilderPascalOptions, MX_PASCAL_OPTIONS)
MX_OPTION_CLASS_INFO(TMxCBuilderTASMOptions, MX_TASM_OPTIONS)
MX_OPTION_CLASS_INFO(TMxCBuilderCorbaOptions, MX_CORBA_OPTIONS)
MX_OPTION_CLASS_INFO(TMxCBuilderCodeGuardOptions, MX_CODE_GUARD_OPTIONS)
MX_OPTION_CLASS_INFO(TMxCBuilderTLibOptions, MX_TLIB_OPTIONS)

void RegisterOptionClasses() {
  RegisterXMLClasses({XMLClass<TMxCBuilderCompilerOptions>(),
                      XMLClass<TMxCBuilderAdvCompilerOptions>(),
                      XMLClass<TMxCBuilderLinkerOptions>(), XMLClass<TMxCBuilderAdvLinkerOptions>(),
                      XMLClass<TMxCBuilderCPPOptions>(), XMLClass<TMxCBuilderPascalOptions>(),
                      XMLClass<TMxCBuilderTASMOptions>(), XMLClass<TMxCBuilderCorbaOptions>(),
                      XMLClass<TMxCBuilderCodeGuardOptions>(), XMLClass<TMxCBuilderTLibOptions>()});
}

}  // namespace mx::bcc
