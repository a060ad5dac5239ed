#include "protected_value.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace {

using settings::SecretForm;

TEST(ProtectedValueTest, TheOptionAndTheMarkerDecideHowAStoredValueIsRead) {
  fake::Protector protector;
  const std::string sealed63 = "dpapi:" + *protector.Protect(std::string(63, 'p'));
  struct Case {
    bool on;
    std::string stored;
    SecretForm form;
    std::string text;
  };
  const Case cases[] = {
      {false, "pw", SecretForm::Plain, "pw"},
      {false, "dpapi:player-7077", SecretForm::Plain, "dpapi:player-7077"},  // the option is off
      {true, "pw", SecretForm::Plain, "pw"},                                 // left from before
      {true, std::string(70, 'p'), SecretForm::Plain, std::string(63, 'p')},
      {true, "", SecretForm::Plain, ""},
      {true, "dpapi:player-7077", SecretForm::Protected, "pw"},
      {true, sealed63, SecretForm::Protected, std::string(63, 'p')},  // read whole
      {true, "dpapi:other-7077", SecretForm::Unreadable, ""},         // another user's
      {true, "dpapi:player-70x7", SecretForm::Unreadable, ""},        // damaged
  };
  for (const Case& c : cases) {
    const auto revealed = settings::Reveal(c.stored, c.on, 63, protector);
    EXPECT_EQ(revealed.form, c.form) << c.stored;
    EXPECT_EQ(revealed.text, c.text) << c.stored;
  }
  EXPECT_EQ(settings::Conceal("pw", protector), "dpapi:player-7077");
  EXPECT_EQ(settings::Conceal("", protector), "");  // nothing to hide
  protector.refuse = true;
  EXPECT_EQ(settings::Conceal("pw", protector), std::nullopt);
}

}  // namespace
