#pragma once
// The fixed-size object pool every PooledObject lives in.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "support/prefetch.h"

namespace avl {

// Serves objects of each exact size below 1024 bytes from chunks of 128 equal
// blocks, one free list per size; larger objects go to the global allocator.
//
// A block is the object's storage; while the block is free, its first word
// (the link word) holds the address of the next free block, so a free list
// costs no memory beside the objects. The stride from one block to the next
// is the size, at least one link word, rounded up to alignof(max_align_t);
// the first block of a chunk starts on a cache line, so every object handed
// out is aligned for any type (and, for strides of whole lines, lies in one
// line). A fresh chunk hands out its blocks in address order; freed blocks
// are reused last in, first out, before another chunk is taken. Chunks go
// back to the C heap only when the pool is destroyed.
//
// Misuse the pool notices (a deletion under a size it does not manage, the
// same block returned twice in a row, objects still out at destruction) is
// reported to the log only while LogEnabled is on. A chunk the heap cannot
// supply ends the program through FatalError("MemoryPool is out of memory!").
//
// Single-threaded; no locking.
class MemoryPool {
  public:
    static constexpr std::size_t kSizeClasses = 1024;  // sizes 0..1023 are pooled
    static constexpr std::size_t kBlocksPerChunk = 128;
    static constexpr std::size_t kLinkWord = sizeof(void*);
    static constexpr std::size_t kAlignment = alignof(std::max_align_t);

    // Gates every diagnostic line of the pool. Off in the program; tests and
    // developers switch it on to see misuse and leaks in Log.txt.
    static inline bool LogEnabled = false;

    // Where chunks come from: std::malloc unless replaced, e.g. by a test that
    // simulates an exhausted heap. What it returns must be aligned to
    // kAlignment and be releasable with std::free; null puts the C heap back.
    // Returns the previous source.
    using ChunkSource = void* (*)(std::size_t bytes);
    static ChunkSource SetChunkSource(ChunkSource source);

    // Distance in bytes between neighbouring blocks of the class `size`.
    static constexpr std::size_t Stride(std::size_t size) {
        const std::size_t bytes = size < kLinkWord ? kLinkWord : size;
        return (bytes + kAlignment - 1) / kAlignment * kAlignment;
    }

    MemoryPool();
    // Reports leaks (when logging is on) and frees every chunk; objects still
    // handed out lose their storage.
    ~MemoryPool();
    MemoryPool(const MemoryPool&) = delete;
    MemoryPool& operator=(const MemoryPool&) = delete;

    // Storage for one object of `size` bytes; never null: if the heap is
    // exhausted the program ends through FatalError.
    void* Allocate(std::size_t size);
    // Takes back storage from Allocate with the same `size`. Null is ignored.
    void Deallocate(void* object, std::size_t size);

    // --- Diagnostics, for tests and tools; they never change the pool --------

    // Blocks of pooled sizes handed out by Allocate and taken back onto a free
    // list by Deallocate, over the pool's life. Pass-through sizes, nonmember
    // and double deletions are not counted.
    struct BlockCounts {
        std::uint64_t handedOut = 0;
        std::uint64_t returned = 0;
        std::uint64_t outstanding() const { return handedOut - returned; }
    };
    // Only the blocks handed out are counted as they go; the blocks returned
    // are those handed out less those out now, which the free lists tell (a
    // walk over them, so this takes time in proportion to the free blocks).
    BlockCounts Counts() const;
    // Chunks obtained for the class `size` (0 for sizes that are not pooled).
    std::size_t ChunkCount(std::size_t size) const;
    // Blocks on the free list of the class `size`, found by walking the list;
    // more than the chunks can hold means the list is corrupt.
    std::size_t FreeBlockCount(std::size_t size) const;

  private:
    struct ChunkRecord {
        std::byte* start;
        std::uint32_t size;
    };

    // The head of a class that has never had a chunk.
    static std::byte* NeverUsed() { return reinterpret_cast<std::byte*>(std::uintptr_t{1}); }
    static std::byte* NextFree(const std::byte* block) {
        std::byte* next;
        std::memcpy(&next, block, sizeof next);
        return next;
    }
    static void SetNextFree(std::byte* block, std::byte* next) {
        std::memcpy(block, &next, sizeof next);
    }

    void* AllocateFromNewChunk(std::size_t size);
    void* AllocateUnpooled(std::size_t size);
    void DeallocateNonmember(void* object, std::size_t size);
    static void ReportDoubleDeletion(std::size_t size);
    void ReportLeaks() const;
    // Chunks of each size class, from the chunk records.
    std::array<std::size_t, kSizeClasses> ChunksOfEachSize() const;
    // Blocks on the free list of `size`, whose chunks hold `capacity` blocks;
    // a list corrupted into a cycle (a block returned twice, not in a row)
    // stops the walk one past the capacity instead of hanging it.
    std::size_t CountFree(std::size_t size, std::size_t capacity) const;

    std::array<std::byte*, kSizeClasses> freeHeads_;
    std::vector<ChunkRecord> chunks_;
    std::uint64_t handedOut_ = 0;
};

inline void* MemoryPool::Allocate(std::size_t size) {
    if (size >= kSizeClasses) return AllocateUnpooled(size);
    std::byte* head = freeHeads_[size];
    // One comparison for both null (every block out) and NeverUsed (1).
    if (reinterpret_cast<std::uintptr_t>(head) <= 1) [[unlikely]]
        return AllocateFromNewChunk(size);
    std::byte* next = NextFree(head);
    freeHeads_[size] = next;
    // The next allocation of this size reads the next block's link word and
    // its caller writes the object: bring the block in now. (A free list
    // scattered by earlier deletions would otherwise cost a cache miss per
    // allocation.) Prefetching null does no harm.
    Prefetch(next);
    ++handedOut_;
    return head;
}

inline void MemoryPool::Deallocate(void* object, std::size_t size) {
    if (object == nullptr) return;
    if (size >= kSizeClasses || freeHeads_[size] == NeverUsed()) [[unlikely]] {
        DeallocateNonmember(object, size);
        return;
    }
    auto* block = static_cast<std::byte*>(object);
    std::byte*& head = freeHeads_[size];
    if (block == head) [[unlikely]] {
        ReportDoubleDeletion(size);  // the block stays on the list once
        return;
    }
    SetNextFree(block, head);
    head = block;
}

// The process-wide pool. SummonMemoryPool creates it (once; later calls do
// nothing, and if it cannot be created it stays absent); ReleaseMemoryPool
// destroys it (once; later calls do nothing). PooledObject uses it in between.
void SummonMemoryPool();
void ReleaseMemoryPool();

namespace detail {
// The process-wide pool; set only by SummonMemoryPool and ReleaseMemoryPool.
// Read inline, so that PooledObject's operator new and delete reach the
// pool without a call.
inline MemoryPool* processPool = nullptr;
}  // namespace detail

// The process-wide pool, or null before SummonMemoryPool and after
// ReleaseMemoryPool.
inline MemoryPool* CurrentMemoryPool() {
    return detail::processPool;
}

}  // namespace avl
