#pragma once
// The dependencies between the actions of a build script (each action's DependsOn), as a graph:
// what validate checks, what the runner schedules by, and what a CI pipeline is planned from.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "moxtal/api/Action.h"

namespace mx::engine {

class TActionGraph {
 public:
  /// The graph of `actions` (in the script's order). A dependency on a name no action of
  /// `actions` has is left out of the graph and reported by Problems.
  explicit TActionGraph(std::vector<std::shared_ptr<TCustomMxAction>> actions);

  const std::vector<std::shared_ptr<TCustomMxAction>>& Actions() const { return actions_; }
  /// The positions of the actions that action `i` depends on, in the order it names them.
  const std::vector<std::size_t>& Needs(std::size_t i) const { return needs_[i]; }

  /// What is wrong with the dependencies, one sentence each naming the actions: a name no
  /// action has (with the nearest name), an action that depends on itself, and each cycle.
  std::vector<std::string> Problems() const;
  /// The length of the longest chain of dependencies before each action (0 for one that
  /// depends on nothing). Only for a graph without cycles.
  std::vector<std::size_t> Levels() const;

 private:
  /// A cycle reached from action `start` (one that is not `ordered`), as the positions along
  /// it; empty when there is none.
  std::vector<std::size_t> CycleFrom(std::size_t start, const std::vector<bool>& ordered) const;

  std::vector<std::shared_ptr<TCustomMxAction>> actions_;
  std::vector<std::vector<std::size_t>> needs_;
  std::vector<std::string> unknown_;  // "action: name" of the names no action has
};

/// The names of `names` as a list a user reads back and types into DependsOn: "A,B".
std::string JoinActionNames(const std::vector<std::string>& names);

}  // namespace mx::engine
