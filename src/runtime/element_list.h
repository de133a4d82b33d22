#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/main_heap.h"
#include "runtime/slot_pool.h"

namespace drawing::runtime {

// Doubly linked list of fixed-size elements with a cursor (the current
// element), a count and a cached index of the current element. Iteration is
// forward through the cursor; elements are added after the cursor; no single
// element is ever removed.
//
// A node is the next and previous links, then the element's data. The data
// starts at kListDataOffset and nodes are padded to a multiple of
// kBlockAlignment, so element data is aligned for any fundamental type; packed records of any size
// are fine too.
//
// The caller's current-element variable (currentRef, may be null) is rewritten
// with the current element's data, or null, by every operation that moves the
// cursor.

struct ListNode {
  ListNode* next;
  ListNode* previous;
};

inline constexpr std::size_t kListDataOffset =
    (sizeof(ListNode) + kBlockAlignment - 1) / kBlockAlignment * kBlockAlignment;

inline constexpr std::int32_t kListMinChunk = 16;
inline constexpr std::int32_t kListMaxChunk = 65536;

struct ElementList {
  ListNode* first;
  ListNode* last;
  ListNode* current;  // null: the cursor stands before the first element
  void** currentRef;
  std::int32_t count;
  std::int32_t index;  // position of current, valid only while indexStale is 0
  SlotPool pool;
  std::int32_t nodeSize;
  std::int32_t indexStale;
  std::int32_t elementSize;
  MainHeap* heap;
};

// A new empty list; null if elementSize is negative or too large, or the heap
// refuses the header.
ElementList* ListNew(MainHeap& heap, std::int32_t elementSize, void** currentRef);

// Adds a zero-filled element after the cursor (at the front when the cursor
// stands before the first element) and makes it current. Returns its data, or
// null when the heap has no room for it.
void* ListAdd(ElementList* list);

// Puts the cursor before the first element.
void ListRewind(ElementList* list);

// Moves the cursor to the next element and returns its data; null at the end,
// where the cursor stays on the last element.
void* ListNext(ElementList* list);

// 0-based index of the current element, -1 when there is none.
std::int32_t ListPosition(ElementList* list);

std::int32_t ListCount(const ElementList* list);

// Removes every element and returns the node memory to the heap.
void ListClear(ElementList* list);

// Clears the list and returns the list itself to the heap; null is ignored.
void ListFree(ElementList* list);

// The element data of a node.
inline void* ListData(ListNode* node) {
  return node == nullptr ? nullptr : reinterpret_cast<unsigned char*>(node) + kListDataOffset;
}

}  // namespace drawing::runtime
