#include "bp_calc_dlg.h"

#include <gtest/gtest.h>

#include "control_ids.h"
#include "fake_familiar_file_picker.h"
#include "fake_file_system.h"
#include "fake_view.h"
#include "messages.h"

namespace bpcalc {
namespace {

const fake::View::Box kSaved{msg::kSaved, msg::kWriteOkCaption};
const fake::View::Box kCannotRead{msg::kCannotRead, msg::kReadErrorCaption};
fake::View::Box WriteError(const std::string& text) { return {text, msg::kWriteErrorCaption}; }
fake::View::Box ReadError(const std::string& text) { return {text, msg::kReadErrorCaption}; }

const std::string kCsvHeader =
    "名前,現Lv,現V,現S,現T,現Q,現M,Lv1V,Lv1S,Lv1T,Lv1Q,Lv1M,比較Lv,比較V,比較S,比較T,比較Q,比較M,余りBP\r\n";

class CalculatorDialog : public ::testing::Test {
 protected:
  CalculatorDialog() {
    dialog.Attach(&view);
    dialog.OnInitDialog();
  }

  void Type(int id, const std::string& text) { view.texts[id] = text; }
  std::string Box(int id) { return view.texts.at(id); }

  // The worked example of the computation, typed into the boxes.
  void TypePochi() {
    Type(ids::kName, "Pochi");
    Type(ids::kLevel, "10");
    const char* current[] = {"30", "20", "20", "20", "20"};
    const char* level1[] = {"12", "8", "8", "8", "8"};
    for (std::size_t i = 0; i < kStatCount; ++i) {
      Type(ids::kCurrentBp[i], current[i]);
      Type(ids::kLevel1Bp[i], level1[i]);
    }
    Type(ids::kCompareLevel, "20");
    Type(ids::kRemaining, "5");
  }

  fake::View view;
  FakeFamiliarFilePicker picker;
  fake::FileSystem files;
  CBpCalcDlg dialog{picker, files};
  const std::string kTablePath = (files.folder / "xg.csv").string();  // in the current folder
};

// ---- Start-up and routing -------------------------------------------------------------------

TEST_F(CalculatorDialog, StartsWithLevelsOneAnEmptyNameAndZerosElsewhere) {
  EXPECT_EQ(view.texts.size(), 25u);
  for (const auto& [id, text] : view.texts) {
    const char* expected = id == ids::kName ? "" : (id == ids::kLevel || id == ids::kCompareLevel) ? "1" : "0";
    EXPECT_EQ(text, expected) << "box " << id;
  }
}

TEST_F(CalculatorDialog, AddsTheAboutEntryToTheSystemMenuAndShowsItsIcon) {
  EXPECT_EQ(view.systemMenu, (std::vector<std::pair<int, int>>{{0x10, 101}}));
  EXPECT_EQ(view.defaultButton, ids::kShowResult);  // Enter in a box shows the result
  EXPECT_EQ(dialog.IconId(), 128);
  EXPECT_EQ(dialog.TemplateId(), 102);
}

TEST_F(CalculatorDialog, SavesOnCommandOneInsteadOfClosing) {
  EXPECT_TRUE(dialog.OnCommand(ui::kIdOk));
  EXPECT_EQ(picker.saveDialogs, 1);
  EXPECT_FALSE(view.endResult.has_value());
}

TEST_F(CalculatorDialog, ClosesOnEscWithoutAskingOrSaving) {
  EXPECT_TRUE(dialog.OnCommand(ui::kIdCancel));
  EXPECT_EQ(view.endResult, ui::kIdCancel);
  EXPECT_TRUE(view.boxes.empty());
  EXPECT_TRUE(files.files.empty());
}

TEST_F(CalculatorDialog, RoutesEachButtonToItsOperation) {
  TypePochi();
  EXPECT_TRUE(dialog.OnCommand(ids::kShowResult));
  EXPECT_EQ(Box(ids::kOverallRate), "10.8");
  EXPECT_TRUE(dialog.OnCommand(ids::kLoadData));
  EXPECT_EQ(picker.openDialogs, 1);
  EXPECT_TRUE(dialog.OnCommand(ids::kAppendCsv));
  EXPECT_TRUE(files.files.count("xg.csv"));
  EXPECT_TRUE(dialog.OnCommand(ids::kSetLv1));
  EXPECT_EQ(view.boxes.back().caption, msg::kReadErrorCaption);  // no list here
  EXPECT_FALSE(dialog.OnCommand(ids::kName));  // a box, not a command
}

// ---- Computation ------------------------------------------------------------------------------

TEST_F(CalculatorDialog, ShowsTheWorkedExampleInTheResultBoxes) {
  TypePochi();
  dialog.OnShowResult();
  const char* predicted[] = {"52", "34", "34", "34", "34"};
  const char* rates[] = {"2.0", "1.3", "1.3", "1.3", "1.3"};
  for (std::size_t i = 0; i < kStatCount; ++i) {
    EXPECT_EQ(Box(ids::kPredictedBp[i]), predicted[i]);
    EXPECT_EQ(Box(ids::kGrowthRate[i]), rates[i]);
  }
  EXPECT_EQ(Box(ids::kOverallRate), "10.8");
  EXPECT_EQ(Box(ids::kLevel), "10");  // inputs stay as typed
}

TEST_F(CalculatorDialog, ReadsEachBoxByItsLeadingIntegerAndEmptyBoxesAsZero) {
  for (auto& [id, text] : view.texts) text = "";
  Type(ids::kLevel, " 4 levels");
  Type(ids::kCurrentBp[0], "11.9");
  Type(ids::kLevel1Bp[0], "10abc");
  Type(ids::kCompareLevel, "10");
  dialog.OnShowResult();
  EXPECT_EQ(Box(ids::kGrowthRate[0]), "0.3");
  EXPECT_EQ(Box(ids::kPredictedBp[0]), "13");
  EXPECT_EQ(Box(ids::kPredictedBp[1]), "0");
  EXPECT_EQ(Box(ids::kOverallRate), "2.7");  // (11 - 0.3333) / 4
}

TEST_F(CalculatorDialog, ReadsFullWidthDigitsInTheCalculationAndStoresThemAsAscii) {
  TypePochi();
  Type(ids::kLevel1Bp[1], "－８");
  dialog.OnShowResult();
  EXPECT_EQ(Box(ids::kGrowthRate[1]), "3.1");  // (20 - -8) / 9
  picker.answer = "pochi.txt";
  dialog.OnSaveData();
  EXPECT_EQ(files.files.at("pochi.txt").substr(110, 10), "-8        ");
}

TEST_F(CalculatorDialog, MarksWhatCannotBeComputedAtLevelOne) {
  Type(ids::kCurrentBp[2], "5");
  Type(ids::kCompareLevel, "10");
  dialog.OnShowResult();
  EXPECT_EQ(Box(ids::kGrowthRate[2]), "---");
  EXPECT_EQ(Box(ids::kPredictedBp[2]), "---");
  EXPECT_EQ(Box(ids::kOverallRate), "---");
  EXPECT_EQ(Box(ids::kGrowthRate[0]), "0.0");
  EXPECT_EQ(Box(ids::kPredictedBp[0]), "0");
}

// ---- Familiar data file ---------------------------------------------------------------------

TEST_F(CalculatorDialog, SavesTheTwelveNumbersAndTheNameAsOneRecord) {
  TypePochi();
  Type(ids::kRemaining, "12.7");
  files.folders.insert("C:\\cg");
  picker.answer = "C:\\cg\\pochi.txt";
  dialog.OnSaveData();
  const std::string& file = files.files.at("C:\\cg\\pochi.txt");
  ASSERT_EQ(file.size(), 160u);
  EXPECT_EQ(file.substr(0, 50), "Pochi" + std::string(35, ' ') + "10        ");
  EXPECT_EQ(file.substr(150), "12.7      ");
  EXPECT_EQ(view.boxes, std::vector<fake::View::Box>{kSaved});
}

TEST_F(CalculatorDialog, SavesOverARecordButNeverOverAnotherFile) {
  files.files["pochi.txt"] = std::string(160, 'z');
  files.files["list.txt"] = "001 A Pochi 1 1 1 1 1\r\n";
  picker.answer = "pochi.txt";
  dialog.OnSaveData();
  EXPECT_EQ(files.files.at("pochi.txt").substr(40, 10), "1         ");
  picker.answer = "list.txt";
  dialog.OnSaveData();
  EXPECT_EQ(files.files.at("list.txt"), "001 A Pochi 1 1 1 1 1\r\n");
  EXPECT_EQ(view.boxes, (std::vector<fake::View::Box>{kSaved, WriteError(msg::NotARecord("list.txt"))}));
}

TEST_F(CalculatorDialog, CancellingTheSaveDialogWritesAndShowsNothing) {
  dialog.OnSaveData();
  EXPECT_EQ(picker.saveDialogs, 1);
  EXPECT_TRUE(files.files.empty());
  EXPECT_TRUE(view.boxes.empty());
}

TEST_F(CalculatorDialog, RefusesToSaveATextLongerThanItsFieldBeforeAskingForAFile) {
  picker.answer = "pochi.txt";
  Type(ids::kName, "ポチポチポチポチポチポチポチポチポチポチX");  // 41 bytes
  dialog.OnSaveData();
  Type(ids::kName, "Pochi");
  Type(ids::kLevel1Bp[1], "123456789.5");
  dialog.OnSaveData();
  EXPECT_EQ(picker.saveDialogs, 0);
  EXPECT_TRUE(files.files.empty());
  ASSERT_EQ(view.boxes.size(), 2u);
  EXPECT_EQ(view.boxes[0].text, msg::TooLong("使い魔名", 40, true));
  EXPECT_EQ(view.boxes[1].text, msg::TooLong("Lv1のS", 10, false));
  EXPECT_EQ(view.boxes[1].caption, msg::kWriteErrorCaption);
}

TEST_F(CalculatorDialog, RefusesToSaveWhatTheLoadWouldGiveBackChanged) {
  const struct {
    int box;
    const char* text;
    std::string told;
  } cases[] = {
      {ids::kName, "ポチ タマ", msg::kSpaceInName},
      {ids::kLevel, "9999999999", msg::OutOfRange("現在のLv")},
      {ids::kRemaining, "-2147483649", msg::OutOfRange("余りBP")},
  };
  picker.answer = "pochi.txt";
  for (const auto& c : cases) {
    TypePochi();
    view.boxes.clear();
    Type(c.box, c.text);
    dialog.OnSaveData();
    ASSERT_EQ(view.boxes.size(), 1u) << c.text;
    EXPECT_EQ(view.boxes[0], WriteError(c.told));
  }
  EXPECT_EQ(picker.saveDialogs, 0);
  EXPECT_TRUE(files.files.empty());
}

TEST_F(CalculatorDialog, RefusesToStoreACharacterShiftJisCannotHoldNamingTheBox) {
  struct Case {
    int box;
    void (CBpCalcDlg::*store)();
    const char* named;
  };
  const Case cases[] = {
      {ids::kName, &CBpCalcDlg::OnSaveData, "使い魔名"},
      {ids::kLevel1Bp[4], &CBpCalcDlg::OnSaveData, "Lv1のM"},
      {ids::kName, &CBpCalcDlg::OnAppendCsv, "名前"},
      {ids::kPredictedBp[2], &CBpCalcDlg::OnAppendCsv, "比較T"},
  };
  picker.answer = "pochi.txt";
  for (const Case& c : cases) {
    view.boxes.clear();
    view.unstorable = {c.box};
    (dialog.*c.store)();
    ASSERT_EQ(view.boxes.size(), 1u) << c.named;
    EXPECT_EQ(view.boxes[0], WriteError(msg::Unstorable(c.named)));
  }
  EXPECT_EQ(picker.saveDialogs, 0);
  EXPECT_TRUE(files.files.empty());
}

TEST_F(CalculatorDialog, ReportsASaveThatCannotOpenOrCannotWriteItsFile) {
  picker.answer = "pochi.txt";
  files.locked.insert("pochi.txt");
  dialog.OnSaveData();
  files.locked.clear();
  files.diskFull = true;
  dialog.OnSaveData();
  EXPECT_EQ(view.boxes, (std::vector<fake::View::Box>{WriteError(msg::Held("pochi.txt", msg::kCannotSave, msg::kSaveButton)),
                                                      WriteError(msg::FileFailed("pochi.txt", msg::kWriteFailed))}));
}

TEST_F(CalculatorDialog, LoadsWhatItSavedIntoTheSameBoxesOnly) {
  TypePochi();
  picker.answer = "pochi.txt";
  dialog.OnSaveData();
  dialog.OnShowResult();

  CBpCalcDlg other{picker, files};
  fake::View otherView;
  other.Attach(&otherView);
  other.OnInitDialog();
  otherView.texts[ids::kCompareLevel] = "77";
  other.OnLoadData();
  EXPECT_EQ(otherView.texts.at(ids::kName), "Pochi");
  EXPECT_EQ(otherView.texts.at(ids::kLevel), "10");
  EXPECT_EQ(otherView.texts.at(ids::kCurrentBp[0]), "30");
  EXPECT_EQ(otherView.texts.at(ids::kLevel1Bp[4]), "8");
  EXPECT_EQ(otherView.texts.at(ids::kRemaining), "5");
  EXPECT_EQ(otherView.texts.at(ids::kCompareLevel), "77");
  EXPECT_EQ(otherView.texts.at(ids::kPredictedBp[0]), "0");
  EXPECT_EQ(otherView.texts.at(ids::kOverallRate), "0");
  EXPECT_TRUE(otherView.boxes.empty());
}

TEST_F(CalculatorDialog, RefusesToLoadAMissingHeldOrUnicodeFileAndKeepsEveryBox) {
  files.files["utf8.txt"] = "\xE3\x83\x9D\xE3\x83\x81" + std::string(154, ' ');  // ポチ, no mark
  files.files["marked.txt"] = "\xEF\xBB\xBFPochi";
  files.files["held.txt"] = std::string(160, ' ');
  files.locked.insert("held.txt");
  const std::pair<const char*, std::string> cases[] = {
      {"new.txt", msg::NoSuchFile("new.txt")},
      {"held.txt", msg::Held("held.txt", msg::kCannotRead, msg::kLoadButton)},
      {"utf8.txt", msg::RecordNotShiftJis("utf8.txt", text::Encoding::Utf8)},
      {"marked.txt", msg::RecordNotShiftJis("marked.txt", text::Encoding::Utf8)},
  };
  TypePochi();
  const auto before = view.texts;
  for (const auto& [file, message] : cases) {
    view.boxes.clear();
    picker.answer = file;
    dialog.OnLoadData();
    EXPECT_EQ(view.boxes, std::vector<fake::View::Box>{ReadError(message)}) << file;
  }
  EXPECT_EQ(view.texts, before);
  EXPECT_FALSE(files.files.contains("new.txt"));
}

TEST_F(CalculatorDialog, LoadReadsNoMoreThanTheWorkArea) {
  files.files["huge.txt"] = std::string(1 << 20, ' ');
  picker.answer = "huge.txt";
  dialog.OnLoadData();
  EXPECT_EQ(files.lastReadLimit, 512u);
}

TEST_F(CalculatorDialog, CancellingTheOpenDialogChangesNothing) {
  TypePochi();
  dialog.OnLoadData();
  EXPECT_TRUE(files.files.empty());
  EXPECT_EQ(Box(ids::kName), "Pochi");
}

// ---- Comparison table -------------------------------------------------------------------------

TEST_F(CalculatorDialog, WritesTheHeaderOnlyWhenItCreatesTheTable) {
  TypePochi();
  dialog.OnShowResult();
  dialog.OnAppendCsv();
  dialog.OnAppendCsv();
  const std::string row = "Pochi,10,30,20,20,20,20,12,8,8,8,8,20,52,34,34,34,34,5\r\n";
  EXPECT_EQ(files.files.at("xg.csv"), kCsvHeader + row + row);
  EXPECT_EQ(view.boxes, (std::vector<fake::View::Box>{{msg::Appended(kTablePath, true), msg::kWriteOkCaption},
                                                      {msg::Appended(kTablePath, false), msg::kWriteOkCaption}}));
}

TEST_F(CalculatorDialog, AppendsToAnExistingEmptyTableWithoutAHeader) {
  files.files["xg.csv"] = "";
  dialog.OnAppendCsv();
  EXPECT_EQ(files.files.at("xg.csv"), ",1,0,0,0,0,0,0,0,0,0,0,1,0,0,0,0,0,0\r\n");
}

TEST_F(CalculatorDialog, RecordsThePredictionBoxesAsTheyStandWithoutComputing) {
  TypePochi();
  dialog.OnAppendCsv();
  EXPECT_EQ(files.files.at("xg.csv"), kCsvHeader + "Pochi,10,30,20,20,20,20,12,8,8,8,8,20,0,0,0,0,0,5\r\n");
}

TEST_F(CalculatorDialog, QuotesANameWithACommaSoTheColumnsStayInPlace) {
  Type(ids::kName, "Po,chi");
  dialog.OnAppendCsv();
  EXPECT_EQ(files.files.at("xg.csv"), kCsvHeader + "\"Po,chi\",1,0,0,0,0,0,0,0,0,0,0,1,0,0,0,0,0,0\r\n");
}

TEST_F(CalculatorDialog, AppendsInUtf8ToAUtf8TableAndRefusesAUtf16One) {
  files.files["xg.csv"] = "\xEF\xBB\xBF";
  Type(ids::kName, "ポチ");
  view.utf8Texts[ids::kName] = "\xE3\x83\x9D\xE3\x83\x81";
  dialog.OnAppendCsv();
  EXPECT_EQ(files.files.at("xg.csv"), "\xEF\xBB\xBF\xE3\x83\x9D\xE3\x83\x81,1,0,0,0,0,0,0,0,0,0,0,1,0,0,0,0,0,0\r\n");
  files.files["xg.csv"] = "\xFF\xFE";
  dialog.OnAppendCsv();
  EXPECT_EQ(files.files.at("xg.csv"), "\xFF\xFE");
  ASSERT_EQ(view.boxes.size(), 2u);
  EXPECT_EQ(view.boxes[1], WriteError(msg::UnicodeTable()));
}

TEST_F(CalculatorDialog, ReportsATableThatCannotBeOpenedOrWritten) {
  files.locked.insert("xg.csv");
  dialog.OnAppendCsv();
  files.locked.clear();
  files.diskFull = true;
  dialog.OnAppendCsv();
  EXPECT_EQ(view.boxes, (std::vector<fake::View::Box>{WriteError(msg::Held(kTablePath, msg::kCannotSave, msg::kAppendButton)),
                                                      WriteError(msg::FileFailed(kTablePath, msg::kWriteFailed))}));
}

// ---- Level-1 BP from the familiar list --------------------------------------------------------

TEST_F(CalculatorDialog, SetsTheLevelOneBpFromTheListLineOfTheName) {
  files.files["xglist.txt"] = "001 A Tama 1 1 1 1 1 x\r\n001 A Pochi 12.5 10 9 6 4.5 0\r\n";
  Type(ids::kName, "Pochi");
  dialog.OnSetLv1();
  const char* expected[] = {"25", "20", "18", "12", "9"};
  for (std::size_t i = 0; i < kStatCount; ++i) EXPECT_EQ(Box(ids::kLevel1Bp[i]), expected[i]);
  EXPECT_TRUE(view.boxes.empty());
}

TEST_F(CalculatorDialog, MatchesTheNameInTheListsOwnEncoding) {
  files.files["xglist.txt"] = "\xEF\xBB\xBF" "001 A \xE3\x83\x9D\xE3\x83\x81 1 2 3 4 5\r\n";
  Type(ids::kName, "ポチ");
  view.utf8Texts[ids::kName] = "\xE3\x83\x9D\xE3\x83\x81";
  dialog.OnSetLv1();
  EXPECT_EQ(Box(ids::kLevel1Bp[4]), "10");
  EXPECT_TRUE(view.boxes.empty());
}

TEST_F(CalculatorDialog, SetsNothingFromALineWithTooFewValuesAndSaysWhichLine) {
  files.files["xglist.txt"] = "001 A Tama 1 1 1 1 1\r\n002 B Pochi 12.5 10 9.5\r\n";
  Type(ids::kName, "Pochi");
  Type(ids::kLevel1Bp[0], "7");
  dialog.OnSetLv1();
  EXPECT_EQ(Box(ids::kLevel1Bp[0]), "7");
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, msg::Incomplete(2, "Pochi"));
}

TEST_F(CalculatorDialog, DoesNothingForAnEmptyNameAndCreatesNoList) {
  dialog.OnSetLv1();
  EXPECT_TRUE(files.files.empty());
  EXPECT_TRUE(view.boxes.empty());
}

TEST_F(CalculatorDialog, SaysWhenTheListIsMissingOrLacksTheNameAndCreatesNoList) {
  Type(ids::kName, "Pochi");
  dialog.OnSetLv1();
  EXPECT_FALSE(files.files.contains("xglist.txt"));
  files.files["xglist.txt"] = "001 A Tama 1 1 1 1 1 x\r\n";
  dialog.OnSetLv1();
  ASSERT_EQ(view.boxes.size(), 2u);
  EXPECT_EQ(view.boxes[0], ReadError(msg::NoFamiliarList()));
  EXPECT_EQ(view.boxes[1], (fake::View::Box{msg::NotListed("Pochi"), msg::kConfirmCaption}));
  EXPECT_EQ(Box(ids::kLevel1Bp[0]), "0");
}

TEST_F(CalculatorDialog, ReportsAListThatCannotBeOpened) {
  Type(ids::kName, "Pochi");
  files.locked.insert("xglist.txt");
  dialog.OnSetLv1();
  EXPECT_EQ(view.boxes, std::vector<fake::View::Box>{kCannotRead});
}

}  // namespace
}  // namespace bpcalc
