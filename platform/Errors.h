#pragma once
// Failures a command does not handle itself. Each carries its kind (the name
// shown in the batch's error report) and the text the user sees.
#include <stdexcept>
#include <string>

namespace quillet {

// Replaces the first "%s" in fmt with arg.
std::string FormatText(const std::string& fmt, const std::string& arg);

// The reason, when known, says why in the user's terms ("No space left on
// device", "its folder is read-only"); the text itself stays the fixed one.
class QuilletError : public std::runtime_error {
 public:
  QuilletError(std::string kind, const std::string& text, std::string reason = std::string())
      : std::runtime_error(text), kind_(std::move(kind)), reason_(std::move(reason)) {}
  const std::string& Kind() const { return kind_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string kind_;
  std::string reason_;
};

// The failure's text followed by its reason, when there is one.
inline std::string TextWithReason(const QuilletError& e) {
  return e.Reason().empty() ? std::string(e.what()) : std::string(e.what()) + ": " + e.Reason();
}

// "Cannot create file %s": an output file could not be created or replaced.
class EFCreateError : public QuilletError {
 public:
  explicit EFCreateError(const std::string& path, std::string reason = std::string())
      : QuilletError("EFCreateError", FormatText("Cannot create file %s", path), std::move(reason)) {}
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
  explicit EWriteError(const std::string& path, std::string reason = std::string())
      : QuilletError("EIniFileException", FormatText("Unable to write to %s", path), std::move(reason)) {}
};

// A system call failed; the text is the system's own description.
class EOSError : public QuilletError {
 public:
  explicit EOSError(const std::string& text) : QuilletError("EOSError", text) {}
};

}  // namespace quillet
