#pragma once

#include <cstdint>

#include "runtime/main_heap.h"

namespace drawing::runtime {

// Registry of numbered objects of one kind (sprites, images): fixed-size
// records indexed by number, growing on demand, with a per-kind callback that
// destroys the object of a number.
//
// A record is in use exactly when its first pointer-sized field is non-zero;
// every kind stores a non-zero handle there, and a free record is all zeros.
//
// Number AutoNumber lets the table choose. Chosen numbers are ids from a high
// range that the table hands out and checks, never addresses: a number the
// caller made up can never be mistaken for a record somewhere in memory.

inline constexpr std::int32_t AutoNumber = -1;
// Ids handed out for AutoNumber start here; explicit numbers must stay below.
inline constexpr std::int32_t kFirstAutoNumber = 0x40000000;

// Destroys the object with `number` if there is one (it usually finishes with
// ObjectRelease). `context` is the owner given to ObjectTableNew.
using ObjectFreeCallback = void (*)(void* context, std::int32_t number);

// Auto-numbered record: links, its id, then the record itself.
struct alignas(kBlockAlignment) ObjectNode {
  ObjectNode* next;
  ObjectNode* previous;
  std::int32_t number;
};

struct ObjectTable {
  std::int32_t recordSize;  // bytes per record
  std::int32_t step;        // growth step in records; also the first capacity
  std::int32_t capacity;    // numbered records the block holds
  ObjectNode* autoList;     // newest auto-numbered record first
  ObjectFreeCallback freeCallback;
  void* callbackContext;
  std::int32_t iterIndex;  // iteration cursor over the numbered records
  ObjectNode* iterNode;    // iteration cursor over the auto-numbered records
  unsigned char* records;  // record n at n * recordSize
  std::int32_t nextAutoNumber;
  MainHeap* heap;
};

// A table of `step` free records. Null when a record has no room for the
// pointer-sized in-use field, step < 1, or the heap refuses.
ObjectTable* ObjectTableNew(MainHeap& heap, std::int32_t recordSize, std::int32_t step,
                            ObjectFreeCallback freeCallback = nullptr,
                            void* callbackContext = nullptr);

// Returns the memory of a table and all its auto-numbered records without
// calling the free callback. Null is ignored.
void ObjectTableFree(ObjectTable* table);

// The all-zero record to fill for `number`. For a number >= 0 the table grows
// to number + step records if needed, then the free callback runs for that
// number (so an object already holding it is destroyed first). For AutoNumber
// a new record is made and its id stored in *chosenNumber when that is given;
// the callback is not involved. Null for numbers below -1 or at or above
// kFirstAutoNumber, and when the heap refuses.
void* ObjectAllocate(ObjectTable* table, std::int32_t number, std::int32_t* chosenNumber = nullptr);

// The record of `number` if it is in use, otherwise null (also for numbers the
// table never handed out).
void* ObjectFind(ObjectTable* table, std::int32_t number);

// Frees the number: a numbered record is zeroed, an auto-numbered one is
// unlinked and returned to the heap. No callback. Unknown numbers are ignored.
void ObjectRelease(ObjectTable* table, std::int32_t number);

// Starts an iteration: numbered records in ascending order, then
// auto-numbered ones from the oldest to the newest.
void ObjectIterateReset(ObjectTable* table);

// The next record in use, its number in *number (when given); null at the end.
// The cursors move on before returning, so the caller may release the record
// just reported.
void* ObjectIterateNext(ObjectTable* table, std::int32_t* number);

// Calls the free callback for every object in use; nothing without callback.
void ObjectFreeAll(ObjectTable* table);

}  // namespace drawing::runtime
