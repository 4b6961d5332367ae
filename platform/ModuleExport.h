#pragma once
// How a module of the program (a package, the desktop editor) exports the entries the host finds
// by name: one definition for every system.

#ifdef _WIN32
#define MX_EXPORT extern "C" __declspec(dllexport)
#else
#define MX_EXPORT extern "C" __attribute__((visibility("default")))
#endif
