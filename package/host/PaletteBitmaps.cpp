#include "PaletteBitmaps.h"

#include <array>
#include <cstdint>

#include "platform/Conversions.h"
#include "platform/Exception.h"

namespace mx::bcc {

namespace {

constexpr int kSize = 16;

// A "C" with two pluses. Letters are indexes into the 16-colour palette below.
constexpr std::array<std::string_view, kSize> kBcb = {
    "dddddddddddddddd",  //
    "ddddd444444ddddd",  //
    "ddd44444444ddddd",  //
    "dd444ccccc44dddd",  //
    "d444dddddddddddd",  //
    "d44ddddddddddddd",  //
    "44ddddddd9ddd9dd",  //
    "44dddddd999d999d",  //
    "44ddddddd9ddd9dd",  //
    "d44ddddddddddddd",  //
    "d444dddddddddddd",  //
    "dd444ccccc44dddd",  //
    "ddd44444444ddddd",  //
    "ddddd444444ddddd",  //
    "dddddddddddddddd",  //
    "dddddddddddddddd",  //
};

// A white "C" on a rounded square shaded from red to dark red; "." is transparent.
constexpr std::array<std::string_view, kSize> kBcb2006 = {
    "................",  //
    "..############..",  //
    ".##############.",  //
    ".####wwwwww####.",  //
    ".###ww####ww###.",  //
    ".##ww#######w##.",  //
    ".##ww##########.",  //
    ".##ww##########.",  //
    ".##ww##########.",  //
    ".##ww##########.",  //
    ".##ww#######w##.",  //
    ".###ww####ww###.",  //
    ".####wwwwww####.",  //
    ".##############.",  //
    "..############..",  //
    "................",  //
};

// The Windows 16-colour palette, as red, green, blue.
constexpr std::array<std::array<std::uint8_t, 3>, 16> kPalette = {{
    {0, 0, 0},
    {128, 0, 0},
    {0, 128, 0},
    {128, 128, 0},
    {0, 0, 128},
    {128, 0, 128},
    {0, 128, 128},
    {192, 192, 192},
    {128, 128, 128},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {0, 0, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
}};

void Put16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// File and information headers of a 16 by 16 bitmap.
std::string Headers(int bitsPerPixel, int colours, std::uint32_t pixelBytes) {
  const std::uint32_t offset = 14 + 40 + 4 * static_cast<std::uint32_t>(colours);
  std::string out = "BM";
  Put32(out, offset + pixelBytes);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, kSize);
  Put32(out, kSize);
  Put16(out, 1);
  Put16(out, static_cast<std::uint16_t>(bitsPerPixel));
  Put32(out, 0);  // no compression
  Put32(out, pixelBytes);
  Put32(out, 2835);  // 72 dots per inch
  Put32(out, 2835);
  Put32(out, static_cast<std::uint32_t>(colours));
  Put32(out, 0);
  return out;
}

std::string SixteenColours(const std::array<std::string_view, kSize>& art) {
  std::string out = Headers(4, 16, kSize * kSize / 2);
  for (const auto& [r, g, b] : kPalette) {
    out += static_cast<char>(b);
    out += static_cast<char>(g);
    out += static_cast<char>(r);
    out += '\0';
  }
  // Rows run bottom up; two pixels to a byte, the left one in the high half.
  for (int y = kSize - 1; y >= 0; --y) {
    for (int x = 0; x < kSize; x += 2)
      out +=
          static_cast<char>(platform::HexDigit(art[y][x]) << 4 | platform::HexDigit(art[y][x + 1]));
  }
  return out;
}

std::string TrueColour(const std::array<std::string_view, kSize>& art) {
  std::string out = Headers(24, 0, kSize * kSize * 3);
  for (int y = kSize - 1; y >= 0; --y) {
    for (int x = 0; x < kSize; ++x) {
      std::array<std::uint8_t, 3> rgb{255, 0, 255};  // transparent
      if (art[y][x] == 'w') rgb = {255, 255, 255};
      if (art[y][x] == '#') {
        // Shaded from top to bottom.
        const auto shade = static_cast<std::uint8_t>(220 - 7 * y);
        rgb = {shade, static_cast<std::uint8_t>(40 - 2 * y), static_cast<std::uint8_t>(30)};
      }
      out += static_cast<char>(rgb[2]);
      out += static_cast<char>(rgb[1]);
      out += static_cast<char>(rgb[0]);
    }
  }
  return out;
}

}  // namespace

std::string PaletteBitmap(std::string_view name) {
  if (name == "BCB") return SixteenColours(kBcb);
  if (name == "BCB2006") return TrueColour(kBcb2006);
  throw Exception("The package has no bitmap named " + std::string(name));
}

}  // namespace mx::bcc
