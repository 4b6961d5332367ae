#include "StringList.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "Exception.h"
#include "StrUtils.h"
#include "WholeFile.h"

namespace mx::platform {

void TStringList::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) {
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
  }
}

namespace {
// Capacity of pending run k: 64, 256, 1024, ...
std::size_t RunCapacity(std::size_t k) {
  return std::size_t{64} << (2 * k);
}
}  // namespace

// Merges two sorted runs; on equal items those of `newer` come first, as binary insertion of
// the newer items would have placed them.
std::vector<std::string> TStringList::MergeRuns(std::vector<std::string>& newer,
                                                std::vector<std::string>& older) const {
  std::vector<std::string> merged;
  merged.reserve(newer.size() + older.size());
  std::merge(std::make_move_iterator(newer.begin()), std::make_move_iterator(newer.end()),
             std::make_move_iterator(older.begin()), std::make_move_iterator(older.end()),
             std::back_inserter(merged), [this](const std::string& a, const std::string& b) {
               return CompareStrings(a, b) < 0;
             });
  return merged;
}

void TStringList::SettlePending() const {
  // Runs are newest first, so each later run is older than everything merged before it.
  std::vector<std::string> merged;
  for (auto& run : pending_)
    merged = MergeRuns(merged, run);
  items_ = MergeRuns(merged, items_);
  pending_.clear();
  pendingCount_ = 0;
}

void TStringList::Clear() {
  items_.clear();
  pending_.clear();
  pendingCount_ = 0;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  Settle();
  caseSensitive_ = caseSensitive;
}

const std::string& TStringList::Strings(int index) const {
  CheckIndex(index, Count());
  Settle();
  return items_[static_cast<std::size_t>(index)];
}

void TStringList::SetStrings(int index, std::string value) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  CheckIndex(index, Count());
  Settle();
  items_[static_cast<std::size_t>(index)] = std::move(value);
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
  return caseSensitive_ ? CompareStr(a, b) : CompareText(a, b);
}

bool TStringList::Find(std::string_view value, int& index) const {
  Settle();
  int lo = 0;
  int hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    const int i = (lo + hi) >> 1;
    const int c = CompareStrings(items_[static_cast<std::size_t>(i)], value);
    if (c < 0) {
      lo = i + 1;
    } else {
      hi = i - 1;
      if (c == 0) {
        found = true;
        // With duplicates accepted keep searching left, so the run's first item is found.
        if (duplicates_ != TDuplicates::dupAccept) lo = i;
      }
    }
  }
  index = lo;
  return found;
}

int TStringList::Add(std::string value) {
  if (!sorted_) {
    items_.push_back(std::move(value));
    return Count() - 1;
  }
  return AddSorted(std::move(value));
}

int TStringList::AddSorted(std::string value) {
  // The item's index is the number of items before it in every run; an equal item anywhere
  // makes it a duplicate. A new duplicate goes before the equal ones (lower bound).
  const auto lowerBound = [&](const std::vector<std::string>& run, bool& equal) {
    const auto it = std::lower_bound(
        run.begin(), run.end(), value,
        [this](const std::string& a, const std::string& b) { return CompareStrings(a, b) < 0; });
    equal = equal || (it != run.end() && CompareStrings(*it, value) == 0);
    return static_cast<std::size_t>(it - run.begin());
  };
  bool found = false;
  std::size_t index = lowerBound(items_, found);
  for (const auto& run : pending_)
    index += lowerBound(run, found);
  if (found) {
    switch (duplicates_) {
      case TDuplicates::dupIgnore:
        return static_cast<int>(index);
      case TDuplicates::dupError:
        throw EStringListError("String list does not allow duplicates");
      case TDuplicates::dupAccept:
        break;
    }
  }
  if (pending_.empty()) pending_.emplace_back();
  bool unused = false;
  auto& newest = pending_.front();
  const std::size_t at = lowerBound(newest, unused);
  newest.insert(newest.begin() + static_cast<std::ptrdiff_t>(at), std::move(value));
  ++pendingCount_;
  // A full run is merged into the next, older one; the oldest overflows into the list itself.
  for (std::size_t k = 0; k < pending_.size() && pending_[k].size() > RunCapacity(k); ++k) {
    if (k + 1 == pending_.size()) pending_.emplace_back();
    pending_[k + 1] = MergeRuns(pending_[k], pending_[k + 1]);
    pending_[k].clear();
  }
  if (pendingCount_ > items_.size() + RunCapacity(0)) SettlePending();
  return static_cast<int>(index);
}

void TStringList::Insert(int index, std::string value) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  Settle();
  CheckIndex(index, Count() + 1);
  items_.insert(items_.begin() + index, std::move(value));
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count());
  Settle();
  items_.erase(items_.begin() + index);
}

void TStringList::AddStrings(const TStringList& other) {
  // Copy first: `other` may be this list.
  const std::vector<std::string> lines = other.Lines();
  for (const auto& line : lines)
    Add(line);
}

void TStringList::Assign(const TStringList& other) {
  if (&other == this) return;
  Clear();
  AddStrings(other);
}

int TStringList::IndexOf(std::string_view value) const {
  Settle();
  if (sorted_) {
    int index = 0;
    return Find(value, index) ? index : -1;
  }
  // Equality needs no ordering: compare lengths first, then (switches mostly share their first
  // character) the last byte, then the rest.
  const std::size_t size = value.size();
  for (int i = 0; i < Count(); ++i) {
    const std::string& item = items_[static_cast<std::size_t>(i)];
    if (item.size() != size) continue;
    if (caseSensitive_) {
      if (size == 0 ||
          (item.back() == value.back() && std::memcmp(item.data(), value.data(), size) == 0))
        return i;
    } else if (SameText(item, value)) {
      return i;
    }
  }
  return -1;
}

// The classic unstable quicksort whose pivot follows swaps; equal items end up in the same
// order as in the tools whose output we reproduce.
void TStringList::QuickSort(int left, int right) {
  int i = 0;
  int j = 0;
  do {
    i = left;
    j = right;
    int p = (left + right) >> 1;
    do {
      while (CompareStrings(items_[static_cast<std::size_t>(i)],
                            items_[static_cast<std::size_t>(p)]) < 0)
        ++i;
      while (CompareStrings(items_[static_cast<std::size_t>(j)],
                            items_[static_cast<std::size_t>(p)]) > 0)
        --j;
      if (i <= j) {
        if (i != j)
          std::swap(items_[static_cast<std::size_t>(i)], items_[static_cast<std::size_t>(j)]);
        if (p == i) {
          p = j;
        } else if (p == j) {
          p = i;
        }
        ++i;
        --j;
      }
    } while (i <= j);
    if (left < j) QuickSort(left, j);
    left = i;
  } while (i < right);
}

void TStringList::Sort() {
  if (!sorted_ && Count() > 1) QuickSort(0, Count() - 1);
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  Settle();
  if (sorted) Sort();
  sorted_ = sorted;
}

std::string TStringList::Names(int index) const {
  const std::string& line = Strings(index);
  const auto eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TStringList::ValueFromIndex(int index) const {
  const std::string& line = Strings(index);
  const auto eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

int TStringList::IndexOfName(std::string_view name) const {
  Settle();
  for (int i = 0; i < Count(); ++i) {
    const std::string& line = items_[static_cast<std::size_t>(i)];
    const auto eq = line.find('=');
    if (eq != std::string::npos && CompareStrings(std::string_view(line).substr(0, eq), name) == 0)
      return i;
  }
  return -1;
}

std::string TStringList::Values(std::string_view name) const {
  const int i = IndexOfName(name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStringList::SetValue(std::string_view name, std::string_view value) {
  const int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  std::string line = std::string(name) + "=" + std::string(value);
  if (i < 0) {
    Add(std::move(line));
  } else {
    SetStrings(i, std::move(line));
  }
}

std::string TStringList::Text() const {
  Settle();
  std::string text;
  std::size_t size = 0;
  for (const auto& item : items_)
    size += item.size() + 2;
  text.reserve(size);
  for (const auto& item : items_) {
    text += item;
    text += "\r\n";
  }
  return text;
}

void TStringList::SetText(std::string_view text) {
  Clear();
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = FindLineBreak(text, pos);
    if (end == std::string_view::npos) {
      Add(std::string(text.substr(pos)));
      break;
    }
    Add(std::string(text.substr(pos, end - pos)));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
}

void TStringList::LoadFromFile(const std::string& path) {
  const std::string bytes = ReadWholeFile(path);
  std::string_view view(bytes);
  if (view.substr(0, 3) == "\xEF\xBB\xBF") view.remove_prefix(3);
  SetText(view);
}

void TStringList::SaveToFile(const std::string& path) const {
  WriteWholeFile(path, Text());
}

}  // namespace mx::platform
