#pragma once
// A list that holds its first element in place and moves to the heap only
// for a second: for lists that nearly always hold one (a section's lines),
// where a vector would cost an allocation each. Beside the element it takes
// one word: whether the element is there shares it with the heap list's
// address.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace quillet {

template <class T>
class FirstInPlace {
 public:
  using value_type = T;
  using iterator = T*;
  using const_iterator = const T*;

  FirstInPlace() = default;
  FirstInPlace(const FirstInPlace&) = delete;
  FirstInPlace& operator=(const FirstInPlace&) = delete;
  FirstInPlace(FirstInPlace&& o) noexcept : one_(std::move(o.one_)), state_(std::exchange(o.state_, kEmpty)) {}
  FirstInPlace& operator=(FirstInPlace&& o) noexcept {
    if (this != &o) {
      delete Many();
      one_ = std::move(o.one_);
      state_ = std::exchange(o.state_, kEmpty);
    }
    return *this;
  }
  ~FirstInPlace() { delete Many(); }

  bool empty() const { return size() == 0; }
  size_t size() const {
    if (const std::vector<T>* many = Many()) return many->size();
    return state_ == kOne ? 1 : 0;
  }
  iterator begin() { return Many() ? Many()->data() : &one_; }
  iterator end() { return begin() + size(); }
  const_iterator begin() const { return Many() ? Many()->data() : &one_; }
  const_iterator end() const { return begin() + size(); }
  T& operator[](size_t i) { return begin()[i]; }
  const T& operator[](size_t i) const { return begin()[i]; }
  T& front() { return *begin(); }
  const T& front() const { return *begin(); }
  T& back() { return end()[-1]; }
  const T& back() const { return end()[-1]; }

  void push_back(T item) {
    if (state_ == kEmpty) {
      one_ = std::move(item);
      state_ = kOne;
      return;
    }
    if (state_ == kOne) {
      auto* many = new std::vector<T>();
      many->reserve(2);
      many->push_back(std::move(one_));
      one_ = T();
      state_ = reinterpret_cast<uintptr_t>(many);
    }
    Many()->push_back(std::move(item));
  }
  // Keeps a list once allocated: the same section laid out again fills it
  // without allocating.
  void clear() {
    if (std::vector<T>* many = Many())
      many->clear();
    else
      state_ = kEmpty;
    one_ = T();
  }

 private:
  // kEmpty, kOne (one_ is the list), or the address of the vector that
  // holds every element (a vector's address is never 0 or 1).
  static constexpr uintptr_t kEmpty = 0;
  static constexpr uintptr_t kOne = 1;
  std::vector<T>* Many() const { return state_ > kOne ? reinterpret_cast<std::vector<T>*>(state_) : nullptr; }

  T one_{};
  uintptr_t state_ = kEmpty;
};

}  // namespace quillet
