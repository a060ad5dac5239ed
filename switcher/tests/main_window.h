#pragma once
// The main window on fakes, as its tests start it.
#include <gtest/gtest.h>

#include <string>

#include "fake_input.h"
#include "fake_view.h"
#include "fakes.h"
#include "main_dialog.h"

struct MainWindowTest : ::testing::Test {
  fake::FileSystem files;
  fake::Protector protector;
  fake::ShiftJisEncoder encoder;
  fake::Shell shell;
  fake::Tray tray;
  fake::View view;
  fake::Input input;
  switcher::CSwitcherDlg dialog{files, protector, encoder, shell, tray, input};

  // Starts the window on the given settings file (none when empty), with the rate buttons
  // captioned as the template lays them out.
  void Start(const std::string& ini = "") {
    if (!ini.empty()) files.Ini() = ini;
    for (int index = 0; index < switcher::kRateButtonCount; ++index) {
      view.texts[switcher::kRateButtons[index]] = "R" + std::to_string(index % 10 + 1) + "*";
    }
    view.windowId = fake::Input::kMain;
    dialog.Attach(&view);
    dialog.OnInitDialog();
  }
  void Press(int id, int times = 1) {
    for (int i = 0; i < times; ++i) dialog.OnCommand(id);
  }
};
