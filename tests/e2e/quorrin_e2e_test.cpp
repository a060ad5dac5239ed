// Quorrin driven through its windows under Wine: start-up texts and the about box, the
// computation, save and load through the real file dialogs, the comparison table, the level-1 BP
// from the familiar list, and the keys Enter and Esc.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "control_ids.h"
#include "dialog.h"
#include "driver.h"
#include "resource.h"

namespace {

using e2e::Window;

// Calculator, by the program's own IDs and tables.
constexpr int kSave = IDC_SAVE_DATA, kShowResult = IDC_SHOW_RESULT, kLoad = IDC_LOAD_DATA,
              kAppendCsv = IDC_APPEND_CSV, kSetLv1 = IDC_SET_LV1;
constexpr int kName = IDC_NAME, kLevel = IDC_LEVEL, kCompareLevel = IDC_COMPARE_LEVEL, kRemaining = IDC_REMAINING,
              kOverall = IDC_OVERALL_RATE;
constexpr const auto& kCurrent = bpcalc::ids::kCurrentBp;
constexpr const auto& kLevel1 = bpcalc::ids::kLevel1Bp;
constexpr const auto& kPredicted = bpcalc::ids::kPredictedBp;
constexpr const auto& kRates = bpcalc::ids::kGrowthRate;
constexpr WPARAM kAboutBoxCommand = ui::kIdmAboutBox;

// Explorer-style common file dialog: the file-name combo box (or edit) and the type list.
constexpr int kFileNameCombo = 0x47C, kFileNameEdit = 0x480, kFileTypes = 0x470;

constexpr char kCsvHeader[] =
    "名前,現Lv,現V,現S,現T,現Q,現M,Lv1V,Lv1S,Lv1T,Lv1Q,Lv1M,比較Lv,比較V,比較S,比較T,比較Q,比較M,余りBP\r\n";

std::filesystem::path Screenshot(const std::wstring& name) { return e2e::ScreenshotFolder() / (name + L".bmp"); }

class QuorrinTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(Start()); }

  // Starts Quorrin (anew: a running one ends) and waits until its window is in front.
  void Start() {
    m_quorrin.reset();
    m_quorrin.emplace(e2e::WindowsPath(E2E_QUORRIN_EXE), m_folder.Path());
    ASSERT_TRUE(m_quorrin->Started()) << "cannot start " << E2E_QUORRIN_EXE
                                     << ", error " << m_quorrin->StartError();
    m_main = e2e::WaitForDialog(m_quorrin->Id(), L"Quorrin");
    ASSERT_TRUE(m_main) << "no calculator window appeared";
    // Keys reach it only once it is the active window.
    ASSERT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == m_main.Handle(); }));
  }

  DWORD Pid() const { return m_quorrin->Id(); }

  // The worked example of the computation.
  void TypeWorkedExample() {
    m_main.SetText(kName, L"ポチ");
    m_main.SetText(kLevel, L"10");
    const std::array<const wchar_t*, 5> current{L"30", L"20", L"20", L"20", L"20"};
    const std::array<const wchar_t*, 5> level1{L"12", L"8", L"8", L"8", L"8"};
    for (size_t i = 0; i < 5; ++i) {
      m_main.SetText(kCurrent[i], current[i]);
      m_main.SetText(kLevel1[i], level1[i]);
    }
    m_main.SetText(kCompareLevel, L"20");
    m_main.SetText(kRemaining, L"5");
  }

  // Waits for the file dialog, types the path and presses its OK button.
  [[nodiscard]] bool ChooseFile(const std::filesystem::path& path, Window* dialogOut = nullptr) {
    const Window dialog = e2e::WaitForNewDialog(Pid(), {m_main});
    if (!dialog) return false;
    if (dialogOut) *dialogOut = dialog;
    const int field = dialog.HasItem(kFileNameCombo) ? kFileNameCombo : kFileNameEdit;
    if (!dialog.SetText(field, path.wstring())) return false;
    dialog.PostCommand(IDOK);
    return true;
  }

  // Waits for a message box, checks it and closes it with OK.
  void ExpectMessage(std::wstring_view text, std::wstring_view caption, std::initializer_list<Window> known) {
    const auto box = e2e::WaitForMessageBox(Pid(), known);
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(box->text, text);
    EXPECT_EQ(box->caption, caption);
    EXPECT_TRUE(e2e::Answer(box->window, IDOK));
  }

  // Waits for a message box with that caption whose text holds every part, and closes it with OK.
  void ExpectMessageWith(std::initializer_list<std::wstring_view> parts, std::wstring_view caption,
                         std::initializer_list<Window> known) {
    const auto box = e2e::WaitForMessageBox(Pid(), known);
    ASSERT_TRUE(box) << "no message box";
    for (const std::wstring_view part : parts) {
      EXPECT_NE(box->text.find(part), std::wstring::npos) << e2e::ToUtf8(part) << " in " << e2e::ToUtf8(box->text);
    }
    EXPECT_EQ(box->caption, caption);
    EXPECT_TRUE(e2e::Answer(box->window, IDOK));
  }

  bool IsReadOnly(int id) const {
    return (GetWindowLongW(GetDlgItem(m_main.Handle(), id), GWL_STYLE) & ES_READONLY) != 0;
  }

  e2e::TempFolder m_folder;
  std::optional<e2e::Process> m_quorrin;
  Window m_main;
};

TEST_F(QuorrinTest, StartsWithItsInitialTextsAndAnAboutBox) {
  EXPECT_EQ(m_main.Text(kName), L"");
  EXPECT_EQ(m_main.Text(kLevel), L"1");
  EXPECT_EQ(m_main.Text(kCompareLevel), L"1");
  for (const auto& row : {kCurrent, kLevel1, kPredicted, kRates}) {
    for (int id : row) EXPECT_EQ(m_main.Text(id), L"0") << "box " << id;
  }
  EXPECT_EQ(m_main.Text(kOverall), L"0");
  EXPECT_EQ(m_main.Text(kRemaining), L"0");
  for (const auto& row : {kPredicted, kRates}) {
    for (int id : row) EXPECT_TRUE(IsReadOnly(id)) << "result box " << id;
  }
  EXPECT_TRUE(IsReadOnly(kOverall));
  EXPECT_FALSE(IsReadOnly(kLevel));
  EXPECT_TRUE(m_main.IsEnabled(kLevel));
  EXPECT_EQ(m_main.Text(kSave), L"データを保存(&S)");
  EXPECT_EQ(m_main.Text(kShowResult), L"結果を表示(&R)");
  EXPECT_EQ(m_main.Text(kLoad), L"データを読込(&L)");
  EXPECT_EQ(m_main.Text(kAppendCsv), L"比較表&CSVに追加保存");
  EXPECT_EQ(m_main.Text(kSetLv1), L"Lv&1セット");
  EXPECT_TRUE(m_main.HasSystemMenu());
  EXPECT_TRUE(m_main.SaveScreenshot(Screenshot(L"quorrin-main")));

  m_main.PostSysCommand(kAboutBoxCommand);
  const Window about = e2e::WaitForNewDialog(Pid(), {m_main});
  ASSERT_TRUE(about) << "no about box";
  EXPECT_EQ(about.Title(), L"Quorrinのﾊﾞｰｼﾞｮﾝ情報");
  EXPECT_TRUE(about.SaveScreenshot(Screenshot(L"quorrin-about")));
  EXPECT_TRUE(e2e::Answer(about, IDOK));
  EXPECT_TRUE(m_main.IsVisible());
  EXPECT_EQ(m_main.Text(kLevel), L"1");
}

TEST_F(QuorrinTest, ShowsTheWorkedExample) {
  TypeWorkedExample();
  m_main.Click(kShowResult);
  ASSERT_TRUE(m_main.WaitForText(kOverall, L"10.8"));
  const std::array<const wchar_t*, 5> predicted{L"52", L"34", L"34", L"34", L"34"};
  const std::array<const wchar_t*, 5> rates{L"2.0", L"1.3", L"1.3", L"1.3", L"1.3"};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(m_main.Text(kPredicted[i]), predicted[i]);
    EXPECT_EQ(m_main.Text(kRates[i]), rates[i]);
  }
  EXPECT_TRUE(m_main.SaveScreenshot(Screenshot(L"quorrin-result")));
}

TEST_F(QuorrinTest, ShowsResultsWholeAndScrollsToTheEndOfALongerOne) {
  // V grows 400.0 a level, so level 99 gives 39600; S falls 900.0 a level, to -88200.
  m_main.SetText(kLevel, L"2");
  m_main.SetText(kCurrent[0], L"400");
  m_main.SetText(kLevel1[1], L"900");
  m_main.SetText(kCompareLevel, L"99");
  m_main.SetText(kRemaining, L"95");
  m_main.Click(kShowResult);
  ASSERT_TRUE(m_main.WaitForText(kOverall, L"497.5"));
  EXPECT_EQ(m_main.Text(kPredicted[0]), L"39600");
  EXPECT_EQ(m_main.Text(kPredicted[1]), L"-88200");
  for (int id : {kPredicted[0], kRates[0], kRates[1], kOverall}) {
    EXPECT_TRUE(m_main.ShowsWholeText(id)) << "box " << id << ": " << m_main.TextUtf8(id);
  }
  EXPECT_TRUE(m_main.SaveScreenshot(Screenshot(L"quorrin-long-results")));
  // The End key, as a player presses it in the box, brings the rest of a longer value in.
  const HWND box = GetDlgItem(m_main.Handle(), kPredicted[1]);
  PostMessageW(box, WM_KEYDOWN, VK_END, 0x014F0001);
  EXPECT_TRUE(e2e::WaitUntil([&] { return m_main.ShowsEnd(kPredicted[1]); }));
}

TEST_F(QuorrinTest, MarksWhatADivisionByZeroLeavesUnknown) {
  m_main.SetText(kCurrent[0], L"5");
  m_main.Click(kShowResult);
  ASSERT_TRUE(m_main.WaitForText(kOverall, L"---"));
  EXPECT_EQ(m_main.Text(kRates[0]), L"---");
  EXPECT_EQ(m_main.Text(kPredicted[0]), L"---");
  EXPECT_EQ(m_main.Text(kRates[1]), L"0.0");
  EXPECT_EQ(m_main.Text(kPredicted[1]), L"0");
}

TEST_F(QuorrinTest, SavesAndLoadsTheRecordThroughTheFileDialogs) {
  TypeWorkedExample();
  m_main.Click(kSave);
  Window fileDialog;
  ASSERT_TRUE(ChooseFile(m_folder / L"pochi.txt", &fileDialog));
  ExpectMessage(L"データを保存しました。", L"FileWriteOK", {m_main, fileDialog});
  const auto saved = m_folder.Read(L"pochi.txt");
  ASSERT_TRUE(saved);
  const std::string expected = std::string("ポチ") + std::string(36, ' ') + "10        " + "30        " +
                               "20        20        20        20        12        8         8         " +
                               "8         8         5         ";
  EXPECT_EQ(*saved, expected);

  // Saving again over the same file asks first and keeps it 160 bytes.
  m_main.SetText(kLevel, L"11");
  m_main.Click(kSave);
  ASSERT_TRUE(ChooseFile(m_folder / L"pochi.txt", &fileDialog));
  const auto prompt = e2e::WaitForNewDialog(Pid(), {m_main, fileDialog});
  ASSERT_TRUE(prompt) << "no overwrite question";
  EXPECT_TRUE(e2e::Answer(prompt, IDYES));
  ExpectMessage(L"データを保存しました。", L"FileWriteOK", {m_main, fileDialog});
  const auto resaved = m_folder.Read(L"pochi.txt");
  ASSERT_TRUE(resaved);
  EXPECT_EQ(resaved->size(), 160u);
  EXPECT_EQ(resaved->substr(40, 10), "11        ");

  // Clear the boxes, then load.
  m_main.SetText(kName, L"");
  m_main.SetText(kLevel, L"");
  for (int id : kCurrent) m_main.SetText(id, L"");
  m_main.Click(kLoad);
  ASSERT_TRUE(ChooseFile(m_folder / L"pochi.txt", &fileDialog));
  ASSERT_TRUE(m_main.WaitForText(kName, L"ポチ"));
  EXPECT_EQ(m_main.Text(kLevel), L"11");
  EXPECT_EQ(m_main.Text(kCurrent[0]), L"30");
  EXPECT_EQ(m_main.Text(kLevel1[4]), L"8");
  EXPECT_EQ(m_main.Text(kRemaining), L"5");
  EXPECT_TRUE(e2e::NoNewDialogFor(Pid(), {m_main}));
}

TEST_F(QuorrinTest, OffersFamiliarDataFilesAndAddsTheirExtension) {
  m_main.Click(kSave);
  Window fileDialog;
  ASSERT_TRUE(ChooseFile(m_folder / L"tama", &fileDialog));
  ExpectMessage(L"データを保存しました。", L"FileWriteOK", {m_main, fileDialog});
  const auto saved = m_folder.Read(L"tama.txt");
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->size(), 160u);

  m_main.Click(kLoad);
  const Window open = e2e::WaitForNewDialog(Pid(), {m_main});
  ASSERT_TRUE(open);
  EXPECT_EQ(open.Text(kFileTypes), L"使い魔データ(*.txt)");
  EXPECT_TRUE(open.SaveScreenshot(Screenshot(L"quorrin-open-dialog")));
  open.PostCommand(IDCANCEL);
  EXPECT_TRUE(open.WaitUntilClosed());
  EXPECT_TRUE(e2e::NoNewDialogFor(Pid(), {m_main}));
}

TEST_F(QuorrinTest, LoadingANameThatDoesNotExistSaysSoAndChangesNothing) {
  TypeWorkedExample();
  m_main.Click(kLoad);
  Window fileDialog;
  ASSERT_TRUE(ChooseFile(m_folder / L"nofile.txt", &fileDialog));
  ASSERT_NO_FATAL_FAILURE(ExpectMessageWith({L"nofile.txt"}, L"FileReadError", {m_main, fileDialog}));
  EXPECT_EQ(m_main.Text(kName), L"ポチ");
  EXPECT_EQ(m_main.Text(kLevel), L"10");
  EXPECT_FALSE(m_folder.Exists(L"nofile.txt"));
}

TEST_F(QuorrinTest, NeverSavesARecordOverTheFamiliarList) {
  const std::string list = "001 A タマ 1 1 1 1 1 x\r\n";
  ASSERT_TRUE(m_folder.Write(L"xglist.txt", list));
  m_main.Click(kSave);
  Window fileDialog;
  ASSERT_TRUE(ChooseFile(m_folder / L"xglist.txt", &fileDialog));
  const auto prompt = e2e::WaitForNewDialog(Pid(), {m_main, fileDialog});
  ASSERT_TRUE(prompt) << "no overwrite question";
  EXPECT_TRUE(e2e::Answer(prompt, IDYES));
  ASSERT_NO_FATAL_FAILURE(ExpectMessageWith({L"xglist.txt"}, L"FileWriteError", {m_main, fileDialog}));
  EXPECT_EQ(m_folder.Read(L"xglist.txt"), list);
}

TEST_F(QuorrinTest, ATableASpreadsheetHoldsIsNamedWithWhatToDo) {
  ASSERT_TRUE(m_folder.Write(L"xg.csv", std::string(kCsvHeader)));
  // As Excel holds an open CSV: others may read it, nobody may write it.
  const HANDLE held = CreateFileW((m_folder / L"xg.csv").c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  m_main.Click(kAppendCsv);
  ASSERT_NO_FATAL_FAILURE(ExpectMessageWith({L"xg.csv", L"比較表CSVに追加保存"}, L"FileWriteError", {m_main}));
  CloseHandle(held);
  m_main.Click(kAppendCsv);
  ASSERT_NO_FATAL_FAILURE(ExpectMessageWith({L"比較データを保存しました。", L"xg.csv"}, L"FileWriteOK", {m_main}));
  EXPECT_EQ(m_folder.Read(L"xg.csv"), std::string(kCsvHeader) + ",1,0,0,0,0,0,0,0,0,0,0,1,0,0,0,0,0,0\r\n");
}

TEST_F(QuorrinTest, TabFollowsTheFormEnterShowsTheResultAndAltPressesAButton) {
  // From the name, top to bottom and left to right, then round again.
  const std::array order{kName,        kSetLv1,    kLevel,     kCurrent[0], kCurrent[1], kCurrent[2],
                         kCurrent[3],  kCurrent[4], kLevel1[0], kLevel1[1],  kLevel1[2],  kLevel1[3],
                         kLevel1[4],   kShowResult, kRemaining, kCompareLevel, kLoad,     kSave,
                         kAppendCsv,   kName};
  ASSERT_TRUE(e2e::WaitUntil([&] { return m_main.FocusedItem() == order[0]; })) << m_main.FocusedItem();
  for (size_t i = 1; i < order.size(); ++i) {
    ASSERT_TRUE(m_main.PressKey(VK_TAB));
    EXPECT_TRUE(e2e::WaitUntil([&] { return m_main.FocusedItem() == order[i]; }))
        << "Tab " << i << " reached " << m_main.FocusedItem() << ", not " << order[i];
  }

  // Enter in a box, as a player types it, shows the result and opens nothing.
  TypeWorkedExample();
  ASSERT_TRUE(m_main.PressKey(VK_RETURN));
  EXPECT_TRUE(m_main.WaitForText(kOverall, L"10.8"));
  EXPECT_TRUE(e2e::NoNewDialogFor(Pid(), {m_main}));

  // Alt and a button's underlined letter press it: "データを保存(&S)" opens the save dialog.
  ASSERT_TRUE(m_main.PressKey('S', VK_MENU));
  const Window dialog = e2e::WaitForNewDialog(Pid(), {m_main});
  ASSERT_TRUE(dialog) << "Alt+S opened no save dialog";
  dialog.PostCommand(IDCANCEL);
  EXPECT_TRUE(dialog.WaitUntilClosed());
  EXPECT_TRUE(m_quorrin->IsRunning());
}

TEST_F(QuorrinTest, BoxesShowTheirLongestOrdinaryValuesWholeAtEveryDpi) {
  for (const DWORD dpi : {96, 120, 144}) {
    const e2e::ScreenDpi screen(dpi);
    ASSERT_NO_FATAL_FAILURE(Start());
    for (int id : {kLevel, kCompareLevel}) m_main.SetText(id, L"158");
    for (const auto& row : {kCurrent, kLevel1}) {
      for (int id : row) m_main.SetText(id, L"1234");
    }
    m_main.SetText(kRemaining, L"123");
    for (int id : {kLevel, kCompareLevel, kRemaining}) {
      EXPECT_TRUE(m_main.ShowsWholeText(id)) << "box " << id << " at " << dpi << " DPI";
    }
    for (const auto& row : {kCurrent, kLevel1}) {
      for (int id : row) EXPECT_TRUE(m_main.ShowsWholeText(id)) << "box " << id << " at " << dpi << " DPI";
    }
    EXPECT_TRUE(m_main.SaveScreenshot(Screenshot(L"quorrin-" + std::to_wstring(dpi) + L"dpi")));
  }
}

TEST_F(QuorrinTest, AppendsTwoRowsToTheComparisonTableUnderOneHeader) {
  TypeWorkedExample();
  m_main.Click(kShowResult);
  ASSERT_TRUE(m_main.WaitForText(kOverall, L"10.8"));
  for (int i = 0; i < 2; ++i) {
    m_main.Click(kAppendCsv);
    ASSERT_NO_FATAL_FAILURE(ExpectMessageWith({L"比較データを保存しました。"}, L"FileWriteOK", {m_main}));
  }
  const std::string row = "ポチ,10,30,20,20,20,20,12,8,8,8,8,20,52,34,34,34,34,5\r\n";
  EXPECT_EQ(m_folder.Read(L"xg.csv"), std::string(kCsvHeader) + row + row);
}

TEST_F(QuorrinTest, AddsARowToASpreadsheetsUtf8TableInUtf8OnALineOfItsOwn) {
  const std::string table = "\xEF\xBB\xBF" + e2e::ToUtf8(L"名前,現Lv\r\nタマ,5");
  ASSERT_TRUE(m_folder.Write(L"xg.csv", table));
  m_main.SetText(kName, L"ポチ");
  m_main.Click(kAppendCsv);
  ASSERT_NO_FATAL_FAILURE(ExpectMessageWith({L"比較データを保存しました。"}, L"FileWriteOK", {m_main}));
  EXPECT_EQ(m_folder.Read(L"xg.csv"), table + "\r\n" + e2e::ToUtf8(L"ポチ") + ",1,0,0,0,0,0,0,0,0,0,0,1,0,0,0,0,0,0\r\n");
}

TEST_F(QuorrinTest, ANameShiftJisCannotHoldIsRefusedNotStoredAsQuestionMarks) {
  m_main.SetText(kName, L"\uD3EC\uCE58");  // a Hangul name: no Shift-JIS codes
  m_main.Click(kAppendCsv);
  const auto box = e2e::WaitForMessageBox(Pid(), {m_main});
  ASSERT_TRUE(box) << "no message box";
  EXPECT_EQ(box->caption, L"FileWriteError");
  EXPECT_TRUE(box->text.starts_with(L"「名前」")) << e2e::ToUtf8(box->text);
  EXPECT_TRUE(e2e::Answer(box->window, IDOK));
  EXPECT_FALSE(m_folder.Exists(L"xg.csv"));
}

TEST_F(QuorrinTest, TheComparisonTableFollowsTheFolderOfTheLastFileDialog) {
  ASSERT_TRUE(std::filesystem::create_directory(m_folder / L"pets"));
  TypeWorkedExample();
  m_main.Click(kSave);
  Window fileDialog;
  ASSERT_TRUE(ChooseFile(m_folder / L"pets" / L"pochi.txt", &fileDialog));
  ASSERT_NO_FATAL_FAILURE(ExpectMessage(L"データを保存しました。", L"FileWriteOK", {m_main, fileDialog}));
  m_main.Click(kAppendCsv);
  // The message names the new table, in the folder of the save.
  ASSERT_NO_FATAL_FAILURE(ExpectMessageWith({L"新しく作りました", L"pets\\xg.csv"}, L"FileWriteOK", {m_main}));
  EXPECT_TRUE(m_folder.Exists(L"pets\\xg.csv"));
  EXPECT_FALSE(m_folder.Exists(L"xg.csv"));
}

TEST_F(QuorrinTest, SetsTheLevelOneBpFromTheFamiliarList) {
  ASSERT_TRUE(m_folder.Write(L"xglist.txt", "001 A タマ 1 1 1 1 1 x\r\n002 B ポチ 12.5 10 9 6 4.5 0\r\n"));
  m_main.SetText(kName, L"ポチ");
  m_main.Click(kSetLv1);
  ASSERT_TRUE(m_main.WaitForText(kLevel1[4], L"9"));
  EXPECT_EQ(m_main.Text(kLevel1[0]), L"25");
  EXPECT_EQ(m_main.Text(kLevel1[1]), L"20");
  EXPECT_EQ(m_main.Text(kLevel1[2]), L"18");
  EXPECT_EQ(m_main.Text(kLevel1[3]), L"12");
  EXPECT_TRUE(e2e::NoNewDialogFor(Pid(), {m_main}));
}

TEST_F(QuorrinTest, EscClosesTheProgramWithoutAsking) {
  m_main.SetText(kName, L"ポチ");
  ASSERT_TRUE(m_main.PressKey(VK_ESCAPE));
  EXPECT_TRUE(m_quorrin->WaitForExit());
  EXPECT_FALSE(m_folder.Exists(L"xg.csv"));
}

}  // namespace
