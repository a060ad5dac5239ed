#pragma once
// Quorrin's three file formats, as pure functions on Shift-JIS bytes (widths count bytes):
// the familiar data file (one fixed-width record), the comparison table xg.csv and the familiar
// list xglist.txt.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "bp_growth.h"
#include "byte_order_mark.h"
#include "file_system.h"

namespace bpcalc {

// The table and the list, found by these bare names in the current folder.
inline constexpr std::string_view kComparisonTableName = "xg.csv";
inline constexpr std::string_view kFamiliarListName = "xglist.txt";

// ---- Familiar data file: one 160-byte record, no line end. --------------------------------

inline constexpr std::size_t kRecordSize = 160;
inline constexpr std::size_t kNameWidth = 40;
inline constexpr std::size_t kNumberWidth = 10;
inline constexpr std::size_t kNumberFieldCount = 12;
// The load reads at most this much of a file, however large it is.
inline constexpr std::size_t kWorkAreaSize = 512;

// The record's texts. numbers, in record order: current level, current V S T Q M,
// level-1 V S T Q M, remaining BP.
struct FamiliarRecord {
  std::string name;
  std::array<std::string, kNumberFieldCount> numbers;
  friend bool operator==(const FamiliarRecord&, const FamiliarRecord&) = default;
};

// Index of the first text too long for its field (0 the name, 1 + i numbers[i]); empty when
// everything fits.
std::optional<std::size_t> FirstOverlongField(const FamiliarRecord& record);

// Each text left-aligned in its field and filled up with spaces; empty when a text does not
// fit, since cutting it would silently store a different value.
std::optional<std::string> BuildFamiliarRecord(const FamiliarRecord& record);

// Where a record may be saved, judged by what is there before anything is written. A record
// goes to a new file or over a record (exactly kRecordSize bytes); never over any other file,
// whose content it would destroy, and never under the name of the table or the list (in any
// case), which are no records even while they are small.
enum class SaveTarget { Ok, ListOrTableName, NotARecord };
SaveTarget CheckSaveTarget(const std::filesystem::path& path, const fsys::FileInfo& found);

// Reads the first bytes of a familiar data file (any length; missing bytes count as spaces).
// The name loses every space; each number becomes its leading integer as plain decimal text.
FamiliarRecord ParseFamiliarRecord(std::string_view fileStart);

// ---- Comparison table xg.csv: CR LF lines of 19 comma-separated fields. ----------------------

inline constexpr std::size_t kCsvColumnCount = 19;
inline constexpr std::string_view kCsvLineEnd = "\r\n";

// The first line of a new table, without its line end.
std::string_view ComparisonCsvHeader();

// The fields joined by commas, without a line end. A field holding a comma, a double quote or a
// line break is quoted with its quotes doubled, so that it cannot shift the row's columns; all
// other fields are written as they are.
std::string ComparisonCsvRow(const std::array<std::string, kCsvColumnCount>& fields);

// One row, without its line end, in the two encodings a table can take it in.
struct CsvRowTexts {
  std::string shiftJis;
  std::string utf8;
};

// The bytes that append the row to the table as found: in the table's encoding (UTF-8 when it
// starts with that byte-order mark or is UTF-8 throughout with Japanese in it, as spreadsheets
// save it; Shift-JIS otherwise), so that no table mixes two; the header first when the append
// created it; and a line end first when its last line has none (a table edited by hand or
// exported so), so that the row never joins that line. Empty for a UTF-16 table, which takes
// neither.
std::optional<std::string> ComparisonCsvAppendText(const fsys::AppendSite& table, const CsvRowTexts& row);

// ---- Familiar list xglist.txt: lines of fields separated by spaces, tabs or full-width spaces.

// The list as the search reads it: Shift-JIS as we write it, or UTF-8 for a list that an editor
// saved in UTF-8 (with or without a byte-order mark, which is dropped) or UTF-16 (turned into
// UTF-8). Names in it are matched against the name in the same encoding.
struct FamiliarListText {
  std::string text;
  text::Encoding encoding = text::Encoding::ShiftJis;
};
FamiliarListText DecodeFamiliarList(std::string_view file);

// A list value as it goes into a level-1 box: twice the number, cut toward zero (12.5 gives 25,
// -0.7 gives -1), held within the int32 range.
std::int32_t DoubledListValue(std::string_view field);

// What a search of the list for a name found. The first line that names the familiar (field 3)
// with all five values (fields 4 to 8, the last one may end the line) wins. A line that names it
// with fewer, a list cut short, gives nothing, so that no box keeps a value of another familiar.
// Lines end with CR LF, LF or CR alone.
struct Level1Lookup {
  enum class Outcome { Found, NotListed, Incomplete };
  Outcome outcome = Outcome::NotListed;
  StatValues values{};   // Found: V, S, T, Q and M
  std::size_t line = 0;  // Incomplete: the first line with too few values, counted from 1
  friend bool operator==(const Level1Lookup&, const Level1Lookup&) = default;
};
Level1Lookup FindLevel1Bp(const FamiliarListText& list, std::string_view name);

}  // namespace bpcalc
