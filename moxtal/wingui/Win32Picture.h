#pragma once
// Pictures through the Windows imaging component: an icon, PNG or bitmap file's bytes decoded
// for drawing, and a window's picture written as a PNG file.

#include <windows.h>

#include <string>

namespace mx::wingui {

/// The largest image of `bytes` as a 32-bit bitmap with premultiplied alpha, and its size;
/// nullptr (and a size of 0) when the bytes are empty or not a picture.
HBITMAP DecodePicture(const std::string& bytes, SIZE& size);

/// A palette bitmap's bytes (.bmp) as an icon, its bottom-left colour transparent; nullptr when
/// the bytes are not a bitmap.
HICON BitmapIcon(const char* bytes, std::size_t size);

/// Writes what `window` shows inside its frame to the PNG file `path`; throws
/// mx::Exception naming the file when it cannot be written.
void SaveWindowPicture(HWND window, const std::string& path);

}  // namespace mx::wingui
