#pragma once

namespace mx::bcc {

/// "Moxtal 5.0 - C++Builder Support Package".
const char* PackageDescription();

/// Registers the package's persistence classes, actions, script methods and script constants
/// with the host; property editors and pages only when `designTime` is true.
void Register(bool designTime);

}  // namespace mx::bcc
