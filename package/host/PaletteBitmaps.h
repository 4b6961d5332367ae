#pragma once
// The palette bitmaps of the package's two actions, drawn here as 16 by 16 pixel art.

#include <string>
#include <string_view>

namespace mx::bcc {

/// The bytes of a .bmp file: "BCB" (16 colours) or "BCB2006" (24-bit colour); throws
/// mx::Exception for another name. The bottom-left pixel is the transparent colour.
std::string PaletteBitmap(std::string_view name);

}  // namespace mx::bcc
