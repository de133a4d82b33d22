#include "runtime/element_list.h"

#include <cstring>
#include <limits>
#include <new>

namespace drawing::runtime {
namespace {

constexpr std::size_t kNodeAlign = kBlockAlignment;

void PublishCurrent(ElementList* list) {
  if (list->currentRef != nullptr) {
    *list->currentRef = ListData(list->current);
  }
}

}  // namespace

ElementList* ListNew(MainHeap& heap, std::int32_t elementSize, void** currentRef) {
  constexpr std::int32_t kLargest =
      std::numeric_limits<std::int32_t>::max() - static_cast<std::int32_t>(2 * kListDataOffset);
  if (elementSize < 0 || elementSize > kLargest) {
    return nullptr;
  }
  void* memory = heap.Allocate(sizeof(ElementList), true);
  if (memory == nullptr) {
    return nullptr;
  }
  const std::size_t nodeSize =
      (kListDataOffset + static_cast<std::size_t>(elementSize) + kNodeAlign - 1) / kNodeAlign *
      kNodeAlign;
  auto* list =
      new (memory) ElementList{.first = nullptr,
                               .last = nullptr,
                               .current = nullptr,
                               .currentRef = currentRef,
                               .count = 0,
                               .index = 0,
                               .pool = SlotPool(heap, nodeSize, kListMinChunk, kListMaxChunk),
                               .nodeSize = static_cast<std::int32_t>(nodeSize),
                               .indexStale = 1,
                               .elementSize = elementSize,
                               .heap = &heap};
  return list;
}

void* ListAdd(ElementList* list) {
  if (list == nullptr) {
    return nullptr;
  }
  auto* node = static_cast<ListNode*>(list->pool.Take());
  if (node == nullptr) {
    return nullptr;
  }
  std::memset(node, 0, static_cast<std::size_t>(list->nodeSize));
  ++list->count;
  if (list->current == nullptr) {
    node->next = list->first;
    if (node->next != nullptr) {
      node->next->previous = node;
    }
    list->index = 0;
    list->indexStale = 0;
  } else {
    node->previous = list->current;
    node->next = list->current->next;
    if (node->next != nullptr) {
      node->next->previous = node;
    }
    list->current->next = node;
    ++list->index;
  }
  list->current = node;
  if (node->previous == nullptr) {
    list->first = node;
  }
  if (node->next == nullptr) {
    list->last = node;
  }
  PublishCurrent(list);
  return ListData(node);
}

void ListRewind(ElementList* list) {
  if (list == nullptr) {
    return;
  }
  list->current = nullptr;
  list->indexStale = 1;
  PublishCurrent(list);
}

void* ListNext(ElementList* list) {
  if (list == nullptr) {
    return nullptr;
  }
  void* result = nullptr;
  if (list->current == nullptr) {
    // The index is set but not trusted yet; ListPosition confirms it once.
    list->current = list->first;
    list->index = 0;
    result = ListData(list->current);
  } else if (list->current->next != nullptr) {
    list->current = list->current->next;
    ++list->index;
    result = ListData(list->current);
  }
  PublishCurrent(list);
  return result;
}

std::int32_t ListPosition(ElementList* list) {
  if (list == nullptr) {
    return -1;
  }
  if (list->indexStale == 0) {
    return list->index;
  }
  if (list->current == nullptr) {
    return -1;
  }
  std::int32_t index = 0;
  for (const ListNode* node = list->current->previous; node != nullptr; node = node->previous) {
    ++index;
  }
  list->index = index;
  list->indexStale = 0;
  return index;
}

std::int32_t ListCount(const ElementList* list) {
  return list == nullptr ? 0 : list->count;
}

void ListClear(ElementList* list) {
  if (list == nullptr) {
    return;
  }
  list->pool.Clear();
  list->first = nullptr;
  list->last = nullptr;
  list->current = nullptr;
  list->count = 0;
  list->indexStale = 1;
  PublishCurrent(list);
}

void ListFree(ElementList* list) {
  if (list == nullptr) {
    return;
  }
  ListClear(list);
  list->heap->Free(list);
}

}  // namespace drawing::runtime
