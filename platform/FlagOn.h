#pragma once

namespace quillet {

// Sets a flag for a scope and back however the scope is left (a re-entry
// guard for handlers that a change they make would call again).
class FlagOn {
 public:
  explicit FlagOn(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagOn() { flag_ = false; }
  FlagOn(const FlagOn&) = delete;
  FlagOn& operator=(const FlagOn&) = delete;

 private:
  bool& flag_;
};

}  // namespace quillet
