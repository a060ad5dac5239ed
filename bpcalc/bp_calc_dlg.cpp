#include "bp_calc_dlg.h"

#include <array>
#include <limits>
#include <string>

#include "about_dialog.h"
#include "bp_growth.h"
#include "command_route.h"
#include "control_ids.h"
#include "decimal_text.h"
#include "familiar_files.h"
#include "messages.h"
#include "text_encoding.h"
#include "leading_int.h"

namespace bpcalc {
namespace {

using namespace msg;

// The boxes of the familiar data file's fields, in record order (name first).
constexpr std::array<int, 1 + kNumberFieldCount> kRecordBoxes = {
    ids::kName,          ids::kLevel,         ids::kCurrentBp[0], ids::kCurrentBp[1], ids::kCurrentBp[2],
    ids::kCurrentBp[3],  ids::kCurrentBp[4],  ids::kLevel1Bp[0],  ids::kLevel1Bp[1],  ids::kLevel1Bp[2],
    ids::kLevel1Bp[3],   ids::kLevel1Bp[4],   ids::kRemaining};
// What the user calls those boxes, for the message that refuses an overlong text.
constexpr std::array<const char*, 1 + kNumberFieldCount> kRecordFieldNames = {
    "使い魔名", "現在のLv", "現在のV", "現在のS", "現在のT", "現在のQ", "現在のM",
    "Lv1のV",   "Lv1のS",   "Lv1のT",  "Lv1のQ",  "Lv1のM",  "余りBP"};

// The boxes of a comparison row, in column order.
constexpr std::array<int, kCsvColumnCount> kCsvBoxes = {
    ids::kName,           ids::kLevel,          ids::kCurrentBp[0],   ids::kCurrentBp[1],
    ids::kCurrentBp[2],   ids::kCurrentBp[3],   ids::kCurrentBp[4],   ids::kLevel1Bp[0],
    ids::kLevel1Bp[1],    ids::kLevel1Bp[2],    ids::kLevel1Bp[3],    ids::kLevel1Bp[4],
    ids::kCompareLevel,   ids::kPredictedBp[0], ids::kPredictedBp[1], ids::kPredictedBp[2],
    ids::kPredictedBp[3], ids::kPredictedBp[4], ids::kRemaining};

// The name of a comparison column, from the table's header line.
std::string CsvColumnName(std::size_t column) {
  std::string_view header = ComparisonCsvHeader();
  for (std::size_t i = 0; i < column; ++i) header.remove_prefix(header.find(',') + 1);
  return std::string(header.substr(0, header.find(',')));
}

std::string OverlongMessage(std::size_t field) {
  return TooLong(kRecordFieldNames[field], field == 0 ? kNameWidth : kNumberWidth, field == 0);
}

}  // namespace

CBpCalcDlg::CBpCalcDlg(FamiliarFilePicker& picker, fsys::FileSystem& files)
    : ui::Dialog(ids::kCalculatorTemplate), m_picker(picker), m_files(files) {}

int CBpCalcDlg::IconId() const { return ui::kAppIcon; }

bool CBpCalcDlg::OnInitDialog() {
  AddAboutBoxToSystemMenu();
  // Enter in a box shows the result, as "結果を表示" does; on a button it presses that button.
  view().SetDefaultButton(ids::kShowResult);
  view().SetItemText(ids::kLevel, "1");
  for (int id : ids::kCurrentBp) view().SetItemText(id, "0");
  view().SetItemText(ids::kCompareLevel, "1");
  for (int id : ids::kPredictedBp) view().SetItemText(id, "0");
  for (int id : ids::kLevel1Bp) view().SetItemText(id, "0");
  view().SetItemText(ids::kOverallRate, "0");
  for (int id : ids::kGrowthRate) view().SetItemText(id, "0");
  view().SetItemText(ids::kRemaining, "0");
  view().SetItemText(ids::kName, "");
  return true;
}

bool CBpCalcDlg::OnCommand(int id) {
  // Command 1 ("データを保存") never closes the dialog; Enter in a box shows the result.
  static constexpr ui::Route<CBpCalcDlg> kRoutes[] = {
      {ids::kSaveData, &CBpCalcDlg::OnSaveData},
      {ids::kLoadData, &CBpCalcDlg::OnLoadData},
      {ids::kShowResult, &CBpCalcDlg::OnShowResult},
      {ids::kAppendCsv, &CBpCalcDlg::OnAppendCsv},
      {ids::kSetLv1, &CBpCalcDlg::OnSetLv1},
      {ui::kIdCancel, &CBpCalcDlg::OnCancel},  // Esc and the close box
  };
  static_assert(ui::DistinctIds<CBpCalcDlg>(kRoutes));

  return ui::RunRoute<CBpCalcDlg>(kRoutes, *this, id);
}

void CBpCalcDlg::OnShowResult() {
  auto read = [this](int id) { return text::TypedInt(ItemText(id)); };
  const std::int32_t level = read(ids::kLevel);
  StatValues current{};
  for (std::size_t i = 0; i < kStatCount; ++i) current[i] = read(ids::kCurrentBp[i]);
  const std::int32_t compareLevel = read(ids::kCompareLevel);
  StatValues level1{};
  for (std::size_t i = 0; i < kStatCount; ++i) level1[i] = read(ids::kLevel1Bp[i]);
  const std::int32_t remaining = read(ids::kRemaining);

  const BpGrowthTexts texts =
      FormatBpGrowth(ComputeBpGrowth(level, current, compareLevel, level1, remaining));
  for (std::size_t i = 0; i < kStatCount; ++i) view().SetItemText(ids::kPredictedBp[i], texts.predicted[i]);
  for (std::size_t i = 0; i < kStatCount; ++i) view().SetItemText(ids::kGrowthRate[i], texts.rates[i]);
  view().SetItemText(ids::kOverallRate, texts.overall);
}

std::optional<std::string> CBpCalcDlg::StorableText(int box, const std::string& name) {
  std::optional<std::string> text = StorableItemText(box);
  if (!text) view().Tell(Unstorable(name), kWriteErrorCaption);
  return text;
}

void CBpCalcDlg::OnSaveData() {
  FamiliarRecord record;
  for (std::size_t i = 0; i < kRecordBoxes.size(); ++i) {
    const std::optional<std::string> text = StorableText(kRecordBoxes[i], kRecordFieldNames[i]);
    if (!text) return;
    // A number is stored as the load will read it: "１２" as 12.
    (i == 0 ? record.name : record.numbers[i - 1]) = i == 0 ? *text : text::AsciiDigits(*text);
  }
  // What the load could not give back as it was is refused, never stored changed.
  if (record.name.find(' ') != std::string::npos) {
    view().Tell(kSpaceInName, kWriteErrorCaption);
    return;
  }
  for (std::size_t i = 0; i < kNumberFieldCount; ++i) {
    if (!text::LeadingIntFits(record.numbers[i])) {
      view().Tell(OutOfRange(kRecordFieldNames[i + 1]), kWriteErrorCaption);
      return;
    }
  }
  const std::optional<std::string> bytes = BuildFamiliarRecord(record);
  if (!bytes) {
    view().Tell(OverlongMessage(*FirstOverlongField(record)), kWriteErrorCaption);
    return;
  }
  const auto path = m_picker.ChooseFileToSave();
  if (!path) return;
  const std::string file = m_picker.PathText(*path);
  switch (CheckSaveTarget(*path, m_files.Inspect(*path))) {
    case SaveTarget::Ok: break;
    case SaveTarget::ListOrTableName:
      view().Tell(ListOrTableName(file), kWriteErrorCaption);
      return;
    case SaveTarget::NotARecord: view().Tell(NotARecord(file), kWriteErrorCaption); return;
  }
  ShowWriteResult(m_files.WriteAtStart(*path, *bytes), file, kSaveButton, kSaved);
}

void CBpCalcDlg::OnLoadData() {
  const auto path = m_picker.ChooseFileToOpen();
  if (!path) return;
  const std::string file = m_picker.PathText(*path);
  const fsys::ReadResult read = m_files.ReadStart(*path, kWorkAreaSize);
  std::string refusal;
  switch (read.status) {
    case fsys::ReadStatus::Ok: break;
    case fsys::ReadStatus::Missing: refusal = NoSuchFile(file); break;
    case fsys::ReadStatus::Held: refusal = Held(file, kCannotRead, kLoadButton); break;
    case fsys::ReadStatus::Unreadable:
    case fsys::ReadStatus::TooLarge: refusal = FileFailed(file, kCannotRead); break;
  }
  // A record an editor saved in Unicode would load as garbage: refused, naming what it is.
  if (const text::Encoding encoding = text::EncodingOf(read.bytes); refusal.empty() && encoding != text::Encoding::ShiftJis) {
    refusal = RecordNotShiftJis(file, encoding);
  }
  if (!refusal.empty()) {
    view().Tell(refusal, kReadErrorCaption);
    return;
  }
  const FamiliarRecord record = ParseFamiliarRecord(read.bytes);
  view().SetItemText(kRecordBoxes[0], record.name);
  for (std::size_t i = 0; i < kNumberFieldCount; ++i) view().SetItemText(kRecordBoxes[i + 1], record.numbers[i]);
}

void CBpCalcDlg::OnAppendCsv() {
  std::array<std::string, kCsvColumnCount> fields;
  std::array<std::string, kCsvColumnCount> utf8Fields;
  for (std::size_t i = 0; i < kCsvColumnCount; ++i) {
    const std::optional<std::string> text = StorableText(kCsvBoxes[i], CsvColumnName(i));
    if (!text) return;
    fields[i] = *text;
    utf8Fields[i] = Utf8ItemText(kCsvBoxes[i]);
  }
  const CsvRowTexts row{ComparisonCsvRow(fields), ComparisonCsvRow(utf8Fields)};
  bool refused = false;
  bool created = false;
  const std::filesystem::path table(kComparisonTableName);
  const fsys::WriteResult result = m_files.Append(table, [&](const fsys::AppendSite& found) {
    std::optional<std::string> text = ComparisonCsvAppendText(found, row);
    refused = !text;
    created = found.created;
    return text;
  });
  if (refused) {
    view().Tell(UnicodeTable(), kWriteErrorCaption);
    return;
  }
  // The table is wherever the last file dialog left the current folder: the message says where.
  const std::string file = m_picker.PathText(m_files.WorkingFolder() / table);
  ShowWriteResult(result, file, kAppendButton, Appended(file, created));
}

void CBpCalcDlg::OnSetLv1() {
  const std::string name = ItemText(ids::kName);
  if (name.empty()) return;
  // Only read: a missing list is said, never created.
  const fsys::ReadResult list =
      m_files.ReadFile(std::filesystem::path(kFamiliarListName), std::numeric_limits<std::size_t>::max());
  if (list.status != fsys::ReadStatus::Ok) {
    view().Tell(list.status == fsys::ReadStatus::Missing ? NoFamiliarList() : kCannotRead, kReadErrorCaption);
    return;
  }
  // The name is matched in the list's own encoding.
  const FamiliarListText listText = DecodeFamiliarList(list.bytes);
  const std::string key = listText.encoding == text::Encoding::Utf8 ? Utf8ItemText(ids::kName) : name;
  const Level1Lookup found = FindLevel1Bp(listText, key);
  switch (found.outcome) {
    case Level1Lookup::Outcome::Found:
      for (std::size_t i = 0; i < kStatCount; ++i) view().SetItemText(ids::kLevel1Bp[i], std::to_string(found.values[i]));
      break;
    case Level1Lookup::Outcome::NotListed:
      view().Tell(NotListed(name), kConfirmCaption);
      break;
    case Level1Lookup::Outcome::Incomplete:
      view().Tell(Incomplete(found.line, name), kConfirmCaption);
      break;
  }
}

void CBpCalcDlg::ShowWriteResult(const fsys::WriteResult& result, const std::string& file, const char* button,
                                 const std::string& successText) {
  switch (result.status) {
    case fsys::WriteStatus::Ok: view().Tell(successText, kWriteOkCaption); break;
    case fsys::WriteStatus::Held:
      view().Tell(Held(file, kCannotSave, button), kWriteErrorCaption);
      break;
    case fsys::WriteStatus::OpenFailed:
    case fsys::WriteStatus::ReadOnly:
      view().Tell(FileFailed(file, kCannotSave), kWriteErrorCaption);
      break;
    case fsys::WriteStatus::WriteFailed:
      view().Tell(FileFailed(file, kWriteFailed), kWriteErrorCaption);
      break;
  }
}

}  // namespace bpcalc
