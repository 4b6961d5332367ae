#pragma once
// The pages and property editors of each action, registered with the host at design time.

namespace mx::bcc {

/// The pages of the C++Builder 5/6 action, in the order of its dialog.
void RegisterPropertyPages();
/// The property editors of the C++Builder 5/6 action's project and icon files.
void RegisterPropertyEditors();
/// The pages of the C++Builder 2006/2007 action, in the order of its dialog.
void RegisterCBuilder2006PropertyPages();

}  // namespace mx::bcc
