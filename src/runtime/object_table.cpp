#include "runtime/object_table.h"

#include <cstring>
#include <limits>
#include <new>

namespace drawing::runtime {
namespace {

unsigned char* RecordOf(ObjectNode* node) {
  return reinterpret_cast<unsigned char*>(node + 1);
}

// The whole pointer-sized handle: on 64-bit builds a handle may have its low
// 32 bits all zero.
bool InUse(const unsigned char* record) {
  std::uintptr_t first = 0;
  std::memcpy(&first, record, sizeof first);
  return first != 0;
}

unsigned char* RecordAt(const ObjectTable* table, std::int32_t index) {
  return table->records +
         static_cast<std::size_t>(index) * static_cast<std::size_t>(table->recordSize);
}

bool IsNumbered(const ObjectTable* table, std::int32_t number) {
  return number >= 0 && number < table->capacity;
}

ObjectNode* FindNode(const ObjectTable* table, std::int32_t number) {
  if (number < kFirstAutoNumber) {
    return nullptr;
  }
  for (ObjectNode* node = table->autoList; node != nullptr; node = node->next) {
    if (node->number == number) {
      return node;
    }
  }
  return nullptr;
}

std::int32_t NextAfter(std::int32_t number) {
  return number == std::numeric_limits<std::int32_t>::max() ? kFirstAutoNumber : number + 1;
}

// Ids count up from kFirstAutoNumber and wrap; one still in use is skipped.
std::int32_t TakeAutoNumber(ObjectTable* table) {
  std::int32_t number = table->nextAutoNumber;
  while (FindNode(table, number) != nullptr) {
    number = NextAfter(number);
  }
  table->nextAutoNumber = NextAfter(number);
  return number;
}

void* AllocateAuto(ObjectTable* table, std::int32_t* chosenNumber) {
  void* memory = table->heap->Allocate(sizeof(ObjectNode) + table->recordSize, true);
  if (memory == nullptr) {
    return nullptr;
  }
  auto* node = new (memory) ObjectNode{table->autoList, nullptr, TakeAutoNumber(table)};
  if (node->next != nullptr) {
    node->next->previous = node;
  }
  table->autoList = node;
  if (chosenNumber != nullptr) {
    *chosenNumber = node->number;
  }
  return RecordOf(node);
}

bool GrowFor(ObjectTable* table, std::int32_t number) {
  const std::int64_t capacity = std::int64_t{number} + table->step;
  if (capacity > std::numeric_limits<std::int32_t>::max() ||
      static_cast<std::uint64_t>(capacity) >
          std::numeric_limits<std::size_t>::max() / static_cast<std::size_t>(table->recordSize)) {
    return false;
  }
  void* records = table->heap->Reallocate(
      table->records, static_cast<std::size_t>(capacity) * table->recordSize, true);
  if (records == nullptr) {
    return false;
  }
  table->records = static_cast<unsigned char*>(records);
  table->capacity = static_cast<std::int32_t>(capacity);
  return true;
}

}  // namespace

ObjectTable* ObjectTableNew(MainHeap& heap, std::int32_t recordSize, std::int32_t step,
                            ObjectFreeCallback freeCallback, void* callbackContext) {
  if (recordSize < static_cast<std::int32_t>(sizeof(std::uintptr_t)) || step < 1) {
    return nullptr;
  }
  void* memory = heap.Allocate(sizeof(ObjectTable), true);
  if (memory == nullptr) {
    return nullptr;
  }
  auto* table = new (memory) ObjectTable{};
  table->recordSize = recordSize;
  table->step = step;
  table->freeCallback = freeCallback;
  table->callbackContext = callbackContext;
  table->nextAutoNumber = kFirstAutoNumber;
  table->heap = &heap;
  if (!GrowFor(table, 0)) {
    heap.Free(table);
    return nullptr;
  }
  return table;
}

void ObjectTableFree(ObjectTable* table) {
  if (table == nullptr) {
    return;
  }
  MainHeap& heap = *table->heap;
  ObjectNode* node = table->autoList;
  while (node != nullptr) {
    ObjectNode* next = node->next;
    heap.Free(node);
    node = next;
  }
  heap.Free(table->records);
  heap.Free(table);
}

void* ObjectAllocate(ObjectTable* table, std::int32_t number, std::int32_t* chosenNumber) {
  if (number == AutoNumber) {
    return AllocateAuto(table, chosenNumber);
  }
  if (number < 0 || number >= kFirstAutoNumber) {
    return nullptr;
  }
  if (number >= table->capacity && !GrowFor(table, number)) {
    return nullptr;
  }
  if (table->freeCallback != nullptr) {
    table->freeCallback(table->callbackContext, number);
  }
  // The callback may have touched the table, so the record is located only
  // now. It is cleared even if the callback left it filled: the caller always
  // starts from a free record.
  unsigned char* record = RecordAt(table, number);
  std::memset(record, 0, static_cast<std::size_t>(table->recordSize));
  return record;
}

void* ObjectFind(ObjectTable* table, std::int32_t number) {
  unsigned char* record = nullptr;
  if (IsNumbered(table, number)) {
    record = RecordAt(table, number);
  } else if (ObjectNode* node = FindNode(table, number)) {
    record = RecordOf(node);
  }
  return record != nullptr && InUse(record) ? record : nullptr;
}

void ObjectRelease(ObjectTable* table, std::int32_t number) {
  if (IsNumbered(table, number)) {
    std::memset(RecordAt(table, number), 0, static_cast<std::size_t>(table->recordSize));
    return;
  }
  ObjectNode* node = FindNode(table, number);
  if (node == nullptr) {
    return;
  }
  if (node->previous != nullptr) {
    node->previous->next = node->next;
  } else {
    table->autoList = node->next;
  }
  if (node->next != nullptr) {
    node->next->previous = node->previous;
  }
  // Keep a running iteration valid when its next node goes away.
  if (table->iterNode == node) {
    table->iterNode = node->previous;
  }
  table->heap->Free(node);
}

void ObjectIterateReset(ObjectTable* table) {
  table->iterIndex = 0;
  ObjectNode* oldest = table->autoList;
  while (oldest != nullptr && oldest->next != nullptr) {
    oldest = oldest->next;
  }
  table->iterNode = oldest;
}

void* ObjectIterateNext(ObjectTable* table, std::int32_t* number) {
  while (IsNumbered(table, table->iterIndex)) {
    const std::int32_t index = table->iterIndex++;
    unsigned char* record = RecordAt(table, index);
    if (InUse(record)) {
      if (number != nullptr) {
        *number = index;
      }
      return record;
    }
  }
  while (table->iterNode != nullptr) {
    ObjectNode* node = table->iterNode;
    table->iterNode = node->previous;
    if (InUse(RecordOf(node))) {
      if (number != nullptr) {
        *number = node->number;
      }
      return RecordOf(node);
    }
  }
  return nullptr;
}

void ObjectFreeAll(ObjectTable* table) {
  if (table->freeCallback == nullptr) {
    return;
  }
  ObjectIterateReset(table);
  std::int32_t number = 0;
  while (ObjectIterateNext(table, &number) != nullptr) {
    table->freeCallback(table->callbackContext, number);
  }
}

}  // namespace drawing::runtime
