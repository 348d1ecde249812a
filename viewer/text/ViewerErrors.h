#pragma once
// The pane's two failures. Bad markup and broken pictures are never
// reported; these two are.
#include "platform/Errors.h"

namespace quillet {

// Raised by the reader: "Open Comment at End of HTML File".
class EParseError : public QuilletError {
 public:
  explicit EParseError(const std::string& text) : QuilletError("EParseError", text) {}
};

// Raised by a block's layout ("Table has too many Columns"); the enclosing
// cell shows it and drops the block.
class EProcessError : public QuilletError {
 public:
  explicit EProcessError(const std::string& text) : QuilletError("EProcessError", text) {}
};

inline constexpr const char* kOpenCommentMessage = "Open Comment at End of HTML File";
inline constexpr const char* kTooManyColumnsMessage = "Table has too many Columns";

}  // namespace quillet
