#pragma once
// The ten option records: one class per tool family, holding the settings that the action forces
// onto a project and that a parser reads from one. Each holds the rows of its family's list (see
// MxCBuilderIntf.h): a field with its default and the two accessors.

#include "package/options/MxCBuilderIntf.h"

// The members of one row of a family's list in its record.
#define MX_OPTION_RECORD(Kind, Type, Name, Get, Set, Default) \
  MX_OPTION_MEMBERS_##Kind(Type, Name, Get, Set, Default)
#define MX_OPTION_MEMBERS_VALUE(Type, Name, Get, Set, Default) \
 public:                                                       \
  Type Get() const override {                                  \
    return Name##_;                                            \
  }                                                            \
  void Set(Type value) override {                              \
    Name##_ = value;                                           \
  }                                                            \
                                                               \
 private:                                                      \
  Type Name##_{Default};
#define MX_OPTION_MEMBERS_Boolean MX_OPTION_MEMBERS_VALUE
#define MX_OPTION_MEMBERS_Integer MX_OPTION_MEMBERS_VALUE
#define MX_OPTION_MEMBERS_Cardinal MX_OPTION_MEMBERS_VALUE
#define MX_OPTION_MEMBERS_Enum MX_OPTION_MEMBERS_VALUE
#define MX_OPTION_MEMBERS_Set MX_OPTION_MEMBERS_VALUE
#define MX_OPTION_MEMBERS_String(Type, Name, Get, Set, Default) \
 public:                                                        \
  Type Get() const override {                                   \
    return Name##_;                                             \
  }                                                             \
  void Set(const Type& value) override {                        \
    Name##_ = value;                                            \
  }                                                             \
                                                                \
 private:                                                       \
  Type Name##_{Default};
#define MX_OPTION_MEMBERS_StringList(Type, Name, Get, Set, Default) \
 public:                                                            \
  Type& Get() override {                                            \
    return Name##_;                                                 \
  }                                                                 \
  void Set(const Type& value) override {                            \
    Name##_.Assign(value);                                          \
  }                                                                 \
                                                                    \
 private:                                                           \
  Type Name##_;

namespace mx::bcc {

class TMxCBuilderCompilerOptions : public TQlXMLObject, public ICBuilderCompilerOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  MX_COMPILER_OPTIONS(MX_OPTION_RECORD)
};

class TMxCBuilderAdvCompilerOptions : public TQlXMLObject, public ICBuilderAdvCompilerOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  MX_ADV_COMPILER_OPTIONS(MX_OPTION_RECORD)
};

class TMxCBuilderLinkerOptions : public TQlXMLObject, public ICBuilderLinkerOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  MX_LINKER_OPTIONS(MX_OPTION_RECORD)
};

class TMxCBuilderAdvLinkerOptions : public TQlXMLObject, public ICBuilderAdvLinkerOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  MX_ADV_LINKER_OPTIONS(MX_OPTION_RECORD)
};

class TMxCBuilderCPPOptions : public TQlXMLObject, public ICBuilderCPPOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  MX_CPP_OPTIONS(MX_OPTION_RECORD)
};

class TMxCBuilderPascalOptions : public TQlXMLObject, public ICBuilderPascalOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  MX_PASCAL_OPTIONS(MX_OPTION_RECORD)
};

class TMxCBuilderTASMOptions : public TQlXMLObject, public ICBuilderTASMOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  MX_TASM_OPTIONS(MX_OPTION_RECORD)
};

class TMxCBuilderCorbaOptions : public TQlXMLObject, public ICBuilderCorbaOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  MX_CORBA_OPTIONS(MX_OPTION_RECORD)
};

class TMxCBuilderCodeGuardOptions : public TQlXMLObject, public ICBuilderCodeGuardOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  MX_CODE_GUARD_OPTIONS(MX_OPTION_RECORD)
};

class TMxCBuilderTLibOptions : public TQlXMLObject, public ICBuilderTLibOptions {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  MX_TLIB_OPTIONS(MX_OPTION_RECORD)
};

/// Makes the ten record classes known to the host's persistence, in the order compiler,
/// advanced compiler, linker, advanced linker, C++, Pascal, assembler, IDL, CodeGuard, librarian.
void RegisterOptionClasses();

}  // namespace mx::bcc
