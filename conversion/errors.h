#pragma once
// The error classes of the conversion. Every error is an `Exception` carrying its message;
// the message is the whole text shown to the user, without the full stop a report may add.

#include <exception>
#include <string>
#include <string_view>

namespace pound {

class Exception : public std::exception {
  public:
    explicit Exception(std::string message);

    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

    // Code address at which the error was raised, for fatal reports.
    const void* RaiseAddress() const noexcept { return raiseAddress_; }

  private:
    std::string message_;
    const void* raiseAddress_;
};

// A text that is not a number.
class EConvertError : public Exception {
  public:
    using Exception::Exception;
};

// A number beyond the range of a double.
class EOverflow : public Exception {
  public:
    using Exception::Exception;
};

// The message as an error report shows it: a full stop is appended when the last byte is
// above "." (0x2E), so a letter, digit, "?" or ":" gets one, and a blank, a control
// character, "." or one of "!" to "-" does not. An empty message stays empty.
std::string WithReportFullStop(std::string_view message);

}  // namespace pound
