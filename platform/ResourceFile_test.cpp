#include "ResourceFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CodePage.h"
#include "tests/support/Corpus.h"

using namespace mx::platform;

using mx::test::kCorpus;

namespace {

void Put16(std::string& s, unsigned v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, unsigned v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

// Writes one resource entry the way resource compilers do.
std::string Entry(const TResourceId& type, const TResourceId& name, const std::string& data) {
  std::string ids;
  for (const auto* id : {&type, &name}) {
    if (id->IsNumber) {
      Put16(ids, 0xFFFF);
      Put16(ids, id->Number);
    } else {
      ids += Utf8ToUtf16Le(id->Name);
      Put16(ids, 0);
    }
  }
  while ((8 + ids.size()) % 4)
    ids += '\0';
  std::string header;
  Put32(header, static_cast<unsigned>(data.size()));
  Put32(header, static_cast<unsigned>(8 + ids.size() + 16));
  header += ids;
  Put32(header, 0);       // data version
  Put16(header, 0x1030);  // memory flags
  Put16(header, 0x0409);  // language
  Put32(header, 0);
  Put32(header, 0);
  std::string out = header + data;
  while (out.size() % 4)
    out += '\0';
  return out;
}

std::string ResFile(const std::vector<std::string>& entries) {
  std::string out = Entry(TResourceId::FromNumber(0), TResourceId::FromNumber(0), "");
  for (const auto& e : entries)
    out += e;
  return out;
}

std::string Bitmap(unsigned width, unsigned height, unsigned bits) {
  std::string dib;
  Put32(dib, 40);
  Put32(dib, width);
  Put32(dib, height * 2);
  Put16(dib, 1);
  Put16(dib, bits);
  dib.append(24, '\0');
  dib.append(width * height * bits / 8, '\x55');
  return dib;
}

// Checks an .ico file's directory against the images it should hold.
void ExpectIcon(const std::string& ico, const std::vector<std::string>& images) {
  ASSERT_GE(ico.size(), 6u);
  const auto u16 = [&](std::size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(ico[at]) |
                                 (static_cast<unsigned char>(ico[at + 1]) << 8));
  };
  const auto u32 = [&](std::size_t at) { return u16(at) | (u16(at + 2) << 16); };
  EXPECT_EQ(u16(0), 0u);
  EXPECT_EQ(u16(2), 1u);
  ASSERT_EQ(u16(4), images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const std::size_t dir = 6 + 16 * i;
    const unsigned size = u32(dir + 8);
    const unsigned offset = u32(dir + 12);
    ASSERT_LE(std::size_t{offset} + size, ico.size());
    EXPECT_EQ(ico.substr(offset, size), images[i]) << "image " << i;
  }
}

}  // namespace

TEST(ResourceFileTest, FindsByTypeAndNameAndWritesIcons) {
  std::string group;
  Put16(group, 0);
  Put16(group, 1);
  Put16(group, 2);
  for (unsigned id : {2u, 1u}) {
    group += static_cast<char>(id == 1 ? 16 : 32);
    group += static_cast<char>(id == 1 ? 16 : 32);
    group += '\0';
    group += '\0';
    Put16(group, 1);
    Put16(group, 8);
    Put32(group, 0);
    Put16(group, id);
  }
  const std::string small = Bitmap(16, 16, 8);
  const std::string large = Bitmap(32, 32, 8);
  const std::string manifest = "<?xml version=\"1.0\"?><assembly/>";
  const auto file = TResourceFile::LoadFromBytes(
      ResFile(
          {Entry(TResourceId::FromNumber(RT_ICON), TResourceId::FromNumber(1), small),
           Entry(TResourceId::FromNumber(RT_ICON), TResourceId::FromNumber(2), large),
           Entry(TResourceId::FromNumber(RT_GROUP_ICON), TResourceId::FromName("MAINICON"), group),
           Entry(TResourceId::FromName("CUSTOM"), TResourceId::FromName("mainicon"), "x"),
           Entry(TResourceId::FromNumber(RT_MANIFEST), TResourceId::FromNumber(1), manifest)}),
      "demo.res");
  ASSERT_EQ(file.Entries().size(), 5u);
  EXPECT_EQ(file.Entries()[0].Language, 0x0409);
  EXPECT_EQ(file.Manifest(), manifest);

  const TResourceEntry* main =
      file.Find(TResourceId::FromNumber(RT_GROUP_ICON), TResourceId::FromName("MAINICON"));
  ASSERT_TRUE(main);
  EXPECT_FALSE(
      file.Find(TResourceId::FromNumber(RT_GROUP_ICON), TResourceId::FromName("MainIcon")));
  ExpectIcon(file.IconFileFromGroup(*main), {large, small});

  const TResourceEntry* one =
      file.Find(TResourceId::FromNumber(RT_ICON), TResourceId::FromNumber(2));
  ASSERT_TRUE(one);
  const std::string ico = TResourceFile::IconFileFromImage(*one);
  ExpectIcon(ico, {large});
  EXPECT_EQ(static_cast<unsigned char>(ico[6]), 32u);  // width
  EXPECT_EQ(static_cast<unsigned char>(ico[7]), 32u);  // height without the mask

  // A group naming an image the file lacks is an error, not a partial icon.
  const auto broken =
      TResourceFile::LoadFromBytes(ResFile({Entry(TResourceId::FromNumber(RT_GROUP_ICON),
                                                  TResourceId::FromName("MAINICON"), group)}),
                                   "b.res");
  try {
    broken.IconFileFromGroup(broken.Entries()[0]);
    FAIL();
  } catch (const EResourceError& e) {
    EXPECT_STREQ(e.what(), "b.res, group icon MAINICON: icon image 2 is missing");
  }
}

TEST(ResourceFileTest, CorruptFilesAreErrorsNeverCrashes) {
  const std::string good =
      ResFile({Entry(TResourceId::FromName("TYPE"), TResourceId::FromName("NAME"), "data!")});
  ASSERT_NO_THROW(TResourceFile::LoadFromBytes(good, "g.res"));
  // Every truncation either still reads (it only cut the padding) or gives a clear error.
  for (std::size_t n = 1; n < good.size(); ++n) {
    try {
      TResourceFile::LoadFromBytes(good.substr(0, n), "cut.res");
    } catch (const EResourceError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("cut.res: ", 0), 0u) << e.what();
    }
  }
  std::string huge = good;
  huge[32] = '\xFF', huge[33] = '\xFF', huge[34] = '\xFF', huge[35] = '\x7F';  // data size
  EXPECT_THROW(TResourceFile::LoadFromBytes(huge, "h.res"), EResourceError);
  std::string tinyHeader = good;
  tinyHeader[36] = 4, tinyHeader[37] = 0;  // header size below the minimum
  EXPECT_THROW(TResourceFile::LoadFromBytes(tinyHeader, "t.res"), EResourceError);
  try {
    TResourceFile::LoadFromBytes(std::string("\x10\0\0\0", 4) + good.substr(4), "old.res");
    FAIL();
  } catch (const EResourceError& e) {
    EXPECT_STREQ(e.what(), "old.res: not a 32-bit resource file");
  }
  EXPECT_THROW(TResourceFile::LoadFromBytes("", "empty.res"), EResourceError);
}

// A 0.9 MB file whose group names one 16 KB image 65,535 times would make a 1 GB icon: it is
// refused before the icon is built, and nothing is written.
TEST(ResourceFileTest, AnIconThatWouldGrowBeyondItsBoundIsRefused) {
  std::string group;
  Put16(group, 0);
  Put16(group, 1);
  Put16(group, 65535);
  for (unsigned i = 0; i < 65535; ++i) {
    group.append(4, '\0');
    Put16(group, 1);
    Put16(group, 32);
    Put32(group, 16384);
    Put16(group, 1);
  }
  const auto file = TResourceFile::LoadFromBytes(
      ResFile({Entry(TResourceId::FromNumber(RT_ICON), TResourceId::FromNumber(1),
                     std::string(16384, 'x')),
               Entry(TResourceId::FromNumber(RT_GROUP_ICON), TResourceId::FromName("MAINICON"),
                     group)}),
      "bomb.res");
  try {
    file.IconFileFromGroup(file.Entries()[1]);
    FAIL();
  } catch (const EResourceError& e) {
    EXPECT_EQ(std::string(e.what()),
              "bomb.res, group icon MAINICON: its icon file would hold more than 16777216 bytes");
  }
  const auto out = std::filesystem::temp_directory_path() / "mx_bomb.ico";
  std::filesystem::remove(out);
  EXPECT_THROW(file.SaveIcon(file.Entries()[1], out.string()), EResourceError);
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(ResourceFileTest, CorpusResourceFilesYieldTheirIconsAndManifests) {
  if (!std::filesystem::exists(kCorpus)) GTEST_SKIP() << "no resource corpus at " << kCorpus;
  int icons = 0;
  int manifests = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kCorpus / "res")) {
    const auto file = TResourceFile::LoadFromFile(entry.path().string());
    for (const auto& e : file.Entries()) {
      if (!(e.Type == TResourceId::FromNumber(RT_GROUP_ICON))) continue;
      const std::string ico = file.IconFileFromGroup(e);
      const unsigned count =
          static_cast<unsigned char>(e.Data[4]) | (static_cast<unsigned char>(e.Data[5]) << 8);
      std::vector<std::string> images;
      for (unsigned i = 0; i < count; ++i) {
        const unsigned id = static_cast<unsigned char>(e.Data[6 + 14 * i + 12]) |
                            (static_cast<unsigned char>(e.Data[6 + 14 * i + 13]) << 8);
        images.push_back(file.Find(TResourceId::FromNumber(RT_ICON),
                                   TResourceId::FromNumber(static_cast<std::uint16_t>(id)))
                             ->Data);
      }
      ExpectIcon(ico, images);
      ++icons;
    }
    if (auto m = file.Manifest()) {
      EXPECT_NE(m->find("<assembly"), std::string::npos) << entry.path();
      ++manifests;
    }
  }
  EXPECT_GE(icons, 14);
  EXPECT_GE(manifests, 3);
}
