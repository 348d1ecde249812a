#pragma once
// A list that holds its first element in place and moves to the heap only
// for a second: for lists that nearly always hold one (a section's lines),
// where a vector would cost an allocation each.
#include <memory>
#include <utility>
#include <vector>

namespace quillet {

template <class T>
class FirstInPlace {
 public:
  using value_type = T;
  using iterator = T*;
  using const_iterator = const T*;

  bool empty() const { return size() == 0; }
  size_t size() const { return many_ ? many_->size() : (hasOne_ ? 1 : 0); }
  iterator begin() { return many_ ? many_->data() : &one_; }
  iterator end() { return begin() + size(); }
  const_iterator begin() const { return many_ ? many_->data() : &one_; }
  const_iterator end() const { return begin() + size(); }
  T& operator[](size_t i) { return begin()[i]; }
  const T& operator[](size_t i) const { return begin()[i]; }
  T& front() { return *begin(); }
  const T& front() const { return *begin(); }
  T& back() { return end()[-1]; }
  const T& back() const { return end()[-1]; }

  void push_back(T item) {
    if (!many_ && !hasOne_) {
      one_ = std::move(item);
      hasOne_ = true;
      return;
    }
    if (!many_) {
      many_ = std::make_unique<std::vector<T>>();
      many_->reserve(2);
      many_->push_back(std::move(one_));
      one_ = T();
      hasOne_ = false;
    }
    many_->push_back(std::move(item));
  }
  // Keeps a list once allocated: the same section laid out again fills it
  // without allocating.
  void clear() {
    if (many_) many_->clear();
    one_ = T();
    hasOne_ = false;
  }

 private:
  // Without many_, one_ is the list when hasOne_; with it, many_ holds
  // every element.
  T one_{};
  std::unique_ptr<std::vector<T>> many_;
  bool hasOne_ = false;
};

}  // namespace quillet
