#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mx::platform {

/// What a sorted list does with an item equal to one it already holds.
enum class TDuplicates : std::uint8_t { dupIgnore, dupAccept, dupError };

/// An ordered list of text lines with the behaviour that the project-file and resource algorithms
/// rely on: optional sorted insertion with duplicate handling, switchable case sensitivity for
/// every comparison, name=value access and a Text form with CR LF after every line.
///
/// Defaults: unsorted, dupIgnore, case-insensitive. Comparisons are ordinal on bytes; without
/// case sensitivity the ASCII letters are folded to upper case first.
class TStringList {
 public:
  TStringList() = default;
  /// A list holding the lines of `text` (split as by SetText).
  explicit TStringList(std::string_view text) { SetText(text); }

  int Count() const { return static_cast<int>(items_.size() + pendingCount_); }
  bool Empty() const { return Count() == 0; }

  /// Item `index`; throws EStringListError "List index out of bounds (<index>)".
  const std::string& Strings(int index) const;
  const std::string& operator[](int index) const { return Strings(index); }
  /// Replaces item `index`; not allowed on a sorted list.
  void SetStrings(int index, std::string value);

  /// Appends, or on a sorted list inserts at the sorted position. On a sorted list an item equal
  /// to an existing one is dropped (dupIgnore, returning the existing index), raises
  /// (dupError) or goes before the equal ones (dupAccept). Returns the item's index.
  int Add(std::string value);
  /// Inserts at `index` (0..Count); not allowed on a sorted list.
  void Insert(int index, std::string value);
  void Delete(int index);
  void Clear();
  /// Appends every line of `other` through Add.
  void AddStrings(const TStringList& other);
  /// Replaces the lines with those of `other`; this list keeps its own sorting, duplicate and
  /// case settings, so a sorted target re-sorts and drops duplicates as Add does.
  void Assign(const TStringList& other);

  /// Index of the first item equal to `value` (binary search on a sorted list), or -1.
  int IndexOf(std::string_view value) const;
  /// Binary search of a sorted list: true when an equal item exists, `index` is its position or
  /// the position where `value` would be inserted.
  bool Find(std::string_view value, int& index) const;
  /// Sorts the items unless the list is already sorted.
  void Sort();

  bool Sorted() const { return sorted_; }
  /// Turning sorting on sorts the items at once (duplicates already present stay).
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool caseSensitive);

  /// <0, 0 or >0 under the list's case sensitivity.
  int CompareStrings(std::string_view a, std::string_view b) const;

  /// The part of item `index` before its first "=", or "" when it has none.
  std::string Names(int index) const;
  /// The part of item `index` after its first "=", or "" when it has none.
  std::string ValueFromIndex(int index) const;
  /// Index of the first item whose name equals `name` (list case rules), or -1. Items without
  /// "=" never match.
  int IndexOfName(std::string_view name) const;
  /// Value of the first item named `name`, or "" when there is none.
  std::string Values(std::string_view name) const;
  /// Sets the value of the first item named `name` to `value` (the line becomes name=value with
  /// the caller's spelling of the name); appends name=value when no item has that name; an
  /// empty value deletes the first item of that name instead.
  void SetValue(std::string_view name, std::string_view value);

  /// Every item followed by CR LF; "" for an empty list.
  std::string Text() const;
  /// Replaces the items by the lines of `text`, split at CR, LF or CR LF; a final line break
  /// adds no empty item. On a sorted list the lines go through Add.
  void SetText(std::string_view text);

  /// Loads the lines of a file (bytes unchanged, a UTF-8 byte-order mark dropped). Throws
  /// EFOpenError 'Cannot open file "<path>". <reason>' when it cannot be read.
  void LoadFromFile(const std::string& path);
  /// Writes Text() to a file. Throws EFOpenError 'Cannot create file "<path>". <reason>'.
  void SaveToFile(const std::string& path) const;

  std::vector<std::string>::const_iterator begin() const { return Lines().begin(); }
  std::vector<std::string>::const_iterator end() const { return Lines().end(); }
  const std::vector<std::string>& Lines() const {
    Settle();
    return items_;
  }

 private:
  void CheckIndex(int index, int limit) const;
  void QuickSort(int left, int right);
  int AddSorted(std::string value);
  /// Merges the pending runs of a sorted list into `items_`.
  void Settle() const {
    if (pendingCount_ != 0) SettlePending();
  }
  void SettlePending() const;
  std::vector<std::string> MergeRuns(std::vector<std::string>& newer,
                                     std::vector<std::string>& older) const;

  // A sorted list keeps recent additions in pending sorted runs of growing size (newest first)
  // and merges them into `items_` before anything reads the list by position, so that adding n
  // items costs O(n log n) instead of moving the whole list for each one.
  mutable std::vector<std::string> items_;
  mutable std::vector<std::vector<std::string>> pending_;
  mutable std::size_t pendingCount_ = 0;
  bool sorted_ = false;
  TDuplicates duplicates_ = TDuplicates::dupIgnore;
  bool caseSensitive_ = false;
};

/// Sets a list's case sensitivity for the lifetime of the guard and restores the previous
/// setting afterwards, so that one look-up can use other rules than the list's own.
class TCaseSensitivityGuard {
 public:
  TCaseSensitivityGuard(TStringList& list, bool caseSensitive)
      : list_(list), previous_(list.CaseSensitive()) {
    list_.SetCaseSensitive(caseSensitive);
  }
  ~TCaseSensitivityGuard() { list_.SetCaseSensitive(previous_); }
  TCaseSensitivityGuard(const TCaseSensitivityGuard&) = delete;
  TCaseSensitivityGuard& operator=(const TCaseSensitivityGuard&) = delete;

 private:
  TStringList& list_;
  bool previous_;
};

}  // namespace mx::platform
