#pragma once

#include <cstdint>
#include <type_traits>

#include "runtime/element_list.h"

namespace drawing::runtime {

// Typed access to an ElementList of T whose handle lives elsewhere (a field
// of a state block): the same list, no ownership, no copy of the cursor.
template <typename T>
class ListView {
 public:
  explicit ListView(ElementList* list) : list_(list) {}

  T* Add() const { return static_cast<T*>(ListAdd(list_)); }
  void Rewind() const { ListRewind(list_); }
  // The next element, or null past the last.
  T* Next() const { return static_cast<T*>(ListNext(list_)); }
  std::int32_t Count() const { return ListCount(list_); }

 private:
  ElementList* list_;
};

// Typed face of an ElementList of T, with the same cursor behaviour. It keeps
// the current-element variable itself, so it is neither copied nor moved. It
// does not free the list when it goes out of scope: the memory belongs to the
// heap, which may already be gone; call Free() to give it back earlier.
template <typename T>
class TypedList {
  static_assert(std::is_trivially_copyable_v<T>, "elements are raw zero-filled bytes");
  static_assert(alignof(T) <= kBlockAlignment,
                "element data is aligned to kBlockAlignment at most");

 public:
  explicit TypedList(MainHeap& heap)
      : list_(ListNew(heap, static_cast<std::int32_t>(sizeof(T)), &current_)) {}
  TypedList(const TypedList&) = delete;
  TypedList& operator=(const TypedList&) = delete;

  // False when the heap refused the list.
  explicit operator bool() const { return list_ != nullptr; }

  T* Add() { return static_cast<T*>(ListAdd(list_)); }
  void Rewind() { ListRewind(list_); }
  T* Next() { return static_cast<T*>(ListNext(list_)); }
  std::int32_t Position() { return ListPosition(list_); }
  std::int32_t Count() const { return ListCount(list_); }
  void Clear() { ListClear(list_); }
  void Free() {
    ListFree(list_);
    list_ = nullptr;
    current_ = nullptr;
  }

  // The current element, as the last cursor move left it; null before the
  // first element.
  T* Current() const { return static_cast<T*>(current_); }

  ElementList* list() const { return list_; }

 private:
  void* current_ = nullptr;
  ElementList* list_;
};

}  // namespace drawing::runtime
