#include "secret_protector_win32.h"

#include <windows.h>
#include <wincrypt.h>
#include <dpapi.h>

#include "system_function.h"

namespace switcher {
namespace {

// Mixed into every value: another program that opens the user's protected data in bulk does not
// get ours without knowing it.
constexpr std::string_view kEntropy = "Varndell VRND.INI account secret";
constexpr DWORD kBase64OneLine = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF;

// crypt32 is loaded only once a protected value is read or written.
struct Crypt32 {
  decltype(&CryptProtectData) protect = win32::SystemFunction<decltype(&CryptProtectData)>(
      L"crypt32.dll", "CryptProtectData");
  decltype(&CryptUnprotectData) unprotect = win32::SystemFunction<decltype(&CryptUnprotectData)>(
      L"crypt32.dll", "CryptUnprotectData");
  decltype(&CryptBinaryToStringA) toText = win32::SystemFunction<decltype(&CryptBinaryToStringA)>(
      L"crypt32.dll", "CryptBinaryToStringA");
  decltype(&CryptStringToBinaryA) fromText = win32::SystemFunction<decltype(&CryptStringToBinaryA)>(
      L"crypt32.dll", "CryptStringToBinaryA");

  bool Loaded() const { return protect && unprotect && toText && fromText; }
};

const Crypt32& Functions() {
  static const Crypt32 functions;
  return functions;
}

DATA_BLOB BlobOf(std::string_view bytes) {
  // The functions only read their input blobs.
  return {static_cast<DWORD>(bytes.size()), reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()))};
}

// An output blob that the system allocated; plain text is wiped before it is given back.
class SystemBlob {
 public:
  explicit SystemBlob(bool plain) : m_plain(plain) {}
  ~SystemBlob() {
    if (!blob.pbData) return;
    if (m_plain) SecureZeroMemory(blob.pbData, blob.cbData);
    LocalFree(blob.pbData);
  }
  SystemBlob(const SystemBlob&) = delete;
  SystemBlob& operator=(const SystemBlob&) = delete;

  DATA_BLOB blob{};

 private:
  bool m_plain;
};

}  // namespace

std::optional<std::string> Win32SecretProtector::Protect(std::string_view plain) {
  const Crypt32& crypt = Functions();
  if (!crypt.Loaded()) return std::nullopt;
  DATA_BLOB in = BlobOf(plain);
  DATA_BLOB entropy = BlobOf(kEntropy);
  SystemBlob sealed(false);
  if (!crypt.protect(&in, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &sealed.blob)) {
    return std::nullopt;
  }
  DWORD length = 0;  // with the terminating NUL
  if (!crypt.toText(sealed.blob.pbData, sealed.blob.cbData, kBase64OneLine, nullptr, &length)) return std::nullopt;
  std::string text(length, '\0');
  if (!crypt.toText(sealed.blob.pbData, sealed.blob.cbData, kBase64OneLine, text.data(), &length)) {
    return std::nullopt;
  }
  // Only the Base64 characters: no NUL, and no line break should a system add one anyway.
  std::erase_if(text, [](char c) { return c == '\0' || c == '\r' || c == '\n'; });
  return text;
}

std::optional<std::string> Win32SecretProtector::Unprotect(std::string_view text) {
  const Crypt32& crypt = Functions();
  // An empty length would make the decoder look for a NUL.
  if (!crypt.Loaded() || text.empty()) return std::nullopt;
  const auto textLength = static_cast<DWORD>(text.size());
  DWORD size = 0;
  if (!crypt.fromText(text.data(), textLength, CRYPT_STRING_BASE64, nullptr, &size, nullptr, nullptr)) {
    return std::nullopt;
  }
  std::string sealed(size, '\0');
  if (!crypt.fromText(text.data(), textLength, CRYPT_STRING_BASE64, reinterpret_cast<BYTE*>(sealed.data()), &size,
                      nullptr, nullptr)) {
    return std::nullopt;
  }
  sealed.resize(size);
  DATA_BLOB in = BlobOf(sealed);
  DATA_BLOB entropy = BlobOf(kEntropy);
  SystemBlob plain(true);
  if (!crypt.unprotect(&in, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &plain.blob)) {
    return std::nullopt;
  }
  return std::string(reinterpret_cast<const char*>(plain.blob.pbData), plain.blob.cbData);
}

}  // namespace switcher
