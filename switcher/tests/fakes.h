#pragma once
// In-memory stand-ins for Varndell's OS services.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fake_file_system.h"
#include "fake_view.h"
#include "secret_protector.h"
#include "settings_file_encoding.h"
#include "shell.h"
#include "tray.h"

namespace fake {

// Seals text for one user, as hex digits behind the user's name: another user's text, or a
// damaged one, does not open.
class Protector final : public settings::SecretProtector {
 public:
  std::string user = "player";
  bool refuse = false;  // Protect fails

  std::optional<std::string> Protect(std::string_view plain) override {
    if (refuse) return std::nullopt;
    std::string text = user + "-";
    for (const unsigned char c : plain) text += {kHex[c >> 4], kHex[c & 15]};
    return text;
  }
  std::optional<std::string> Unprotect(std::string_view text) override {
    if (!text.starts_with(user + "-")) return std::nullopt;
    text.remove_prefix(user.size() + 1);
    std::string plain;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
      const auto high = kHex.find(text[i]), low = kHex.find(text[i + 1]);
      if (high == std::string_view::npos || low == std::string_view::npos) return std::nullopt;
      plain += static_cast<char>(high * 16 + low);
    }
    if (text.size() % 2 != 0) return std::nullopt;
    return plain;
  }

 private:
  static constexpr std::string_view kHex = "0123456789abcdef";
};

// Code page 932 for the few characters the tests use; every other character has no code.
class ShiftJisEncoder final : public settings::ShiftJisEncoder {
 public:
  std::optional<std::string> Encode(char32_t character) const override {
    // Each character in UTF-32 beside its Shift-JIS bytes (the literals are Shift-JIS).
    static constexpr std::pair<char32_t, std::string_view> kCodes[] = {
        {U'\u5168', "全"}, {U'\u822C', "般"}, {U'\u8CBC', "貼"}, {U'\u4ED8', "付"}, {U'\u30E1', "メ"},
        {U'\u30A4', "イ"}, {U'\u30F3', "ン"}, {U'\u00A7', "§"}, {U'\uFF5E', "～"}};
    for (const auto& [unicode, sjis] : kCodes) {
      if (unicode == character) return std::string(sjis);
    }
    return std::nullopt;
  }
};

class Shell final : public switcher::Shell {
 public:
  std::vector<std::filesystem::path> opened;
  std::vector<std::string> arguments;  // of each open
  bool succeed = true;
  std::string error = "指定されたファイルが見つかりません。";  // what Windows says when it fails

  std::uint32_t nextProcess = 4100;  // the process ID the next started program gets

  switcher::Started Open(const std::filesystem::path& target, std::string_view args) override {
    opened.push_back(target);
    arguments.emplace_back(args);
    if (!succeed) return {false, error};
    return {true, {}, nextProcess++};
  }
  std::filesystem::path PathFromText(std::string_view text) const override { return std::string(text); }
  std::string TextFromPath(const std::filesystem::path& path) const override { return path.string(); }
};

// Records every call with what its owner window looked like at that moment.
class Tray final : public switcher::Tray {
 public:
  enum class Op { Add, Delete, Menu, Front };
  struct Call {
    Op op;
    std::string text;  // the tip, or the menu's designated-program caption
    bool visible;      // the owner window at the time of the call
    bool taskbarButton;
    bool ended;        // the owner dialog had already ended
    friend bool operator==(const Call&, const Call&) = default;
  };
  std::vector<Call> calls;
  int iconId = 0;
  bool refuseAdd = false;
  bool iconShown = false;

  bool AddIcon(ui::View& owner, int icon, const std::string& tip) override {
    Record(Op::Add, owner, tip);
    iconId = icon;
    if (refuseAdd) return false;
    iconShown = true;
    return true;
  }
  void DeleteIcon(ui::View& owner) override {
    Record(Op::Delete, owner, "");
    iconShown = false;
  }
  void ShowMenu(ui::View& owner, const std::string& userProgram) override { Record(Op::Menu, owner, userProgram); }
  void BringOpenWindowToFront(ui::View& owner) override { Record(Op::Front, owner, ""); }

 private:
  void Record(Op op, ui::View& owner, const std::string& text) {
    const auto& view = dynamic_cast<const fake::View&>(owner);
    calls.push_back({op, text, view.visible, view.taskbarButton, view.endResult.has_value()});
  }
};

}  // namespace fake
