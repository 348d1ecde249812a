#pragma once
// Failures a command does not handle itself. Each carries its kind (the name
// shown in the batch's error report) and the text the user sees.
#include <stdexcept>
#include <string>

namespace quillet {

// Replaces the first "%s" in fmt with arg.
std::string FormatText(const std::string& fmt, const std::string& arg);

class QuilletError : public std::runtime_error {
 public:
  QuilletError(std::string kind, const std::string& text)
      : std::runtime_error(text), kind_(std::move(kind)) {}
  const std::string& Kind() const { return kind_; }

 private:
  std::string kind_;
};

// "Cannot create file %s": an output file could not be created or replaced.
// The reason, when known, says why in the user's terms ("No space left on
// device", "its folder is read-only"); the text itself stays the fixed one.
class EFCreateError : public QuilletError {
 public:
  explicit EFCreateError(const std::string& path, std::string reason = std::string())
      : QuilletError("EFCreateError", FormatText("Cannot create file %s", path)), reason_(std::move(reason)) {}
  const std::string& Reason() const { return reason_; }

 private:
  std::string reason_;
};

// "Cannot open file %s": an input file could not be opened or read.
class EFOpenError : public QuilletError {
 public:
  explicit EFOpenError(const std::string& path)
      : QuilletError("EFOpenError", FormatText("Cannot open file %s", path)) {}
};

// "Unable to write to %s": a private-profile (INI) write failed.
class EWriteError : public QuilletError {
 public:
  explicit EWriteError(const std::string& path)
      : QuilletError("EIniFileException", FormatText("Unable to write to %s", path)) {}
};

// A system call failed; the text is the system's own description.
class EOSError : public QuilletError {
 public:
  explicit EOSError(const std::string& text) : QuilletError("EOSError", text) {}
};

}  // namespace quillet
