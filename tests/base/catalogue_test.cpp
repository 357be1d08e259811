// Reading PO files, and which texts a user's languages get.
#include <gtest/gtest.h>

#include "base/catalogue.h"
#include "base/po_file.h"

namespace {

struct PoCase {
  const char* name;
  const char* text;
  Translations expected;
};

TEST(PoFile, KeepsTranslatedEntriesAndDropsTheRest) {
  const PoCase cases[] = {
      {"header", "msgid \"\"\nmsgstr \"Language: en\\n\"\n", {}},
      {"plain", "msgid \"閉じる\"\nmsgstr \"Close\"\n", {{"閉じる", "Close"}}},
      {"CR LF", "msgid \"a\"\r\nmsgstr \"b\"\r\n", {{"a", "b"}}},
      {"continued", "msgid \"\"\n\"a\"\n\"b\"\nmsgstr \"\"\n\"c\\n\"\n\"d\"\n", {{"ab", "c\nd"}}},
      {"escapes", "msgid \"\\\"\\\\\\t\"\nmsgstr \"ok\"\n", {{"\"\\\t", "ok"}}},
      {"untranslated", "msgid \"a\"\nmsgstr \"\"\n", {}},
      {"fuzzy", "#, fuzzy, c-format\nmsgid \"a\"\nmsgstr \"b\"\n\nmsgid \"c\"\nmsgstr \"d\"\n", {{"c", "d"}}},
      {"no blank between", "msgid \"a\"\nmsgstr \"b\"\nmsgid \"c\"\nmsgstr \"d\"\n", {{"a", "b"}, {"c", "d"}}},
      {"comment between", "msgid \"a\"\nmsgstr \"b\"\n#. x\nmsgid \"c\"\nmsgstr \"d\"\n", {{"a", "b"}, {"c", "d"}}},
      {"context", "msgctxt \"x\"\nmsgid \"a\"\nmsgstr \"b\"\n", {}},
      {"plural", "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[0] \"b\"\nmsgstr[1] \"bs\"\n", {}},
      {"obsolete", "#~ msgid \"a\"\n#~ msgstr \"b\"\n", {}},
      {"unknown escape", "msgid \"a\\q\"\nmsgstr \"b\"\n", {}},
      {"unquoted", "msgid a\nmsgstr \"b\"\n", {}},
      {"open quote", "msgid \"a\nmsgstr \"b\"\n", {}},
      {"stray quote", "msgid \"a\"b\"\nmsgstr \"b\"\n", {}},
      {"unknown keyword", "msgid \"a\"\nmsgstring \"b\"\n", {}},
      {"no newline at end", "msgid \"a\"\nmsgstr \"b\"", {{"a", "b"}}},
      {"broken one, good next", "msgid \"a\\\nmsgstr \"b\"\n\nmsgid \"c\"\nmsgstr \"d\"\n", {{"c", "d"}}},
  };
  for (const PoCase& c : cases) EXPECT_EQ(ReadPoFile(c.text), c.expected) << c.name;
}

TEST(Catalogue, ChoosesByTheFirstLanguageItKnows) {
  const struct {
    std::vector<std::string> preferences;
    const char* expected;
  } cases[] = {
      {{"C"}, ""},
      {{"POSIX"}, ""},
      {{"C.UTF-8"}, ""},
      {{"ja_JP.UTF-8"}, ""},
      {{"ja"}, ""},
      {{"en_US.UTF-8"}, "en"},
      {{"en_GB@euro"}, "en"},
      {{"de_DE.UTF-8"}, "en"},
      {{"fr", "ja"}, ""},
      {{"fr", "en", "ja"}, "en"},
      {{"jam"}, "en"},
      {{}, "en"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UseLanguage(c.preferences), c.expected) << ::testing::PrintToString(c.preferences);
    EXPECT_EQ(LanguageInUse(), c.expected);
  }
  UseLanguage({"C"});
}

TEST(Catalogue, TextsStayValidWhenTheLanguageChanges) {
  UseLanguage({"en"});
  const char* english = Tr("閉じる");
  EXPECT_STREQ(english, "Close");
  EXPECT_STREQ(Tr("no such text"), "no such text");
  UseLanguage({"C"});
  EXPECT_STREQ(Tr("閉じる"), "閉じる");
  UseLanguage({"en"});
  EXPECT_EQ(Tr("閉じる"), english);
  UseLanguage({"C"});
}

TEST(Catalogue, FillsEachPlaceInTurn) {
  EXPECT_EQ(Fill("%sと%s", {"a", "b"}), "aとb");
  EXPECT_EQ(Fill("%s%s%s", {"a"}), "a%s%s");
  EXPECT_EQ(Fill("100%", {"a"}), "100%");
  EXPECT_EQ(Fill("%%s", {"a"}), "%a");
}

}  // namespace
