#include "protected_value.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace {

using settings::SecretForm;

TEST(ProtectedValueTest, TheMarkerAloneDecidesHowAStoredValueIsRead) {
  fake::Protector protector;
  const std::string sealed63 = "dpapi:" + *protector.Protect(std::string(63, 'p'));
  struct Case {
    std::string stored;
    SecretForm form;
    std::string text;
  };
  const Case cases[] = {
      {"pw", SecretForm::Plain, "pw"},  // left from before the option, or the option off
      {std::string(70, 'p'), SecretForm::Plain, std::string(63, 'p')},
      {"", SecretForm::Plain, ""},
      {"dpapi:player-7077", SecretForm::Protected, "pw"},  // whatever the option says
      {sealed63, SecretForm::Protected, std::string(63, 'p')},  // read whole
      {sealed63.substr(0, 62), SecretForm::Unreadable, ""},     // cut
      {"dpapi:other-7077", SecretForm::Unreadable, ""},         // another user's
      {"dpapi:player-70x7", SecretForm::Unreadable, ""},        // damaged
  };
  for (const Case& c : cases) {
    const auto revealed = settings::Reveal(c.stored, 63, protector);
    EXPECT_EQ(revealed.form, c.form) << c.stored;
    EXPECT_EQ(revealed.text, c.text) << c.stored;
  }
  EXPECT_EQ(settings::Conceal("pw", protector), "dpapi:player-7077");
  EXPECT_EQ(settings::Conceal("", protector), "");  // nothing to hide
  protector.refuse = true;
  EXPECT_EQ(settings::Conceal("pw", protector), std::nullopt);
}

}  // namespace
