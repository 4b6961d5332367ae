#pragma once
// Small value types shared by the host and its packages: enumerations that know their value
// names, and bit sets over them.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mx {

/// The names of an enumeration's values in ordinal order, and the enumeration's own name.
class TEnumInfo {
 public:
  /// `valueList` is the enumerators as written in the declaration: "a, b, c".
  TEnumInfo(std::string typeName, std::string_view valueList);
  const std::string& TypeName() const { return typeName_; }
  const std::vector<std::string>& Names() const { return names_; }
  int Count() const { return static_cast<int>(names_.size()); }
  /// The name of an ordinal, or "" when out of range.
  std::string Name(int ordinal) const;
  /// The ordinal of a name compared without regard to letter case.
  std::optional<int> Ordinal(std::string_view name) const;

 private:
  std::string typeName_;
  std::vector<std::string> names_;
};

/// Declares an 8-bit enumeration class together with EnumInfoOf(), which gives its value names.
#define MX_ENUM(Name, ...)                                  \
  enum class Name : std::uint8_t { __VA_ARGS__ };           \
  inline const ::mx::TEnumInfo& EnumInfoOf(Name) {          \
    static const ::mx::TEnumInfo info(#Name, #__VA_ARGS__); \
    return info;                                            \
  }

/// A set over an enumeration of at most 32 values: bit n stands for ordinal n.
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> members) {
    for (E e : members)
      Include(e);
  }
  static constexpr TSet FromBits(std::uint32_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }
  constexpr std::uint32_t Bits() const { return bits_; }
  constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr void Include(E e) { bits_ |= Bit(e); }
  constexpr void Exclude(E e) { bits_ &= ~Bit(e); }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr std::uint32_t Bit(E e) { return std::uint32_t{1} << static_cast<unsigned>(e); }
  std::uint32_t bits_ = 0;
};

}  // namespace mx
