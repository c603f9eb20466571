#pragma once
// Fixed-address storage for many small records of one type. Slots are carved from chunks in
// order, so records made one after another lie side by side in memory; a freed slot is the
// next one handed out. A chunk never moves: growing adds a chunk, so a pointer to a live record
// stays valid whatever is made or freed meanwhile.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
// A free slot is poisoned, so that a record used after it was freed is reported as it would
// be on the heap.
#define CC_POOL_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define CC_POOL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define CC_POOL_POISON(p, n) ((void)(p), (void)(n))
#define CC_POOL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

template <class T> class CCPool {
public:
    CCPool() = default;
    CCPool(const CCPool&) = delete;
    CCPool& operator=(const CCPool&) = delete;
    // Records still alive are not destroyed: their owner frees them first.
    ~CCPool() {
        for (Chunk& chunk : chunks_) CC_POOL_UNPOISON(chunk.slots.get(), chunk.size * sizeof(Slot));
    }

    template <class... Args> T* make(Args&&... args) {
        Slot* slot = takeSlot();
        T* record;
        try {
            record = ::new (static_cast<void*>(slot->storage)) T(std::forward<Args>(args)...);
        } catch (...) {
            giveBack(slot);
            throw;
        }
        ++live_;
        return record;
    }

    // The record must have come from this pool.
    void free(T* record) {
        record->~T();
        giveBack(reinterpret_cast<Slot*>(record));
        --live_;
    }

    std::size_t size() const { return live_; }
    // Slots made so far, used or free.
    std::size_t capacity() const { return capacity_; }

private:
    union Slot {
        Slot* next;
        alignas(T) unsigned char storage[sizeof(T)];
    };
    static constexpr std::size_t kFirstChunk = 64;
    static constexpr std::size_t kLargestChunk = 4096;

    Slot* takeSlot() {
        Slot* slot = freeList_;
        if (slot) {
            CC_POOL_UNPOISON(slot, sizeof(Slot));
            freeList_ = slot->next;
        } else {
            if (used_ == chunkSize_) grow();
            slot = &chunks_.back().slots[used_++];
            CC_POOL_UNPOISON(slot, sizeof(Slot));
        }
        return slot;
    }
    void giveBack(Slot* slot) {
        slot->next = freeList_;
        freeList_ = slot;
        CC_POOL_POISON(slot, sizeof(Slot));
    }
    void grow() {
        const std::size_t size = chunks_.empty() ? kFirstChunk : std::min(chunkSize_ * 2, kLargestChunk);
        chunks_.push_back(Chunk{std::make_unique<Slot[]>(size), size});
        CC_POOL_POISON(chunks_.back().slots.get(), size * sizeof(Slot));
        chunkSize_ = size;
        used_ = 0;
        capacity_ += size;
    }

    struct Chunk {
        std::unique_ptr<Slot[]> slots;
        std::size_t size;
    };
    std::vector<Chunk> chunks_;
    std::size_t chunkSize_ = 0; // of the last chunk
    std::size_t used_ = 0;      // slots of the last chunk handed out at least once
    std::size_t live_ = 0;
    std::size_t capacity_ = 0;
    Slot* freeList_ = nullptr;
};
