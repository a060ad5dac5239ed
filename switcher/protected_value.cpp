#include "protected_value.h"

#include "shift_jis.h"

namespace settings {

RevealedSecret Reveal(std::string_view stored, std::size_t maxBytes, SecretProtector& protector) {
  if (!IsProtectedForm(stored)) {
    return {SecretForm::Plain, std::string(text::CutAtCharBoundary(stored, maxBytes))};
  }
  std::optional<std::string> plain = protector.Unprotect(stored.substr(kProtectedMarker.size()));
  if (!plain) return {SecretForm::Unreadable, {}};
  return {SecretForm::Protected, std::move(*plain)};
}

std::optional<std::string> Conceal(std::string_view plain, SecretProtector& protector) {
  if (plain.empty()) return std::string();
  std::optional<std::string> sealed = protector.Protect(plain);
  if (!sealed) return std::nullopt;
  return std::string(kProtectedMarker) + *sealed;
}

SecretWrite SecretWriteFor(SecretForm stored, bool typed, bool protect) {
  if (typed) return protect ? SecretWrite::StoreProtected : SecretWrite::StorePlain;
  switch (stored) {
    case SecretForm::Plain: return protect ? SecretWrite::StoreProtected : SecretWrite::Keep;
    case SecretForm::Protected: return protect ? SecretWrite::Keep : SecretWrite::StorePlain;
    case SecretForm::Unreadable: break;
  }
  return SecretWrite::Keep;
}

void Wipe(std::string& text) {
  // Through a volatile pointer, so that the writes are not dropped as dead stores.
  volatile char* bytes = text.data();
  for (std::size_t i = 0; i < text.size(); ++i) bytes[i] = 0;
  text.clear();
}

}  // namespace settings
