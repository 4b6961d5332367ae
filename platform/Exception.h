#pragma once

#include <stdexcept>
#include <string>

namespace mx {

/// Base of every error the system raises: a message and nothing more. Message texts are part of
/// the product's behaviour and are compared byte for byte by tests.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

namespace platform {

/// A text could not be converted to a number or a Boolean.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

/// A file could not be opened, read or written. Besides the message it keeps the file and the
/// system's reason, for callers that word the message their own way.
class EFOpenError : public Exception {
 public:
  EFOpenError(const std::string& message, std::string path = {}, std::string reason = {})
      : Exception(message), path_(std::move(path)), reason_(std::move(reason)) {}
  const std::string& Path() const { return path_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

/// An object was asked for a type it is not.
class EInvalidCast : public Exception {
 public:
  EInvalidCast() : Exception("Invalid class typecast") {}
  using Exception::Exception;
};

/// An operation on a string list that its state forbids (bad index, sorted list, duplicate).
class EStringListError : public Exception {
 public:
  using Exception::Exception;
};

/// A floating-point value out of the range of the requested integer.
class EInvalidOp : public Exception {
 public:
  EInvalidOp() : Exception("Invalid floating point operation") {}
};

}  // namespace platform
}  // namespace mx
