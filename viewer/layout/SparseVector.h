#pragma once
// A vector that is usually empty, behind one pointer: the size of a pointer
// where std::vector takes three, and no allocation until the first element.
// A big page has a text section per line and a line record per laid-out
// line; pictures, form controls and right-to-left runs are rare among them,
// so their lists take one word each instead of three.
//
// Offers the part of std::vector's interface the layout uses; iterators and
// references stay valid as long as they would be there (an
// element added to an empty list allocates the vector); iterators are
// pointers, null for an empty list.
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace quillet {

template <class T>
class SparseVector {
 public:
  using value_type = T;
  using iterator = T*;
  using const_iterator = const T*;

  SparseVector() = default;
  SparseVector(std::vector<T> items) { *this = std::move(items); }
  SparseVector(SparseVector&&) noexcept = default;
  SparseVector& operator=(SparseVector&&) noexcept = default;
  SparseVector(const SparseVector& o) : v_(o.empty() ? nullptr : std::make_unique<std::vector<T>>(*o.v_)) {}
  SparseVector& operator=(const SparseVector& o) {
    if (this != &o) v_ = o.empty() ? nullptr : std::make_unique<std::vector<T>>(*o.v_);
    return *this;
  }
  // An empty vector given keeps nothing allocated.
  SparseVector& operator=(std::vector<T> items) {
    if (items.empty())
      v_.reset();
    else
      v_ = std::make_unique<std::vector<T>>(std::move(items));
    return *this;
  }

  bool empty() const { return !v_ || v_->empty(); }
  size_t size() const { return v_ ? v_->size() : 0; }
  iterator begin() { return v_ ? v_->data() : nullptr; }
  iterator end() { return v_ ? v_->data() + v_->size() : nullptr; }
  const_iterator begin() const { return v_ ? v_->data() : nullptr; }
  const_iterator end() const { return v_ ? v_->data() + v_->size() : nullptr; }
  T& operator[](size_t i) { return (*v_)[i]; }
  const T& operator[](size_t i) const { return (*v_)[i]; }
  T& front() { return v_->front(); }
  const T& front() const { return v_->front(); }
  T& back() { return v_->back(); }
  const T& back() const { return v_->back(); }

  void push_back(T item) { Items().push_back(std::move(item)); }
  template <class... Args>
  T& emplace_back(Args&&... args) {
    return Items().emplace_back(std::forward<Args>(args)...);
  }
  void clear() { v_.reset(); }

  bool operator==(const SparseVector& o) const {
    return size() == o.size() && (empty() || *v_ == *o.v_);
  }

 private:
  std::vector<T>& Items() {
    if (!v_) v_ = std::make_unique<std::vector<T>>();
    return *v_;
  }
  std::unique_ptr<std::vector<T>> v_;
};

static_assert(sizeof(SparseVector<int>) == sizeof(void*));

}  // namespace quillet
