#include "ActionGraph.h"

#include <algorithm>
#include <unordered_map>

#include "platform/StrUtils.h"

namespace mx::engine {

TActionGraph::TActionGraph(std::vector<std::shared_ptr<TCustomMxAction>> actions)
    : actions_(std::move(actions)), needs_(actions_.size()) {
  std::unordered_map<std::string, std::size_t> byName;
  for (std::size_t i = 0; i < actions_.size(); ++i)
    byName.emplace(platform::UpperCase(actions_[i]->Name()), i);
  std::vector<std::string> names;
  for (const auto& a : actions_)
    names.push_back(a->Name());
  for (std::size_t i = 0; i < actions_.size(); ++i) {
    for (const auto& name : actions_[i]->DependsOn()) {
      const auto it = byName.find(platform::UpperCase(name));
      if (it == byName.end()) {
        unknown_.push_back(actions_[i]->Name() + ": DependsOn: no action is named \"" + name +
                           "\"" + platform::NamesHint(name, names, "the actions"));
      } else if (std::find(needs_[i].begin(), needs_[i].end(), it->second) == needs_[i].end()) {
        needs_[i].push_back(it->second);
      }
    }
  }
}

namespace {

// The positions in an order where each comes after those it needs (Kahn's); those left out are
// in a cycle or depend on one.
std::vector<std::size_t> DependencyOrder(const std::vector<std::vector<std::size_t>>& needs,
                                         std::vector<bool>& ordered) {
  const std::size_t n = needs.size();
  std::vector<std::size_t> waiting(n);
  std::vector<std::vector<std::size_t>> neededBy(n);
  for (std::size_t i = 0; i < n; ++i) {
    waiting[i] = needs[i].size();
    for (const std::size_t need : needs[i])
      neededBy[need].push_back(i);
  }
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < n; ++i) {
    if (waiting[i] == 0) order.push_back(i);
  }
  for (std::size_t k = 0; k < order.size(); ++k) {
    for (const std::size_t next : neededBy[order[k]]) {
      if (--waiting[next] == 0) order.push_back(next);
    }
  }
  ordered.assign(n, false);
  for (const std::size_t i : order)
    ordered[i] = true;
  return order;
}

}  // namespace

std::vector<std::size_t> TActionGraph::CycleFrom(std::size_t start,
                                                 const std::vector<bool>& ordered) const {
  // Every action left out needs another one left out: following such needs must come round.
  std::vector<std::size_t> path;
  std::vector<std::size_t> seenAt(actions_.size(), SIZE_MAX);
  std::size_t at = start;
  while (seenAt[at] == SIZE_MAX) {
    seenAt[at] = path.size();
    path.push_back(at);
    const auto next = std::find_if(needs_[at].begin(), needs_[at].end(),
                                   [&](std::size_t need) { return !ordered[need]; });
    if (next == needs_[at].end()) return {};
    at = *next;
  }
  return {path.begin() + static_cast<std::ptrdiff_t>(seenAt[at]), path.end()};
}

std::vector<std::string> TActionGraph::Problems() const {
  std::vector<std::string> problems = unknown_;
  std::vector<bool> ordered;
  DependencyOrder(needs_, ordered);
  std::vector<bool> reported(actions_.size(), false);
  for (std::size_t i = 0; i < actions_.size(); ++i) {
    if (ordered[i] || reported[i]) continue;
    const auto cycle = CycleFrom(i, ordered);
    if (cycle.empty() ||
        std::any_of(cycle.begin(), cycle.end(), [&](std::size_t c) { return reported[c]; }))
      continue;
    if (cycle.size() == 1) {
      problems.push_back(actions_[cycle[0]]->Name() + ": DependsOn: the action depends on itself");
      reported[cycle[0]] = true;
      continue;
    }
    std::string chain;
    for (const std::size_t c : cycle) {
      chain += actions_[c]->Name() + " -> ";
      reported[c] = true;
    }
    chain += actions_[cycle[0]]->Name();
    problems.push_back(actions_[cycle[0]]->Name() +
                       ": DependsOn: these actions depend on each other in a cycle, so none of "
                       "them can start: " +
                       chain);
  }
  return problems;
}

std::vector<std::size_t> TActionGraph::Levels() const {
  std::vector<bool> ordered;
  std::vector<std::size_t> levels(actions_.size(), 0);
  for (const std::size_t i : DependencyOrder(needs_, ordered)) {
    for (const std::size_t need : needs_[i])
      levels[i] = std::max(levels[i], levels[need] + 1);
  }
  return levels;
}

std::string JoinActionNames(const std::vector<std::string>& names) {
  std::string text;
  for (const auto& name : names)
    text += (text.empty() ? "" : ",") + name;
  return text;
}

}  // namespace mx::engine
