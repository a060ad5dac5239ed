#include "command_route.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

struct Panel {
  std::string call;
  void Save() { call = "save"; }
  void Pick(int place) { call = "pick " + std::to_string(place); }
};

constexpr std::array kPicks{30, 31, 35};
constexpr std::array kSlots{40, 41};
constexpr std::array kOverlapping{3, 31};
constexpr std::array kRepeated{5, 5};
constexpr ui::Route<Panel> kRoutes[] = {
    {1, &Panel::Save},
    {2, [](Panel& p) { p.call = "unit"; }},
    {kPicks, &Panel::Pick},
    {kSlots, [](Panel& p, int place) { p.call = "slot " + std::to_string(place + 1); }},
};

TEST(CommandRouteTest, EachControlReachesItsHandlerAndAFamilyMemberItsPlace) {
  const struct {
    int id;
    const char* call;
  } cases[] = {{1, "save"}, {2, "unit"}, {30, "pick 0"}, {35, "pick 2"}, {41, "slot 2"}};
  for (const auto& c : cases) {
    Panel panel;
    const ui::Route<Panel>* route = ui::FindRoute<Panel>(kRoutes, c.id);
    ASSERT_NE(route, nullptr) << c.id;
    route->Run(panel, c.id);
    EXPECT_EQ(panel.call, c.call);
  }
  EXPECT_EQ(ui::FindRoute<Panel>(kRoutes, 32), nullptr);
}

TEST(CommandRouteTest, DistinctIdsFindsAControlTakenTwice) {
  constexpr ui::Route<Panel> acrossRoutes[] = {{kPicks, &Panel::Pick}, {kOverlapping, &Panel::Pick}};
  constexpr ui::Route<Panel> singles[] = {{3, &Panel::Save}, {3, &Panel::Save}};
  constexpr ui::Route<Panel> inFamily[] = {{kRepeated, &Panel::Pick}};
  EXPECT_TRUE(ui::DistinctIds<Panel>(kRoutes));
  EXPECT_FALSE(ui::DistinctIds<Panel>(acrossRoutes));
  EXPECT_FALSE(ui::DistinctIds<Panel>(singles));
  EXPECT_FALSE(ui::DistinctIds<Panel>(inFamily));
}

}  // namespace
