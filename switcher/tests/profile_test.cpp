#include "profile.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "fake_file_system.h"

namespace {

using namespace std::string_literals;
using settings::kMaxValueBytes;
using settings::ProfileRead;
using settings::ProfileWrite;

struct ReadCase {
  const char* what;
  std::string file;
  const char* section;
  const char* key;
  std::string expected;  // the default is "DEF"
};

TEST(ProfileRead, FollowsTheProfileFormatsReadingRules) {
  const ReadCase cases[] = {
      {"plain entry", "[s]\r\nk=v\r\n", "s", "k", "v"},
      {"section and key in any ASCII case", "[Sec]\r\nKey=v\r\n", "sEC", "kEY", "v"},
      {"blanks around name and value", "  [ s ]  \r\n\t k \t=  v w \t\r\n", "s", "k", "v w"},
      {"blanks around the names asked for", "[s]\r\nk=v\r\n", " s ", " k ", "v"},
      {"double quotes dropped", "[s]\r\nk=\" v \"\r\n", "s", "k", " v "},
      {"single quotes dropped", "[s]\r\nk=' v '\r\n", "s", "k", " v "},
      {"a lone quote stays", "[s]\r\nk=\"\r\n", "s", "k", "\""},
      {"unmatched quotes stay", "[s]\r\nk=\"v'\r\n", "s", "k", "\"v'"},
      {"empty quotes give an empty value", "[s]\r\nk=\"\"\r\n", "s", "k", ""},
      {"empty value is not the default", "[s]\r\nk=\r\n", "s", "k", ""},
      {"value after the first equals sign", "[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
      {"missing key", "[s]\r\nother=v\r\n", "s", "k", "DEF"},
      {"missing section", "[t]\r\nk=v\r\n", "s", "k", "DEF"},
      {"empty file", "", "s", "k", "DEF"},
      {"key of another section", "[s]\r\n[t]\r\nk=v\r\n", "s", "k", "DEF"},
      {"line without equals sign is no entry", "[s]\r\nk\r\n", "s", "k", "DEF"},
      {"comment line is no entry", "[s]\r\n;k=v\r\n", "s", "k", "DEF"},
      {"first of duplicate keys", "[s]\r\nk=1\r\nk=2\r\n", "s", "k", "1"},
      {"only the first of duplicate sections", "[s]\r\na=1\r\n[s]\r\nk=2\r\n", "s", "k", "DEF"},
      {"LF line ends", "[s]\nk=v\n", "s", "k", "v"},
      {"CR line ends", "[s]\rk=v\r", "s", "k", "v"},
      {"no line end at the end", "[s]\r\nk=v", "s", "k", "v"},
      {"name runs to the last bracket", "[a]b]\r\nk=v\r\n", "a]b", "k", "v"},
      {"text after the bracket ignored", "[s] note\r\nk=v\r\n", "s", "k", "v"},
      {"unclosed bracket is no section line", "[s]\r\n[t\r\nk=v\r\n", "s", "k", "v"},
      {"keys above the first section", "k=v\r\n[s]\r\n", "", "k", "v"},
      {"UTF-8 mark before the first section", "\xEF\xBB\xBF[s]\r\nk=v\r\n", "s", "k", "v"},
      {"UTF-16 file is not read", "\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0v\0"s, "s", "k", "DEF"},
      {"NUL ends the value", "[s]\r\nk=ab\0cd\r\n"s, "s", "k", "ab"},
      {"Japanese section and key", "[全般]\r\nタイトル=メイン垢\r\n", "全般", "タイトル", "メイン垢"},
      // 0x83 0x41 "ア" and 0x83 0x61 "ヂ" differ only in what would be the case of an ASCII letter.
      {"second bytes are not letters", "[ア]\r\nk=v\r\n", "ヂ", "k", "DEF"},
      {"second bytes in keys", "[s]\r\nア=v\r\n", "s", "ヂ", "DEF"},
      // 0x81 0x5D is "]"-like as a second byte: the name still runs to the real bracket.
      {"bracket byte inside a character", "[\x81\x5D]\r\nk=v\r\n", "\x81\x5D", "k", "v"},
      {"full-width blank is kept", "[s]\r\nk=　v　\r\n", "s", "k", "　v　"},
  };
  for (const ReadCase& c : cases) {
    EXPECT_EQ(ProfileRead(c.file, c.section, c.key, "DEF"), c.expected) << c.what;
  }
}

TEST(ProfileRead, CutsValuesAndDefaultsTo63BytesWithoutSplittingACharacter) {
  const std::string ascii70(70, 'a');
  EXPECT_EQ(ProfileRead("[s]\r\nk=" + ascii70 + "\r\n", "s", "k", ""), std::string(kMaxValueBytes, 'a'));
  EXPECT_EQ(ProfileRead("", "s", "k", ascii70), std::string(kMaxValueBytes, 'a'));
  // Quotes come off before the cut: the 63 bytes are all the value's own.
  EXPECT_EQ(ProfileRead("[s]\r\nk=\"" + ascii70 + "\"\r\n", "s", "k", ""), std::string(kMaxValueBytes, 'a'));

  std::string kana;  // 35 double-byte characters, 70 bytes: 31 whole ones fit
  for (int i = 0; i < 35; ++i) kana += "ア";
  EXPECT_EQ(ProfileRead("[s]\r\nk=" + kana + "\r\n", "s", "k", ""), kana.substr(0, 62));
  EXPECT_EQ(ProfileRead("", "s", "k", kana), kana.substr(0, 62));
  EXPECT_EQ(ProfileRead("[s]\r\nk=a" + kana + "\r\n", "s", "k", ""), "a" + kana.substr(0, 62));
  // Half-width katakana are single bytes.
  const std::string halfWidth(70, '\xB1');
  EXPECT_EQ(ProfileRead("[s]\r\nk=" + halfWidth + "\r\n", "s", "k", ""), halfWidth.substr(0, 63));
}

struct WriteCase {
  const char* what;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};

TEST(ProfileWrite, EditsOneLineAndKeepsEveryOtherByte) {
  const WriteCase cases[] = {
      {"creates the file's first section", "", "s", "k", "v", "[s]\r\nk=v\r\n"},
      {"rewrites a key in place", "[s]\r\na=1\r\nk=old\r\nb=2\r\n", "s", "k", "new",
       "[s]\r\na=1\r\nk=new\r\nb=2\r\n"},
      {"keeps the key's spelling and line end", "; c\n[S]\n  Key = old  \n", "s", "key", "v", "; c\n[S]\nKey=v\n"},
      {"adds a key after the section's last line", "[s]\r\na=1\r\n;note\r\n\r\n[t]\r\n", "s", "k", "v",
       "[s]\r\na=1\r\n;note\r\nk=v\r\n\r\n[t]\r\n"},
      {"adds a key to a section at the end without line end", "[s]\r\na=1", "s", "k", "v",
       "[s]\r\na=1\r\nk=v\r\n"},
      {"adds a section at the end", "[s]\r\na=1\r\n", "t", "k", "v", "[s]\r\na=1\r\n[t]\r\nk=v\r\n"},
      {"ends an unfinished last line first", "[s]\na=1", "t", "k", "v", "[s]\na=1\r\n[t]\r\nk=v\r\n"},
      {"writes an empty value as key=", "", "s", "k", "", "[s]\r\nk=\r\n"},
      {"writes values as given", "[s]\r\nk=1\r\n", "s", "k", " on ", "[s]\r\nk= on \r\n"},
      {"writes to the first of duplicate sections", "[s]\r\n[s]\r\nk=1\r\n", "s", "k", "2",
       "[s]\r\nk=2\r\n[s]\r\nk=1\r\n"},
      {"leaves a line without equals sign alone", "[s]\r\nk\r\n", "s", "k", "v", "[s]\r\nk\r\nk=v\r\n"},
      {"keeps the UTF-8 mark", "\xEF\xBB\xBF", "s", "k", "v", "\xEF\xBB\xBF[s]\r\nk=v\r\n"},
      {"cuts the value at a line break", "", "s", "k", "a\r\nb=c", "[s]\r\nk=a\r\n"},
      {"trims the names", "", " s ", " k ", "v", "[s]\r\nk=v\r\n"},
      {"keeps odd bytes of other lines", "\x01\xFF\x80[x\0y]\r\n[s]\r\n"s, "s", "k", "v",
       "\x01\xFF\x80[x\0y]\r\n[s]\r\nk=v\r\n"s},
      {"Japanese names and values", "[全般]\r\ntitle1=1垢\r\n", "全般", "title1", "メイン",
       "[全般]\r\ntitle1=メイン\r\n"},
  };
  for (const WriteCase& c : cases) {
    const std::optional<std::string> after = ProfileWrite(c.before, c.section, c.key, c.value);
    ASSERT_TRUE(after.has_value()) << c.what;
    EXPECT_EQ(*after, c.after) << c.what;
  }
}

TEST(ProfileWrite, RefusesNamesThatCouldNotBeReadBack) {
  for (const auto& [section, key] : std::map<std::string, std::string>{
           {"", "k"}, {"s", ""}, {"  ", "k"}, {"a\nb", "k"}, {"s", "a\rb"}, {"s", "a=b"}, {"s", "[k]"}}) {
    EXPECT_FALSE(ProfileWrite("", section, key, "v").has_value()) << section << " / " << key;
  }
  EXPECT_FALSE(ProfileWrite("\xFF\xFE[\0", "s", "k", "v").has_value()) << "UTF-16 file";
}

TEST(ProfileWrite, GivesWhatAReadReturns) {
  std::string file;
  const char* values[] = {"", " lead", "trail ", "\"quoted\"", "a=b", "　全角　", "x"};
  for (const char* value : values) {
    file = *ProfileWrite(file, "貼付", "01PASS", value);
    file = *ProfileWrite(file, "計算", "keisan1", "30");
    EXPECT_EQ(ProfileRead(file, "貼付", "01PASS", "DEF"), ProfileRead(std::string("[x]\r\nk=") + value, "x", "k", ""));
  }
  EXPECT_EQ(file, "[貼付]\r\n01PASS=x\r\n[計算]\r\nkeisan1=30\r\n");
}

TEST(ProfileValueFor, ReadsBackExactlyAndIsTheRawValueOfItsLine) {
  const char* values[] = {"", "pw", " lead", "trail ", "\"quoted\"", "'single'", "\"", "\"half", " \"both\" ",
                          "\t", "　全角　", "a \" b"};
  for (const char* value : values) {
    const std::string file = *ProfileWrite("", "貼付", "01PASS", settings::ProfileValueFor(value));
    EXPECT_EQ(ProfileRead(file, "貼付", "01PASS", "DEF"), value) << file;
    EXPECT_EQ(settings::ProfileRawValue(file, "貼付", "01PASS"), settings::ProfileValueFor(value)) << file;
  }
  EXPECT_EQ(settings::ProfileValueFor("pw"), "pw");  // what needs no quotes gets none
  EXPECT_EQ(settings::ProfileRawValue("[貼付]\r\n01PASS = pw \r\n", "貼付", "01PASS"), " pw ");
  EXPECT_EQ(settings::ProfileRawValue("[貼付]\r\n", "貼付", "01PASS"), std::nullopt);
}

// Random files built from the format's awkward pieces: a write must read back, and must not
// change what any other key reads.
TEST(ProfileWrite, ReadsBackAndLeavesOtherKeysAloneOnRandomFiles) {
  const std::vector<std::string> pieces = {
      "[s]", "[S]", "[t]", "[ s ]", "[s", "]", "k", "K", "j", "ア", "ヂ", "=", "=v", " ", "\t", "\"", "'",
      ";", "\r\n", "\n", "\r", "\x81", "\0", "\xEF\xBB\xBF", "値", "\x1a"};
  const std::vector<std::string> sections = {"s", "t", "ア", ""};
  const std::vector<std::string> keys = {"k", "j", "ア", "ヂ", ""};
  std::mt19937 random(20261207);
  for (int round = 0; round < 3000; ++round) {
    std::string file;
    for (int n = std::uniform_int_distribution<int>(0, 30)(random); n > 0; --n) {
      file += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
    }
    const std::string section = sections[round % 3];  // never the nameless one
    const std::string key = keys[(round / 3) % 4];
    const std::string value = round % 5 == 0 ? "" : "新" + std::to_string(round);
    const std::optional<std::string> after = ProfileWrite(file, section, key, value);
    ASSERT_TRUE(after.has_value());
    ASSERT_EQ(ProfileRead(*after, section, key, "DEF"), value) << testing::PrintToString(file);
    for (const std::string& s : sections) {
      for (const std::string& k : keys) {
        if (s == section && k == key) continue;
        EXPECT_EQ(ProfileRead(*after, s, k, "DEF"), ProfileRead(file, s, k, "DEF"))
            << testing::PrintToString(file) << " wrote [" << section << "] " << key << ", read [" << s << "] " << k;
      }
    }
  }
}

// The settings dialog's first OK with no file, then a switch to slot 3, gives this file.
TEST(ProfileWrite, BuildsTheSettingsFileOfAFirstSaveByteForByte) {
  struct Entry {
    const char* section;
    const char* key;
    const char* value;
  };
  const Entry entries[] = {
      {"全般", "title1", "1垢"}, {"全般", "title2", "2垢"}, {"全般", "title3", "3垢"},
      {"全般", "title4", "4垢"}, {"全般", "title5", "5垢"}, {"全般", "title6", "6垢"},
      {"全般", "exepath", "1"}, {"全般", "UserExeName", "指定ソフト"}, {"全般", "UserExePath", ""},
      {"計算", "keisan1", "30"}, {"計算", "keisan2", "30"}, {"計算", "keisan3", "30"},
      {"計算", "keisanmei1", "武器修理"}, {"計算", "keisanmei2", "防具修理"}, {"計算", "keisanmei3", "鑑定"},
      {"計算", "freedefult", "10"}, {"貼付", "01ID", ""}, {"貼付", "01PASS", ""}, {"貼付", "01KEY", ""},
      {"貼付", "speed", "5"}, {"貼付", "message", "on "}, {"全般", "setdata", "3"},
  };
  std::string file;
  for (const Entry& e : entries) file = *ProfileWrite(file, e.section, e.key, e.value);
  EXPECT_EQ(file,
            "[全般]\r\ntitle1=1垢\r\ntitle2=2垢\r\ntitle3=3垢\r\ntitle4=4垢\r\ntitle5=5垢\r\ntitle6=6垢\r\n"
            "exepath=1\r\nUserExeName=指定ソフト\r\nUserExePath=\r\nsetdata=3\r\n"
            "[計算]\r\nkeisan1=30\r\nkeisan2=30\r\nkeisan3=30\r\nkeisanmei1=武器修理\r\nkeisanmei2=防具修理\r\n"
            "keisanmei3=鑑定\r\nfreedefult=10\r\n"
            "[貼付]\r\n01ID=\r\n01PASS=\r\n01KEY=\r\nspeed=5\r\nmessage=on \r\n");
}

struct ProfileFileTest : ::testing::Test {
  fake::FileSystem files;
  settings::ProfileFile profile{files, "/game/VRND.INI"};
};

TEST_F(ProfileFileTest, ReadsAfreshEveryTime) {
  EXPECT_EQ(profile.Get("s", "k", "d"), "d");
  files.Ini() = "[s]\r\nk=1\r\n";
  EXPECT_EQ(profile.Get("s", "k", "d"), "1");
  files.Ini() = "[s]\r\nk=2\r\n";
  EXPECT_EQ(profile.Get("s", "k", "d"), "2");
}

TEST_F(ProfileFileTest, CreatesAMissingFile) {
  EXPECT_TRUE(profile.Set("s", "k", "v"));
  EXPECT_EQ(files.Ini(), "[s]\r\nk=v\r\n");
}

TEST_F(ProfileFileTest, NeverReplacesAFileItCouldNotRead) {
  // Held by another program (unreadable), then beyond the size cap (too large).
  files.locked.insert(profile.Path());
  EXPECT_EQ(profile.Get("s", "k", "d"), "d");
  EXPECT_FALSE(profile.Set("s", "k", "v"));
  files.locked.clear();
  files.Ini() = "[s]\r\nk=1\r\n" + std::string(settings::kMaxFileBytes, ';');
  EXPECT_EQ(profile.Get("s", "k", "d"), "d");
  EXPECT_FALSE(profile.Set("s", "k", "v"));
  EXPECT_EQ(files.replaces, 0);
}

TEST_F(ProfileFileTest, TreatsFilesBeyondTheCapAsTooLarge) {
  std::string big = "[s]\r\nk=v\r\n;" + std::string(settings::kMaxFileBytes, 'x');
  files.Ini() = big;
  EXPECT_EQ(profile.Get("s", "k", "d"), "d");
  EXPECT_FALSE(profile.Set("s", "k", "w"));
  EXPECT_EQ(files.replaces, 0);
}

TEST_F(ProfileFileTest, RefusesAWriteThatWouldGrowTheFileBeyondTheCap) {
  const std::string nearlyFull = "[s]\r\n;" + std::string(settings::kMaxFileBytes - 8, 'x');
  files.Ini() = nearlyFull;
  EXPECT_FALSE(profile.Set("s", "key", "value"));
  EXPECT_EQ(files.Ini(), nearlyFull);
}

TEST_F(ProfileFileTest, ReportsAFailedReplace) {
  files.refuseWrites = true;
  EXPECT_FALSE(profile.Set("s", "k", "v"));
}

TEST_F(ProfileFileTest, SkipsTheWriteWhenTheValueIsUnchanged) {
  files.Ini() = "[s]\r\n k = v \r\n";
  EXPECT_TRUE(profile.Set("S", "K", "v"));
  EXPECT_EQ(files.replaces, 0);
  EXPECT_EQ(files.Ini(), "[s]\r\n k = v \r\n");
}

}  // namespace
