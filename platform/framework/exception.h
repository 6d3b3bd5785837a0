#pragma once
// Base of every exception the framework and the library raise.
#include <exception>
#include <utility>

#include "platform/framework/ansi_string.h"

class Exception : public std::exception {
 public:
  explicit Exception(AnsiString message) : Message(std::move(message)) {}

  const char* what() const noexcept override { return Message.c_str(); }

  AnsiString Message;
};

// Raised when a file stream cannot open its file.
class EFOpenError : public Exception {
 public:
  using Exception::Exception;
};

// Raised when a stream cannot deliver or take the bytes asked for.
class EReadError : public Exception {
 public:
  using Exception::Exception;
};
