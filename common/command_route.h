#pragma once
// A dialog's commands as one table: each route names a control, or a family of numbered
// controls, and the handler that takes it, so that every control's handler is found in one
// place. A dialog's OnCommand holds its table, looks the ID up with FindRoute and runs the route.
#include <cstddef>
#include <span>

namespace ui {

template <class Owner>
class Route {
 public:
  // The dialog's own work, or a lambda that reaches a unit's handler directly. A family's
  // handler takes the control's place in the family, from 0.
  using Member = void (Owner::*)();
  using Function = void (*)(Owner&);
  using FamilyMember = void (Owner::*)(int place);
  using FamilyFunction = void (*)(Owner&, int place);

  constexpr Route(int id, Member handler) : m_id(id), m_member(handler) {}
  constexpr Route(int id, Function handler) : m_id(id), m_function(handler) {}
  constexpr Route(std::span<const int> family, FamilyMember handler)
      : m_family(family), m_familyMember(handler) {}
  constexpr Route(std::span<const int> family, FamilyFunction handler)
      : m_family(family), m_familyFunction(handler) {}

  // The controls the route takes: its one control, or its family in order.
  constexpr std::span<const int> Ids() const { return m_family.empty() ? std::span<const int>(&m_id, 1) : m_family; }

  // Runs the handler for id, one of Ids().
  void Run(Owner& owner, int id) const {
    if (m_member) return (owner.*m_member)();
    if (m_function) return m_function(owner);
    int place = 0;
    while (m_family[static_cast<std::size_t>(place)] != id) ++place;
    if (m_familyMember) return (owner.*m_familyMember)(place);
    m_familyFunction(owner, place);
  }

 private:
  int m_id = 0;
  std::span<const int> m_family;
  Member m_member = nullptr;
  Function m_function = nullptr;
  FamilyMember m_familyMember = nullptr;
  FamilyFunction m_familyFunction = nullptr;
};

// The route that takes id; nullptr when none does.
template <class Owner>
constexpr const Route<Owner>* FindRoute(std::span<const Route<Owner>> routes, int id) {
  for (const Route<Owner>& route : routes) {
    for (int taken : route.Ids()) {
      if (taken == id) return &route;
    }
  }
  return nullptr;
}

// Runs the route that takes id; false when none does.
template <class Owner>
bool RunRoute(std::span<const Route<Owner>> routes, Owner& owner, int id) {
  const Route<Owner>* route = FindRoute(routes, id);
  if (route) route->Run(owner, id);
  return route != nullptr;
}

// No control is taken twice: each table asserts it where it is written.
template <class Owner>
constexpr bool DistinctIds(std::span<const Route<Owner>> routes) {
  for (std::size_t r = 0; r < routes.size(); ++r) {
    const std::span<const int> ids = routes[r].Ids();
    for (std::size_t i = 0; i < ids.size(); ++i) {
      for (int later : ids.subspan(i + 1)) {
        if (later == ids[i]) return false;
      }
      if (FindRoute(routes.subspan(r + 1), ids[i])) return false;
    }
  }
  return true;
}

}  // namespace ui
