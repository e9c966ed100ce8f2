// Errors that escape a handler and end up in the framework's error report.
#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// Base of every error the framework reports; what() is the CP932 text shown
// (the report adds the final ".").
class FrameworkError : public std::runtime_error {
public:
    explicit FrameworkError(const std::string& text) : std::runtime_error(text) {}
};

// A file operation failed with a system error code (Windows numbering).
class IOError : public FrameworkError {
public:
    explicit IOError(int code);
    int code() const { return code_; }

private:
    int code_;
};

// The framework's text for a file error code.
std::string ioErrorText(int code);

// A text that is not a whole number: "'%s' は整数ではありません".
class ConvertError : public FrameworkError {
public:
    explicit ConvertError(const std::string& notANumber);
};

// Text that cannot be carried between CP932 and the host's encoding.
class EncodingError : public FrameworkError {
public:
    explicit EncodingError(const std::string& text) : FrameworkError(text) {}
};

}  // namespace platform
