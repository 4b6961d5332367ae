#include "ResourceFile.h"

#include "CodePage.h"
#include "WholeFile.h"

namespace mx::platform {
namespace {

// Bounds-checked little-endian reads over the file's bytes.
class TReader {
 public:
  TReader(std::string_view bytes, std::string source) : bytes_(bytes), source_(std::move(source)) {}

  std::size_t Size() const { return bytes_.size(); }

  [[noreturn]] void Fail(std::size_t offset, const std::string& problem) const {
    throw EResourceError(source_ + ": corrupt resource file (offset " + std::to_string(offset) +
                         ": " + problem + ")");
  }

  std::uint16_t U16(std::size_t at, std::size_t limit) const {
    if (at + 2 > limit || at + 2 > bytes_.size()) Fail(at, "unexpected end of data");
    return static_cast<std::uint16_t>(Byte(at) | (Byte(at + 1) << 8));
  }

  std::uint32_t U32(std::size_t at, std::size_t limit) const {
    return static_cast<std::uint32_t>(U16(at, limit)) |
           (static_cast<std::uint32_t>(U16(at + 2, limit)) << 16);
  }

  // A type or name field: 0xFFFF and a number, or a zero-terminated UTF-16 string.
  TResourceId Id(std::size_t& at, std::size_t limit) const {
    if (U16(at, limit) == 0xFFFF) {
      const std::uint16_t n = U16(at + 2, limit);
      at += 4;
      return TResourceId::FromNumber(n);
    }
    const std::size_t start = at;
    while (U16(at, limit) != 0)
      at += 2;
    std::string name = Utf16LeToUtf8(bytes_.substr(start, at - start));
    at += 2;
    return TResourceId::FromName(std::move(name));
  }

  std::string_view Slice(std::size_t at, std::size_t n) const { return bytes_.substr(at, n); }

 private:
  unsigned Byte(std::size_t at) const { return static_cast<unsigned char>(bytes_[at]); }
  std::string_view bytes_;
  std::string source_;
};

std::size_t Align4(std::size_t n) {
  return (n + 3) & ~std::size_t{3};
}

void Put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

struct TIconInfo {
  std::uint8_t width = 0;
  std::uint8_t height = 0;
  std::uint8_t colorCount = 0;
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 0;
};

// Builds an .ico file from directory fields and image data.
std::string IconFile(const std::vector<std::pair<TIconInfo, std::string_view>>& images) {
  std::string out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(images.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (const auto& [info, data] : images) {
    out += static_cast<char>(info.width);
    out += static_cast<char>(info.height);
    out += static_cast<char>(info.colorCount);
    out += '\0';
    Put16(out, info.planes);
    Put16(out, info.bitCount);
    Put32(out, static_cast<std::uint32_t>(data.size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(data.size());
  }
  for (const auto& image : images)
    out.append(image.second);
  return out;
}

}  // namespace

TResourceFile TResourceFile::LoadFromBytes(std::string_view bytes, const std::string& sourceName) {
  TResourceFile file;
  file.source_ = sourceName;
  const TReader r(bytes, sourceName);
  std::size_t offset = 0;
  bool first = true;
  while (offset < r.Size()) {
    // Some tools pad the end of the file with a few zero bytes.
    if (r.Size() - offset < 8 &&
        r.Slice(offset, 8).find_first_not_of('\0') == std::string_view::npos)
      break;
    const std::uint32_t dataSize = r.U32(offset, r.Size());
    const std::uint32_t headerSize = r.U32(offset + 4, r.Size());
    const std::size_t headerEnd = offset + headerSize;
    if (headerSize < 32 || headerEnd > r.Size())
      r.Fail(offset, "bad header size " + std::to_string(headerSize));
    if (dataSize > r.Size() - headerEnd)
      r.Fail(offset, "data size " + std::to_string(dataSize) + " beyond the end");
    std::size_t at = offset + 8;
    TResourceEntry entry;
    entry.Type = r.Id(at, headerEnd);
    entry.Name = r.Id(at, headerEnd);
    at = offset + Align4(at - offset);
    if (at + 16 > headerEnd) r.Fail(offset, "header too short");
    entry.Language = r.U16(at + 6, headerEnd);
    if (first) {
      // A 32-bit resource file starts with an empty entry of type 0 and name 0.
      if (dataSize != 0 || !entry.Type.IsNumber || entry.Type.Number != 0) {
        throw EResourceError(sourceName + ": not a 32-bit resource file");
      }
      first = false;
    } else {
      entry.Data = std::string(r.Slice(headerEnd, dataSize));
      file.entries_.push_back(std::move(entry));
    }
    offset = Align4(headerEnd + dataSize);
  }
  if (first) throw EResourceError(sourceName + ": not a 32-bit resource file");
  return file;
}

TResourceFile TResourceFile::LoadFromFile(const std::string& path) {
  return LoadFromBytes(ReadWholeFile(path, kMaxResourceFileSize), path);
}

const TResourceEntry* TResourceFile::Find(const TResourceId& type, const TResourceId& name) const {
  for (const auto& e : entries_) {
    if (e.Type == type && e.Name == name) return &e;
  }
  return nullptr;
}

std::optional<std::string> TResourceFile::Manifest() const {
  for (const auto& e : entries_) {
    if (e.Type == TResourceId::FromNumber(RT_MANIFEST)) return e.Data;
  }
  return std::nullopt;
}

std::string TResourceFile::IconFileFromGroup(const TResourceEntry& group) const {
  const std::string where = source_ + ", group icon " + group.Name.ToString();
  const TReader r(group.Data, where);
  const std::size_t size = group.Data.size();
  if (r.U16(0, size) != 0 || r.U16(2, size) != 1) r.Fail(0, "not an icon group");
  const std::uint16_t count = r.U16(4, size);
  std::vector<std::pair<TIconInfo, std::string_view>> images;
  // Images may be named more than once; the file they make is bounded, which also keeps its
  // 32-bit offsets true.
  std::size_t total = 6;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = 6 + 14 * i;
    if (at + 14 > size) r.Fail(at, "icon directory cut short");
    TIconInfo info;
    info.width = static_cast<std::uint8_t>(group.Data[at]);
    info.height = static_cast<std::uint8_t>(group.Data[at + 1]);
    info.colorCount = static_cast<std::uint8_t>(group.Data[at + 2]);
    info.planes = r.U16(at + 4, size);
    info.bitCount = r.U16(at + 6, size);
    const std::uint16_t id = r.U16(at + 12, size);
    const TResourceEntry* image =
        Find(TResourceId::FromNumber(RT_ICON), TResourceId::FromNumber(id));
    if (!image) throw EResourceError(where + ": icon image " + std::to_string(id) + " is missing");
    images.emplace_back(info, image->Data);
    total += 16 + image->Data.size();
    if (total > kMaxExtractedResourceSize) {
      throw EResourceError(where + ": its icon file would hold more than " +
                           std::to_string(kMaxExtractedResourceSize) + " bytes");
    }
  }
  return IconFile(images);
}

std::string TResourceFile::IconFileFromImage(const TResourceEntry& image) {
  const std::string_view data = image.Data;
  const TReader r(data, "icon image " + image.Name.ToString());
  TIconInfo info;
  const auto clamp = [](std::uint32_t v) { return static_cast<std::uint8_t>(v >= 256 ? 0 : v); };
  if (data.substr(0, 8) == "\x89PNG\r\n\x1A\n") {
    // PNG: width and height are big-endian in the IHDR chunk.
    if (data.size() < 24) r.Fail(0, "PNG image cut short");
    const auto be32 = [&](std::size_t at) {
      std::uint32_t v = 0;
      for (std::size_t k = 0; k < 4; ++k)
        v = (v << 8) | static_cast<unsigned char>(data[at + k]);
      return v;
    };
    info.width = clamp(be32(16));
    info.height = clamp(be32(20));
    info.bitCount = 32;
  } else {
    // A device-independent bitmap whose height counts the image and its mask.
    info.width = clamp(r.U32(4, data.size()));
    info.height = clamp(r.U32(8, data.size()) / 2);
    info.planes = r.U16(12, data.size());
    info.bitCount = r.U16(14, data.size());
    info.colorCount = info.bitCount < 8 ? static_cast<std::uint8_t>(1u << info.bitCount) : 0;
  }
  return IconFile({{info, data}});
}

void TResourceFile::SaveIcon(const TResourceEntry& entry, const std::string& path) const {
  const std::string bytes = entry.Type == TResourceId::FromNumber(RT_GROUP_ICON)
                                ? IconFileFromGroup(entry)
                                : IconFileFromImage(entry);
  if (bytes.size() > kMaxExtractedResourceSize) {
    throw EResourceError(source_ + ", icon " + entry.Name.ToString() +
                         ": its icon file would hold more than " +
                         std::to_string(kMaxExtractedResourceSize) + " bytes");
  }
  WriteWholeFile(path, bytes, TLinkPolicy::lpRefuse);
}

}  // namespace mx::platform
