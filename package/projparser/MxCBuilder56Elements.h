#pragma once
// The elements of a C++Builder 5/6 project file that the parser reads and writes; each holds
// its text in a "value" attribute, apart from the IDE options, whose text is the element's own.

namespace mx::bcc::elements {

inline constexpr const char* kVersion = "/PROJECT/MACROS/VERSION";
inline constexpr const char* kProject = "/PROJECT/MACROS/PROJECT";
inline constexpr const char* kObjFiles = "/PROJECT/MACROS/OBJFILES";
inline constexpr const char* kLibFiles = "/PROJECT/MACROS/LIBFILES";
inline constexpr const char* kPackages = "/PROJECT/MACROS/PACKAGES";
inline constexpr const char* kSpareLibs = "/PROJECT/MACROS/SPARELIBS";
inline constexpr const char* kLibraries = "/PROJECT/MACROS/LIBRARIES";
inline constexpr const char* kListFile = "/PROJECT/MACROS/LISTFILE";
inline constexpr const char* kUserDefines = "/PROJECT/MACROS/USERDEFINES";
inline constexpr const char* kSysDefines = "/PROJECT/MACROS/SYSDEFINES";
inline constexpr const char* kIncludePath = "/PROJECT/MACROS/INCLUDEPATH";
inline constexpr const char* kLibPath = "/PROJECT/MACROS/LIBPATH";
inline constexpr const char* kWarnings = "/PROJECT/MACROS/WARNINGS";
inline constexpr const char* kIdlFlags = "/PROJECT/OPTIONS/IDLCFLAGS";
inline constexpr const char* kCFlags = "/PROJECT/OPTIONS/CFLAG1";
inline constexpr const char* kPFlags = "/PROJECT/OPTIONS/PFLAGS";
inline constexpr const char* kAFlags = "/PROJECT/OPTIONS/AFLAGS";
inline constexpr const char* kLFlags = "/PROJECT/OPTIONS/LFLAGS";
inline constexpr const char* kAllObj = "/PROJECT/LINKER/ALLOBJ";
inline constexpr const char* kAllLib = "/PROJECT/LINKER/ALLLIB";
inline constexpr const char* kIdeOptions = "/PROJECT/IDEOPTIONS";

}  // namespace mx::bcc::elements
