#include "StringList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "Exception.h"

using namespace mx::platform;

namespace {
std::vector<std::string> Items(const TStringList& l) {
  return l.Lines();
}
}  // namespace

TEST(StringListTest, SortedAddAppliesDuplicateRule) {
  TStringList l;
  l.SetSorted(true);
  EXPECT_EQ(l.Add("cherry"), 0);
  EXPECT_EQ(l.Add("apple"), 0);
  EXPECT_EQ(l.Add("banana"), 1);
  EXPECT_EQ(Items(l), (std::vector<std::string>{"apple", "banana", "cherry"}));

  // dupIgnore is the default and compares without case: the existing index comes back.
  EXPECT_EQ(l.Add("BANANA"), 1);
  EXPECT_EQ(l.Count(), 3);

  l.SetDuplicates(TDuplicates::dupError);
  EXPECT_THROW(
      {
        try {
          l.Add("Apple");
        } catch (const EStringListError& e) {
          EXPECT_STREQ(e.what(), "String list does not allow duplicates");
          throw;
        }
      },
      EStringListError);

  // dupAccept puts the new item before the equal ones.
  l.SetDuplicates(TDuplicates::dupAccept);
  EXPECT_EQ(l.Add("Banana"), 1);
  EXPECT_EQ(Items(l), (std::vector<std::string>{"apple", "Banana", "banana", "cherry"}));
}

TEST(StringListTest, LongSortedListsMatchOneByOneBinaryInsertion) {
  // The reference: a plain vector kept in order with the standard library. An item goes before
  // the items equal to it, and with dupIgnore an equal item's index comes back instead.
  struct Reference {
    std::vector<std::string> items;
    TDuplicates dups;
    bool caseSensitive;
    int Add(const std::string& s) {
      TStringList rules;
      rules.SetCaseSensitive(caseSensitive);
      const auto less = [&rules](const std::string& a, const std::string& b) {
        return rules.CompareStrings(a, b) < 0;
      };
      const auto at = std::lower_bound(items.begin(), items.end(), s, less);
      const bool found = at != items.end() && !less(s, *at);
      const int index = static_cast<int>(at - items.begin());
      if (found && dups == TDuplicates::dupIgnore) return index;
      if (found && dups == TDuplicates::dupError) return -1;
      items.insert(at, s);
      return index;
    }
  };
  unsigned seed = 12345;
  const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFF; };
  for (const auto dups : {TDuplicates::dupIgnore, TDuplicates::dupAccept, TDuplicates::dupError}) {
    for (const bool caseSensitive : {false, true}) {
      Reference ref{{}, dups, caseSensitive};
      TStringList list;
      list.SetCaseSensitive(caseSensitive);
      list.SetDuplicates(dups);
      list.SetSorted(true);
      for (int i = 0; i < 3000; ++i) {
        std::string s = "-L" + std::to_string(next() % 700);
        if (next() % 2) s[1] = 'l';  // case variants
        const int expected = ref.Add(s);
        if (expected < 0) {
          EXPECT_THROW(list.Add(s), EStringListError);
        } else {
          ASSERT_EQ(list.Add(s), expected) << i;
        }
        if (i % 997 == 0) {
          ASSERT_EQ(list.Lines(), ref.items);  // reads in between
        }
      }
      EXPECT_EQ(list.Count(), static_cast<int>(ref.items.size()));
      EXPECT_EQ(list.Lines(), ref.items);
    }
  }
}

TEST(StringListTest, CaseSensitiveSortingUsesByteOrderAndKeepsCaseVariants) {
  TStringList l;
  l.SetCaseSensitive(true);
  l.SetSorted(true);
  for (const char* s : {"-v", "-ap", "-Gz", "-v", "-D", "-c"})
    l.Add(s);
  EXPECT_EQ(Items(l), (std::vector<std::string>{"-D", "-Gz", "-ap", "-c", "-v"}));
  EXPECT_EQ(l.IndexOf("-gz"), -1);
  EXPECT_EQ(l.IndexOf("-Gz"), 1);
}

TEST(StringListTest, SortedListsRejectPositionalEdits) {
  TStringList l("b\na\n");
  EXPECT_EQ(Items(l), (std::vector<std::string>{"b", "a"}));
  l.SetSorted(true);
  EXPECT_EQ(Items(l), (std::vector<std::string>{"a", "b"}));
  EXPECT_THROW(l.Insert(0, "c"), EStringListError);
  EXPECT_THROW(l.SetStrings(0, "c"), EStringListError);
  // Turning sorting off keeps the order; later adds append.
  l.SetSorted(false);
  l.Add("0");
  EXPECT_EQ(Items(l), (std::vector<std::string>{"a", "b", "0"}));
  try {
    l.Delete(3);
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (3)");
  }
}

TEST(StringListTest, CaseSensitivityGuardRestoresSetting) {
  TStringList l("Alpha\nalpha\n");
  EXPECT_EQ(l.IndexOf("alpha"), 0);
  {
    TCaseSensitivityGuard guard(l, true);
    EXPECT_EQ(l.IndexOf("alpha"), 1);
  }
  EXPECT_FALSE(l.CaseSensitive());
  EXPECT_EQ(l.IndexOf("alpha"), 0);
}

TEST(StringListTest, NameValueAccess) {
  TStringList l("Key=Value\nKey = Spaced\na=1=2\na=3\nplain\n=x\n");
  EXPECT_EQ(l.Values("KEY"), "Value");
  EXPECT_EQ(l.Values("Key "), " Spaced");
  EXPECT_EQ(l.Values("a"), "1=2");  // first "=" splits, first match wins
  EXPECT_EQ(l.Names(4), "");
  EXPECT_EQ(l.IndexOfName("plain"), -1);
  EXPECT_EQ(l.IndexOfName(""), 5);
  EXPECT_EQ(l.ValueFromIndex(4), "");

  l.SetValue("key", "2");  // caller's spelling replaces the stored one
  EXPECT_EQ(l[0], "key=2");
  l.SetValue("a", "");  // empty value deletes the first line of that name
  EXPECT_EQ(l.Values("a"), "3");
  l.SetValue("absent", "");  // deleting an absent name is a no-op
  l.SetValue("New", "9");
  EXPECT_EQ(l[l.Count() - 1], "New=9");
  EXPECT_EQ(l.Count(), 6);
}

TEST(StringListTest, TextSplitsAnyLineBreakAndWritesCrLf) {
  struct Case {
    std::string text;
    std::vector<std::string> items;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\n\r\n", {"a", ""}},
      {"\r\n", {""}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\r\rb", {"a", "", "b"}},
  };
  for (const auto& c : cases) {
    TStringList l;
    l.SetText(c.text);
    EXPECT_EQ(Items(l), c.items) << "text: " << c.text;
  }
  EXPECT_EQ(TStringList("a\nb").Text(), "a\r\nb\r\n");
  EXPECT_EQ(TStringList("\n").Text(), "\r\n");
  EXPECT_EQ(TStringList().Text(), "");
}

TEST(StringListTest, FilesRoundTripAndMissingFileNamesThePath) {
  const auto dir = std::filesystem::temp_directory_path() / "mx_stringlist_test";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "list.txt").string();
  {
    std::ofstream out(path, std::ios::binary);
    out << "\xEF\xBB\xBF"
           "-wpar=Parameter never used\n-waus=Assigned but never used";
  }
  TStringList l;
  l.LoadFromFile(path);
  EXPECT_EQ(l.Count(), 2);
  EXPECT_EQ(l.Names(0), "-wpar");
  l.SaveToFile(path);
  {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, "-wpar=Parameter never used\r\n-waus=Assigned but never used\r\n");
  }

  const std::string missing = (dir / "missing.txt").string();
  try {
    l.LoadFromFile(missing);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + missing + "\". ", 0), 0u)
        << e.what();
  }
  std::filesystem::remove_all(dir);
}
