#include "error_text.h"

#include <windows.h>

#include <array>
#include <string_view>

#include "text.h"

namespace win32 {
namespace {

// Starting a program that asks for administrator rights without the consent prompt (MinGW's
// headers lack the name).
constexpr DWORD kErrorElevationRequired = 740;

struct OwnText {
  DWORD code;
  const char* text;
};
// The wording of a Japanese Windows, for the errors that file operations and starting programs meet.
constexpr std::array<OwnText, 16> kOwnTexts{{
    {ERROR_FILE_NOT_FOUND, "指定されたファイルが見つかりません。"},
    {ERROR_PATH_NOT_FOUND, "指定されたパスが見つかりません。"},
    {ERROR_ACCESS_DENIED, "アクセスが拒否されました。"},
    {ERROR_WRITE_PROTECT, "メディアは書き込み禁止になっています。"},
    {ERROR_SHARING_VIOLATION, "プロセスはファイルにアクセスできません。別のプロセスが使用中です。"},
    {ERROR_LOCK_VIOLATION, "プロセスはファイルにアクセスできません。別のプロセスがファイルの一部をロックしています。"},
    {ERROR_HANDLE_DISK_FULL, "ディスクがいっぱいです。"},
    {ERROR_FILE_EXISTS, "ファイルが存在します。"},
    {ERROR_DISK_FULL, "ディスクに十分な空き領域がありません。"},
    {ERROR_DIR_NOT_EMPTY, "ディレクトリが空ではありません。"},
    {ERROR_ALREADY_EXISTS, "既に存在するファイルを作成することはできません。"},
    {ERROR_BAD_EXE_FORMAT, "有効な Win32 アプリケーションではありません。"},
    {kErrorElevationRequired, "要求された操作には管理者特権が必要です。"},
    {ERROR_CANCELLED, "この操作はユーザーによって取り消されました。"},
    {ERROR_NO_ASSOCIATION, "指定されたファイルには、この操作を実行するためのアプリケーションが関連付けられていません。"},
    {ERROR_USER_MAPPED_FILE, "ユーザー マップ セクションで開かれたファイルに要求した操作は実行できません。"},
}};

// The system's message for the code in the given language; empty when it has none.
std::wstring SystemText(DWORD code, DWORD language) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, language, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? std::wstring_view(buffer, length) : std::wstring_view());
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  return text;
}

}  // namespace

std::string ErrorText(unsigned long code) {
  const std::wstring japanese = SystemText(code, MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
  return japanese.empty() ? FallbackErrorText(code) : Narrow(japanese);
}

std::string FallbackErrorText(unsigned long code) {
  for (const OwnText& own : kOwnTexts) {
    if (own.code == code) return own.text;
  }
  const std::string number = "(エラー " + std::to_string(code) + ")";
  const std::wstring system = SystemText(code, 0);
  return system.empty() ? number : Narrow(system) + " " + number;
}

fsys::Cause CauseOf(unsigned long code) {
  switch (code) {
    case ERROR_SUCCESS: return fsys::Cause::None;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return fsys::Cause::Held;
    case ERROR_ACCESS_DENIED: return fsys::Cause::Denied;
    default: return fsys::Cause::Other;
  }
}

}  // namespace win32
