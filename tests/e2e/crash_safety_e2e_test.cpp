// Varndell under Wine killed at random instants of a switch or a settings write.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "varndell_fixture.h"

namespace {

class CrashSafetyTest : public VarndellTest {};

// Kills at random instants of account switches and settings writes, each followed by a start:
// no account's settings and no save may be lost, no temporary copy of the settings may stay,
// and the pushed button must name the account whose save is live.
TEST_F(CrashSafetyTest, KillsDuringSwitchesAndSettingsWritesLoseNothing) {
  constexpr int kKills = 200;
  constexpr int kMaxDelayMs = 40;
  std::string ini = "[全般]\r\ntitle1=T\r\nsetdata=1\r\n[貼付]\r\n";
  for (int slot = 1; slot <= 6; ++slot) {
    const std::string n = "0" + std::to_string(slot);
    ini += n + "ID=id" + n + "\r\n" + n + "PASS=pw" + n + "\r\n" + n + "KEY=key" + n + "\r\n";
  }
  ASSERT_TRUE(m_game.Write("data\\save.dat", "S1"));
  for (int slot = 2; slot <= 6; ++slot) ASSERT_TRUE(m_game.Write("data\\save" + std::to_string(slot) + ".dat", "S" + std::to_string(slot)));
  ASSERT_NO_FATAL_FAILURE(StartWithSettings(ini));

  std::mt19937 random(20261207);
  for (int kill = 0; kill < kKills; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill));
    if (kill % 2 == 0) {
      m_main.Click(kAccountButtons[random() % kAccountButtons.size()]);
    } else {
      const Window settings = OpenSettings();
      ASSERT_TRUE(settings);
      ASSERT_TRUE(settings.SetText(kDisplayNames[0], L"T" + std::to_wstring(kill)));
      settings.PostCommand(kSettingsOk);
    }
    Sleep(random() % (kMaxDelayMs + 1));
    m_varndell->Kill();
    ASSERT_NO_FATAL_FAILURE(Start());

    const std::optional<std::string> file = SettingsFile();
    ASSERT_TRUE(file) << "VRND.INI is gone";
    for (int slot = 1; slot <= 6; ++slot) {
      const std::string n = "0" + std::to_string(slot);
      ASSERT_EQ(IniValue(*file, "貼付", n + "PASS"), "pw" + n) << *file;
    }
    for (const auto& entry : std::filesystem::directory_iterator(m_game.Path())) {
      ASSERT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
    const int slot = std::stoi(IniValue(*file, "全般", "setdata").value_or("0"));
    ASSERT_TRUE(slot >= 1 && slot <= 6);
    ASSERT_EQ(m_game.Read("data\\save.dat"), "S" + std::to_string(slot)) << "the live save is not the recorded account's";
    ASSERT_TRUE(m_main.IsPushed(kAccountButtons[slot - 1]));
    for (int other = 1; other <= 6; ++other) {
      if (other == slot) continue;
      ASSERT_EQ(m_game.Read("data\\save" + std::to_string(other) + ".dat"), "S" + std::to_string(other));
    }
  }
  std::printf("kill loop: %d kills, half in switches, half in settings writes; nothing lost\n", kKills);
}

}  // namespace
