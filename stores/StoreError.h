#pragma once
// A store that cannot be read or written as asked: its text says why, in the
// user's terms.
#include "platform/Errors.h"

namespace quillet {

class StoreError : public QuilletError {
 public:
  explicit StoreError(const std::string& text) : QuilletError("EStoreError", text) {}
};

}  // namespace quillet
