#pragma once
// The fixed-size object pool every PooledObject lives in.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace avl {

// Serves objects of each exact size below 1024 bytes from chunks of 128 equal
// blocks, one free list per size; larger objects go to the global allocator.
//
// A block is a link word (the address of the next free block while the block
// is free) followed by the object's storage. The stride from one block to the
// next is the link word plus the size, rounded up to alignof(max_align_t), and
// the blocks of a chunk start so that every object handed out is aligned for
// any type. A fresh chunk hands out its blocks in address order; freed blocks
// are reused last in, first out, before another chunk is taken. Chunks go back
// to the C heap only when the pool is destroyed.
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
        return (kLinkWord + size + kAlignment - 1) / kAlignment * kAlignment;
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
    const BlockCounts& Counts() const { return counts_; }
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

    std::array<std::byte*, kSizeClasses> freeHeads_;
    std::vector<ChunkRecord> chunks_;
    BlockCounts counts_;
};

inline void* MemoryPool::Allocate(std::size_t size) {
    if (size >= kSizeClasses) return AllocateUnpooled(size);
    std::byte* head = freeHeads_[size];
    if (head == nullptr || head == NeverUsed()) return AllocateFromNewChunk(size);
    freeHeads_[size] = NextFree(head);
    ++counts_.handedOut;
    return head + kLinkWord;
}

inline void MemoryPool::Deallocate(void* object, std::size_t size) {
    if (object == nullptr) return;
    if (size >= kSizeClasses || freeHeads_[size] == NeverUsed()) {
        DeallocateNonmember(object, size);
        return;
    }
    // Integer arithmetic: a foreign object under a pooled size is not
    // detected, and must not make this an out-of-bounds pointer step.
    auto* block =
        reinterpret_cast<std::byte*>(reinterpret_cast<std::uintptr_t>(object) - kLinkWord);
    std::byte*& head = freeHeads_[size];
    if (block == head) {
        ReportDoubleDeletion(size);  // the block stays on the list once
        return;
    }
    SetNextFree(block, head);
    head = block;
    ++counts_.returned;
}

// The process-wide pool. SummonMemoryPool creates it (once; later calls do
// nothing, and if it cannot be created it stays absent); ReleaseMemoryPool
// destroys it (once; later calls do nothing). PooledObject uses it in between.
void SummonMemoryPool();
void ReleaseMemoryPool();
// The process-wide pool, or null before SummonMemoryPool and after
// ReleaseMemoryPool.
MemoryPool* CurrentMemoryPool();

}  // namespace avl
