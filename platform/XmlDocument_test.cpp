#include "XmlDocument.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/Corpus.h"

using namespace mx::platform;

using mx::test::kCorpus;

namespace {

// Every element path with its attributes and every text and comment node, in document order:
// what a load followed by a save must keep.
void Describe(TXmlNode node, const std::string& path, std::string& out) {
  for (TXmlNode child : node.Children()) {
    if (child.IsElement()) {
      const std::string p = path + "/" + child.Name();
      out += p + "\n";
      for (const char* attr : {"value", "Name", "Condition", "Include"}) {
        if (auto v = child.Attribute(attr)) out += p + "@" + attr + "=" + *v + "\n";
      }
      Describe(child, p, out);
    } else if (child.IsText() || child.IsComment()) {
      out += path + (child.IsText() ? "#text=" : "#comment=") + child.Data() + "\n";
    }
  }
}

std::string Describe(const TXmlDocument& doc) {
  std::string out;
  out += "/" + doc.DocumentElement().Name() + "\n";
  Describe(doc.DocumentElement(), "/" + doc.DocumentElement().Name(), out);
  return out;
}

}  // namespace

TEST(XmlDocumentTest, SelectsEditsAndSavesProjectElements) {
  const char* text =
      "<?xml version='1.0' encoding='utf-8' ?>\r\n"
      "<!-- C++Builder XML Project -->\r\n"
      "<PROJECT>\r\n"
      "  <MACROS>\r\n"
      "    <VERSION value=\"BCB.06.00\"/>\r\n"
      "    <OBJFILES value=\"Demo.obj Main.obj\r\n      About.obj\"/>\r\n"
      "  </MACROS>\r\n"
      "  <IDEOPTIONS>\r\n[Version Info]\r\nIncludeVerInfo=1\r\n<!-- saved -->\r\n  "
      "</IDEOPTIONS>\r\n"
      "</PROJECT>\r\n";
  TXmlDocument doc = TXmlDocument::LoadFromText(text);
  EXPECT_EQ(doc.SelectSingleNode("/PROJECT/MACROS/VERSION").Attribute("value"), "BCB.06.00");
  EXPECT_EQ(doc.SelectSingleNode("/PROJECT/MACROS/OBJFILES").Attribute("value"),
            "Demo.obj Main.obj       About.obj");
  EXPECT_FALSE(doc.SelectSingleNode("/PROJECT/MACROS/MISSING"));
  EXPECT_EQ(doc.SelectSingleNode("/PROJECT/MACROS/VERSION").Attribute("other"), std::nullopt);
  EXPECT_EQ(doc.SelectNodes("/PROJECT/MACROS/*").size(), 2u);

  TXmlNode ide = doc.SelectSingleNode("/PROJECT/IDEOPTIONS");
  EXPECT_EQ(ide.FirstTextChild().Data(), "\n[Version Info]\nIncludeVerInfo=1\n");
  ASSERT_EQ(ide.CommentChildren().size(), 1u);
  EXPECT_EQ(ide.CommentChildren()[0].Data(), " saved ");

  doc.SelectSingleNode("/PROJECT/MACROS/VERSION").SetAttribute("value", "a<b & \"c\"");
  ide.FirstTextChild().SetData("\n[Version Info]\nIncludeVerInfo=0 & <more>\n");
  ide.CommentChildren()[0].SetData("changed");
  ide.AppendChild(doc.CreateComment("added"));
  ide.AppendChild(doc.CreateTextNode("tail & <text>"));

  const TXmlDocument again = TXmlDocument::LoadFromText(doc.SaveToText());
  EXPECT_EQ(Describe(again), Describe(doc));
  EXPECT_EQ(again.SelectSingleNode("/PROJECT/MACROS/VERSION").Attribute("value"), "a<b & \"c\"");
  EXPECT_EQ(again.SelectNodes("/PROJECT/IDEOPTIONS/comment()").size(), 2u);
  EXPECT_THROW(doc.SelectNodes("/PROJECT/["), mx::Exception);
}

TEST(XmlDocumentTest, NamespacePrefixesBindForXPath) {
  TXmlDocument doc = TXmlDocument::LoadFromText(
      "<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">"
      "<PropertyGroup "
      "Condition=\"'$(Config)'=='Debug'\"><Version>1</Version></PropertyGroup></Project>");
  EXPECT_TRUE(
      doc.SelectNodes("/Project/PropertyGroup").empty());  // default namespace needs a prefix
  doc.RegisterNamespace("msb", "http://schemas.microsoft.com/developer/msbuild/2003");
  const auto groups = doc.SelectNodes("/msb:Project/msb:PropertyGroup");
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].Attribute("Condition"), "'$(Config)'=='Debug'");
  EXPECT_EQ(doc.SelectSingleNode("//msb:Version/text()").Data(), "1");
}

TEST(XmlDocumentTest, LoadErrorsGiveReasonSourceLineAndNumber) {
  try {
    TXmlDocument::LoadFromText("<?xml version='1.0'?>\n<PROJECT>\n  <MACROS>\n</PROJECT>\n",
                               "bad.bpr");
    FAIL();
  } catch (const EXmlLoadError& e) {
    EXPECT_FALSE(e.Reason().empty());
    EXPECT_EQ(e.Line(), 4);
    EXPECT_EQ(e.SourceText(), "</PROJECT>");
  }
  EXPECT_THROW(TXmlDocument::LoadFromText(""), EXmlLoadError);
  EXPECT_THROW(TXmlDocument::LoadFromFile("/nonexistent/x.bpr"), EFOpenError);
}

TEST(XmlDocumentTest, HostileDocumentsAreRefusedWithAReason) {
  const auto reason = [](const std::string& text) {
    try {
      TXmlDocument::LoadFromText(text, "hostile.xml");
    } catch (const EXmlLoadError& e) {
      return std::to_string(e.Line()) + ": " + e.Reason();
    }
    return std::string("loaded");
  };
  // Nesting deep enough to exhaust the stack of any recursive walk.
  std::string deep;
  for (int i = 0; i < 20000; ++i)
    deep += "<a>";
  for (int i = 0; i < 20000; ++i)
    deep += "</a>";
  EXPECT_EQ(reason(deep), "1: elements are nested more than 256 levels deep");
  // Entities that expand into each other, in an attribute value as in content.
  const std::string laughs =
      "<?xml version='1.0'?>\n<!DOCTYPE r [\n<!ENTITY a 'aaaaaaaaaa'>\n"
      "<!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'>\n]>\n<r x='&b;'>&b;</r>\n";
  EXPECT_EQ(reason(laughs), "3: entity declarations are not allowed (\"a\")");
  // The predefined entities and character references still read as they should.
  EXPECT_EQ(TXmlDocument::LoadFromText("<r x='&lt;&#65;&amp;'/>").DocumentElement().Attribute("x"),
            "<A&");
}

TEST(XmlDocumentTest, CorpusProjectsSurviveLoadAndSave) {
  if (!std::filesystem::exists(kCorpus)) GTEST_SKIP() << "no project corpus at " << kCorpus;
  int checked = 0;
  for (const char* folder : {"bcb56", "bds2006", "cb2007"}) {
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus / folder)) {
      const TXmlDocument doc = TXmlDocument::LoadFromFile(entry.path().string());
      const TXmlDocument again = TXmlDocument::LoadFromText(doc.SaveToText());
      EXPECT_EQ(Describe(again), Describe(doc)) << entry.path();
      ++checked;
    }
  }
  EXPECT_GT(checked, 40);
  for (const auto& entry : std::filesystem::directory_iterator(kCorpus / "bcb56-malformed")) {
    EXPECT_THROW(TXmlDocument::LoadFromFile(entry.path().string()), EXmlLoadError) << entry.path();
  }
}
