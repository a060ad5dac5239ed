// Our profile reader and writer against the system's own GetPrivateProfileStringA and
// WritePrivateProfileStringA (Wine's, when run under Wine), on files that people and editors
// really produce. Reads must agree; writes must read back alike and, on files in the writer's
// own format, give the same bytes. Where we differ on purpose, a test says so and why.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "profile.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using settings::kMaxValueBytes;
using settings::ProfileRead;
using settings::ProfileWrite;

constexpr UINT kShiftJisCodePage = 932;

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The system's reader with the programs' 64-byte buffer. The buffer starts zeroed: when a
// double-byte character does not fit, the system leaves the buffer's byte 62 as it was (see
// ReferenceDifferences.SystemCutCanLeaveAStrayByte), and zero makes that an end of string.
std::string SystemRead(const fs::path& file, const std::string& section, const std::string& key,
                       const std::string& def = "DEF") {
  std::array<char, kMaxValueBytes + 1> buffer{};
  GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(),
                           static_cast<DWORD>(buffer.size()), file.string().c_str());
  return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

bool SystemWrite(const fs::path& file, const std::string& section, const std::string& key, const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.string().c_str()) != 0;
}

struct Query {
  std::string section;
  std::string key;
};

struct CorpusFile {
  const char* what;
  std::string bytes;
  std::vector<Query> queries;
};

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

// Awkward but well-formed Shift-JIS files.
std::vector<CorpusFile> Corpus() {
  const std::string ascii70(70, 'x');
  const std::string kana35 = Repeat("ア", 35);
  return {
      {"blanks around names and equals signs",
       "[s]\r\n  a=1\r\nb =2\r\nc= 3\r\n\td\t=\t4\t\r\n e = five six \r\n",
       {{"s", "a"}, {"s", "b"}, {"s", "c"}, {"s", "d"}, {"s", "e"}, {" s ", " e "}}},
      {"quotes", "[s]\r\nq1=\" lead\"\r\nq2=\"\"\r\nq3=\"\r\nq4=\"a\"b\"\r\nq5=\"open\r\nq6='single'\r\nq7=\"mixed'\r\n"
                 "q8= \" spaced \" \r\n",
       {{"s", "q1"}, {"s", "q2"}, {"s", "q3"}, {"s", "q4"}, {"s", "q5"}, {"s", "q6"}, {"s", "q7"}, {"s", "q8"}}},
      {"comments and odd lines",
       "; header comment\r\n[s]\r\n;k=commented\r\nno equals sign here\r\n# hash\r\n\r\nk=real\r\n=no name\r\n",
       {{"s", "k"}, {"s", ";k"}, {"s", ""}, {"s", "no"}}},
      {"duplicate sections and keys", "[s]\r\nk=first\r\nk=second\r\n[t]\r\nk=t\r\n[S]\r\nk=third\r\nonly=later\r\n",
       {{"s", "k"}, {"S", "K"}, {"t", "k"}, {"s", "only"}}},
      {"no line end at the end", "[s]\r\na=1\r\nk=last", {{"s", "a"}, {"s", "k"}}},
      {"LF line ends", "[s]\na=1\n[t]\nk=2\n", {{"s", "a"}, {"t", "k"}, {"s", "k"}}},
      {"CR line ends", "[s]\ra=1\r[t]\rk=2\r", {{"s", "a"}, {"t", "k"}}},
      {"lone CR inside LF lines", "[s]\na=1\rb=2\nc=3\n", {{"s", "a"}, {"s", "b"}, {"s", "c"}}},
      {"blank-line noise", "\r\n\r\n[s]\r\n\r\n\r\nk=v\r\n\r\n", {{"s", "k"}}},
      {"long values",
       "[s]\r\nascii=" + ascii70 + "\r\nkana=" + kana35 + "\r\nmixed=a" + kana35 + "\r\nquoted=\"" + ascii70 +
           "\"\r\nhalf=" + std::string(70, '\xB1') + "\r\nexact=" + std::string(63, 'y') + "\r\n",
       {{"s", "ascii"}, {"s", "kana"}, {"s", "mixed"}, {"s", "quoted"}, {"s", "half"}, {"s", "exact"}}},
      {"Japanese sections, keys and values",
       "[全般]\r\ntitle1=メイン垢\r\nタイトル=値\r\n[ゲーム表示]\r\nソフト=表\r\n[ア]\r\nk=a\r\n",
       {{"全般", "title1"}, {"全般", "タイトル"}, {"ゲーム表示", "ソフト"}, {"ア", "k"}, {"ヂ", "k"}, {"全般", "TITLE1"}}},
      {"full-width blanks are not trimmed", "[s]\r\nk=　値　\r\n　j　=1\r\n", {{"s", "k"}, {"s", "j"}, {"s", "　j　"}}},
      {"brackets", "[ spaced ]\r\na=1\r\n[b]trailing text\r\nb=2\r\n[c]]\r\nc=3\r\n[d\r\nd=4\r\n [e] \r\ne=5\r\n",
       {{"spaced", "a"}, {" spaced ", "a"}, {"b", "b"}, {"c]", "c"}, {"c", "c"}, {"c]", "d"}, {"[d", "d"}, {"e", "e"}}},
      {"keys above the first section", "top=1\r\n[s]\r\nk=2\r\n", {{"", "top"}, {"s", "top"}, {"s", "k"}}},
      {"ASCII case", "[General]\r\nTitle1=v\r\n", {{"general", "title1"}, {"GENERAL", "TITLE1"}}},
      {"full-width letters keep their case", "[s]\r\nＩＤ=1\r\n", {{"s", "ＩＤ"}, {"s", "ｉｄ"}}},
      {"blank characters", "[s]\r\na=\v\fx\x1a\r\nb=\x1cy\r\n", {{"s", "a"}, {"s", "b"}}},
      {"the settings file of a first save",
       "[全般]\r\ntitle1=1垢\r\ntitle2=2垢\r\nexepath=1\r\nUserExeName=指定ソフト\r\nUserExePath=\r\nsetdata=3\r\n"
       "[計算]\r\nkeisan1=30\r\nkeisanmei1=武器修理\r\nfreedefult=10\r\n[貼付]\r\n01ID=\r\nspeed=5\r\nmessage=on \r\n",
       {{"全般", "title1"}, {"全般", "UserExePath"}, {"全般", "windowname"}, {"計算", "keisanmei1"}, {"貼付", "message"},
        {"貼付", "01ID"}, {"貼付", "02ID"}}},
      {"a quoted title beginning with a blank", "[全般]\r\ntitle1=\" 名前\"\r\n", {{"全般", "title1"}}},
  };
}

class ProfileReferenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), kShiftJisCodePage)
        << "The reference needs the Japanese ANSI code page 932. Under Wine, run with LANG=ja_JP.UTF-8 "
           "and generate that locale first (ja_JP.UTF-8 UTF-8 in /etc/locale.gen, then locale-gen).";
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_folder = fs::temp_directory_path() /
              ("profile-reference-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(GetTickCount64()) + "-" + info->name());
    fs::create_directories(m_folder);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
  }

  // A file of its own name for every content: the system caches profiles by name.
  fs::path NewFile(const std::string& bytes) {
    const fs::path path = NewName();
    WriteBytes(path, bytes);
    return path;
  }
  fs::path NewName() { return m_folder / (std::to_string(m_files++) + ".ini"); }

 private:
  fs::path m_folder;
  int m_files = 0;
};

TEST_F(ProfileReferenceTest, ReadsAgreeOnAwkwardFiles) {
  for (const CorpusFile& file : Corpus()) {
    const fs::path path = NewFile(file.bytes);
    for (const Query& q : file.queries) {
      EXPECT_EQ(ProfileRead(file.bytes, q.section, q.key, "DEF"), SystemRead(path, q.section, q.key))
          << file.what << ": [" << q.section << "] " << q.key;
    }
  }
}

TEST_F(ProfileReferenceTest, MissingFilesSectionsAndKeysGiveTheDefaultCutAlike) {
  const fs::path none = NewName();
  const fs::path file = NewFile("[s]\r\nk=v\r\n");
  for (const std::string& def : {""s, "1垢"s, "CROSS GATE TOOL [ Varndell ]"s, " "s, std::string(70, 'd'),
                                Repeat("鑑", 35), "d"s.append(Repeat("鑑", 35))}) {
    EXPECT_EQ(ProfileRead("", "s", "k", def), SystemRead(none, "s", "k", def)) << def;
    EXPECT_EQ(ProfileRead("[s]\r\nk=v\r\n", "t", "k", def), SystemRead(file, "t", "k", def)) << def;
    EXPECT_EQ(ProfileRead("[s]\r\nk=v\r\n", "s", "x", def), SystemRead(file, "s", "x", def)) << def;
  }
}

// After the same write to the same awkward file, every key reads the same from both results,
// whichever reader reads them. (The bytes differ: the system rewrites the whole file.)
TEST_F(ProfileReferenceTest, WritesToAwkwardFilesReadBackAlike) {
  for (const CorpusFile& file : Corpus()) {
    for (const Query& target : file.queries) {
      if (target.section.empty() || target.key.empty()) continue;
      for (const std::string& value : {"新しい値"s, ""s, "\" quoted \""s}) {
        const std::optional<std::string> ours = ProfileWrite(file.bytes, target.section, target.key, value);
        ASSERT_TRUE(ours.has_value()) << file.what;
        const fs::path oursPath = NewFile(*ours);
        const fs::path systemPath = NewFile(file.bytes);
        ASSERT_TRUE(SystemWrite(systemPath, target.section, target.key, value));
        const std::string systemBytes = ReadBytes(systemPath);
        std::vector<Query> queries = file.queries;
        queries.push_back({target.section, "absent"});
        for (const Query& q : queries) {
          const std::string expected = SystemRead(systemPath, q.section, q.key);
          const std::string context =
              std::string(file.what) + ": wrote [" + target.section + "] " + target.key + "=" + value +
              ", read [" + q.section + "] " + q.key;
          EXPECT_EQ(SystemRead(oursPath, q.section, q.key), expected) << context;
          EXPECT_EQ(ProfileRead(*ours, q.section, q.key, "DEF"), expected) << context;
          EXPECT_EQ(ProfileRead(systemBytes, q.section, q.key, "DEF"), expected) << context;
        }
      }
    }
  }
}

struct Write {
  const char* section;
  const char* key;
  std::string value;
};

// On files in the writer's own format (CR LF, no blanks, one line per entry) both writers
// produce the same bytes, write after write.
TEST_F(ProfileReferenceTest, WritesGiveTheSameBytesOnFilesInTheWritersOwnFormat) {
  const std::vector<Write> writes = {
      {"全般", "title1", "1垢"},       {"全般", "title2", "2垢"},        {"全般", "exepath", "1"},
      {"全般", "UserExeName", "指定ソフト"}, {"全般", "UserExePath", ""},   {"計算", "keisan1", "30"},
      {"計算", "keisanmei1", "武器修理"}, {"計算", "freedefult", "10"},     {"貼付", "01ID", ""},
      {"貼付", "01PASS", ""},          {"貼付", "speed", "5"},           {"貼付", "message", "off"},
      {"全般", "setdata", "3"},        {"全般", "title1", "メイン"},     {"計算", "keisan1", "1234567"},
      {"貼付", "01ID", "player01"},    {"全般", "title2", ""},           {"全般", "TITLE2", "大文字"},
      {"新", "key", std::string(100, 'z')},                              {"貼付", "speed", "10"},
  };
  const fs::path systemPath = NewName();
  std::string ours;
  for (const Write& w : writes) {
    ASSERT_TRUE(SystemWrite(systemPath, w.section, w.key, w.value));
    ours = *ProfileWrite(ours, w.section, w.key, w.value);
    ASSERT_EQ(ours, ReadBytes(systemPath)) << "after [" << w.section << "] " << w.key << "=" << w.value;
  }
}

// Where we differ from the system on purpose. Each test shows both results.

TEST_F(ProfileReferenceTest, DifferenceSystemCutCanLeaveAStrayByte) {
  // 35 double-byte characters do not fit in 63 bytes. The system converts 31 of them and then
  // still counts 63 bytes, so byte 62 is whatever the caller's buffer held. We end at 62.
  const std::string kana = Repeat("ア", 35);
  const fs::path path = NewFile("[s]\r\nk=" + kana + "\r\n");
  std::array<char, kMaxValueBytes + 1> buffer;
  buffer.fill('#');
  const DWORD length = GetPrivateProfileStringA("s", "k", "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                                path.string().c_str());
  EXPECT_EQ(std::string(buffer.data(), length), kana.substr(0, 62) + "#");
  EXPECT_EQ(ProfileRead("[s]\r\nk=" + kana + "\r\n", "s", "k", ""), kana.substr(0, 62));
}

TEST_F(ProfileReferenceTest, DifferenceAQuotedValueOfExactly63BytesKeepsItsLastByte) {
  // The system sees the closing quote fall just outside the buffer and still drops a character.
  const std::string file = "[s]\r\nk=\"" + std::string(63, 'q') + "\"\r\n";
  EXPECT_EQ(SystemRead(NewFile(file), "s", "k"), std::string(62, 'q'));
  EXPECT_EQ(ProfileRead(file, "s", "k", ""), std::string(63, 'q'));
}

TEST_F(ProfileReferenceTest, DifferenceDefaultsAreReturnedAsGiven) {
  // The system drops a default's trailing blanks and quotes. A default is the program's own
  // fixed text, never a value from the file, so we return it as it is.
  const fs::path none = NewName();
  EXPECT_EQ(SystemRead(none, "s", "k", "on  "), "on");
  EXPECT_EQ(SystemRead(none, "s", "k", "\"d\""), "d");
  EXPECT_EQ(ProfileRead("", "s", "k", "on  "), "on  ");
  EXPECT_EQ(ProfileRead("", "s", "k", "\"d\""), "\"d\"");
}

TEST_F(ProfileReferenceTest, DifferenceALineWithoutEqualsSignIsNeverAKey) {
  // For the system a bare "k" line is key k without a value: it hides a later "k=" entry, and a
  // write to k turns that line into an entry. For us such a line is just an odd line, kept as is.
  const std::string file = "[s]\r\nk\r\nk=later\r\n";
  const fs::path path = NewFile(file);
  EXPECT_EQ(SystemRead(path, "s", "k"), "DEF");
  EXPECT_EQ(ProfileRead(file, "s", "k", "DEF"), "later");
  ASSERT_TRUE(SystemWrite(path, "s", "k", "v"));
  EXPECT_EQ(ReadBytes(path), "[s]\r\nk=v\r\nk=later\r\n");
  EXPECT_EQ(*ProfileWrite(file, "s", "k", "v"), "[s]\r\nk\r\nk=v\r\n");
}

TEST_F(ProfileReferenceTest, DifferenceAWriteKeepsEveryOtherByte) {
  // The system parses the whole file and writes it out again in its own format: blank lines,
  // blanks around names and "=", LF line ends and bytes that are not Shift-JIS are lost. A user's
  // hand-edited file should only change where a value changed.
  const std::string file = "; my notes\n\n[ s ]\n  a = 1  \n\n[t]\nk=old\nodd \x80\xFF bytes\n";
  const fs::path path = NewFile(file);
  ASSERT_TRUE(SystemWrite(path, "t", "k", "new"));
  EXPECT_NE(ReadBytes(path), "; my notes\n\n[ s ]\n  a = 1  \n\n[t]\nk=new\nodd \x80\xFF bytes\n");
  EXPECT_EQ(*ProfileWrite(file, "t", "k", "new"), "; my notes\n\n[ s ]\n  a = 1  \n\n[t]\nk=new\nodd \x80\xFF bytes\n");
}

TEST_F(ProfileReferenceTest, DifferenceValuesKeepTheirBlanks) {
  // The system drops the blanks before a value it writes, and the next write of any key drops
  // the blanks after every value, since it writes the whole file anew. We write the value as
  // given and leave it so: "message=on " keeps its blank. Reads trim them all the same.
  const fs::path path = NewFile("[貼付]\r\n");
  ASSERT_TRUE(SystemWrite(path, "貼付", "message", " on "));
  ASSERT_TRUE(SystemWrite(path, "貼付", "speed", "5"));
  EXPECT_EQ(ReadBytes(path), "[貼付]\r\nmessage=on\r\nspeed=5\r\n");

  std::string ours = *ProfileWrite("[貼付]\r\n", "貼付", "message", " on ");
  ours = *ProfileWrite(ours, "貼付", "speed", "5");
  EXPECT_EQ(ours, "[貼付]\r\nmessage= on \r\nspeed=5\r\n");
  EXPECT_EQ(ProfileRead(ours, "貼付", "message", ""), SystemRead(path, "貼付", "message"));
}

TEST_F(ProfileReferenceTest, DifferenceAValueIsOneLine) {
  // A line break in a value makes the system write further lines, which may set other keys. We
  // cut the value at the break, which reads back the same for the key itself.
  const fs::path path = NewFile("[s]\r\n");
  ASSERT_TRUE(SystemWrite(path, "s", "k", "a\r\nother=injected"));
  EXPECT_EQ(SystemRead(path, "s", "other"), "injected");
  const std::string ours = *ProfileWrite("[s]\r\n", "s", "k", "a\r\nother=injected");
  EXPECT_EQ(ours, "[s]\r\nk=a\r\n");
  EXPECT_EQ(ProfileRead(ours, "s", "k", ""), SystemRead(path, "s", "k"));
}

TEST_F(ProfileReferenceTest, DifferenceUnicodeFilesAreLeftAlone) {
  // The system reads UTF-16 files and UTF-8 files with a mark. Our file is Shift-JIS: a UTF-16
  // file gives the defaults and is never rewritten; in a UTF-8 file, ASCII reads alike but
  // Japanese comes back as UTF-8 bytes.
  const std::string utf16 = "\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0"s;
  EXPECT_EQ(SystemRead(NewFile(utf16), "s", "k"), "v");
  EXPECT_EQ(ProfileRead(utf16, "s", "k", "DEF"), "DEF");
  EXPECT_FALSE(ProfileWrite(utf16, "s", "k", "w").has_value());

  const std::string utf8 = "\xEF\xBB\xBF[s]\r\na=ascii\r\nk=\xE5\x80\xA4\r\n";  // 値 in UTF-8
  const fs::path utf8Path = NewFile(utf8);
  EXPECT_EQ(SystemRead(utf8Path, "s", "a"), "ascii");
  EXPECT_EQ(ProfileRead(utf8, "s", "a", "DEF"), "ascii");
  EXPECT_EQ(SystemRead(utf8Path, "s", "k"), "値");
  EXPECT_EQ(ProfileRead(utf8, "s", "k", "DEF"), "\xE5\x80\xA4");
}

TEST_F(ProfileReferenceTest, DifferenceNamesAreTrimmedWhenWritten) {
  // The system writes a new section or key with the trailing blanks of its name; both read back
  // the same, ours reads better.
  const fs::path path = NewName();
  ASSERT_TRUE(SystemWrite(path, " t ", " K ", "v"));
  EXPECT_EQ(ReadBytes(path), "[t ]\r\nK =v\r\n");
  EXPECT_EQ(*ProfileWrite("", " t ", " K ", "v"), "[t]\r\nK=v\r\n");
  EXPECT_EQ(SystemRead(path, "t", "k"), "v");
}

}  // namespace
