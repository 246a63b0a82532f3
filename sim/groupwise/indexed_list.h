#pragma once

// A list that keeps its insertion order and is also indexed by a key member of its elements.
// Mailboxes can be large: GetMessage and Messages.Item(id) find an item by its MessageID
// without a scan, Item(i) over 1..Count stays linear in all, and deleting an item does not
// shift the others (the positional index is rebuilt once, on the next positional access).
// Elements never move, so a pointer to one stays good until the generation changes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <stdexcept>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace sim {

template <typename T, auto KeyMember>
class IndexedList {
 public:
  using Key = std::remove_cvref_t<decltype(std::declval<T&>().*KeyMember)>;
  using iterator = typename std::list<T>::iterator;
  using const_iterator = typename std::list<T>::const_iterator;

  IndexedList() = default;
  IndexedList(const IndexedList& other) {
    for (const T& element : other.elements_)
      push_back(element);
  }
  IndexedList& operator=(const IndexedList& other) {
    if (this != &other) {
      IndexedList copy(other);
      *this = std::move(copy);
    }
    return *this;
  }
  // Moving a std::list keeps its nodes, so the stored iterators stay valid.
  IndexedList(IndexedList&&) noexcept = default;
  IndexedList& operator=(IndexedList&& other) noexcept {
    const uint64_t generation = std::max(generation_, other.generation_) + 1;
    elements_ = std::move(other.elements_);
    byKey_ = std::move(other.byKey_);
    positions_ = std::move(other.positions_);
    positionsStale_ = other.positionsStale_;
    generation_ = generation;
    return *this;
  }
  ~IndexedList() = default;

  // The key must be new (Contains tells); the element's key member must not change afterwards.
  T& push_back(T element) {
    if (Contains(element.*KeyMember)) throw std::invalid_argument("duplicate key in IndexedList");
    elements_.push_back(std::move(element));
    const iterator added = std::prev(elements_.end());
    byKey_.emplace((*added).*KeyMember, added);
    if (!positionsStale_) positions_.push_back(added);
    return *added;
  }

  bool Contains(const Key& key) const { return byKey_.find(key) != byKey_.end(); }
  T* Find(const Key& key) {
    auto found = byKey_.find(key);
    return found == byKey_.end() ? nullptr : &*found->second;
  }
  const T* Find(const Key& key) const {
    auto found = byKey_.find(key);
    return found == byKey_.end() ? nullptr : &*found->second;
  }
  bool Erase(const Key& key) {
    auto found = byKey_.find(key);
    if (found == byKey_.end()) return false;
    elements_.erase(found->second);
    byKey_.erase(found);
    positionsStale_ = true;
    ++generation_;
    return true;
  }

  // Changes whenever an element may have gone (erased, or the whole list replaced), so that a
  // pointer to an element can be kept instead of a key to find it by: it is good for as long as
  // the generation is the one it was taken at. Adding elements leaves pointers good.
  uint64_t Generation() const { return generation_; }

  std::size_t size() const { return elements_.size(); }
  bool empty() const { return elements_.empty(); }
  // By position from 0, in insertion order.
  T& operator[](std::size_t position) { return *Positions()[position]; }
  const T& operator[](std::size_t position) const { return *Positions()[position]; }

  iterator begin() { return elements_.begin(); }
  iterator end() { return elements_.end(); }
  const_iterator begin() const { return elements_.begin(); }
  const_iterator end() const { return elements_.end(); }

 private:
  const std::vector<iterator>& Positions() const {
    if (positionsStale_) {
      positions_.clear();
      auto& elements = const_cast<std::list<T>&>(elements_);
      for (iterator it = elements.begin(); it != elements.end(); ++it)
        positions_.push_back(it);
      positionsStale_ = false;
    }
    return positions_;
  }

  std::list<T> elements_;
  std::unordered_map<Key, iterator> byKey_;
  // A cache, rebuilt on demand; logically part of nothing.
  mutable std::vector<iterator> positions_;
  mutable bool positionsStale_ = false;
  uint64_t generation_ = 0;
};

}  // namespace sim
