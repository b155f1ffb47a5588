#include "support/memory_pool.h"

#include <cstdlib>
#include <new>
#include <utility>

#include "support/fatal_error.h"
#include "support/int_to_string.h"
#include "support/log_file.h"

namespace avl {

namespace {

// Chunks are laid on cache lines: block 0 starts a line, so that with a
// stride of whole lines every block lies in its own lines.
constexpr std::size_t kCacheLine = 64;

// Block 0 of a chunk (which is aligned to kAlignment): the first line start
// in it, at most kCacheLine - kAlignment bytes in.
std::byte* FirstBlock(std::byte* chunk) {
    const auto start = reinterpret_cast<std::uintptr_t>(chunk);
    return chunk + ((kCacheLine - start % kCacheLine) % kCacheLine);
}

constexpr const char* kOutOfMemory = "MemoryPool is out of memory!";

void* ChunkFromHeap(std::size_t bytes) {
    return std::malloc(bytes);
}

MemoryPool::ChunkSource chunkSource = &ChunkFromHeap;

void LogWarning(const char* headline, std::size_t size) {
    WriteLog(headline);
    WriteLog(" Object Size : " + IntToString(static_cast<int>(size)) + " byte");
}

}  // namespace

MemoryPool::ChunkSource MemoryPool::SetChunkSource(ChunkSource source) {
    return std::exchange(chunkSource, source != nullptr ? source : &ChunkFromHeap);
}

MemoryPool::MemoryPool() {
    if (LogEnabled) WriteLog("Summoning The MemoryPool...");
    freeHeads_.fill(NeverUsed());
    chunks_.reserve(kSizeClasses);
}

MemoryPool::~MemoryPool() {
    if (LogEnabled) {
        WriteLog("Releasing The MemoryPool...");
        ReportLeaks();
    }
    for (const ChunkRecord& chunk : chunks_)
        std::free(chunk.start);
}

void* MemoryPool::AllocateFromNewChunk(std::size_t size) {
    const std::size_t stride = Stride(size);
    auto* chunk = static_cast<std::byte*>(chunkSource(kCacheLine + kBlocksPerChunk * stride));
    if (chunk == nullptr) FatalError(kOutOfMemory, nullptr, -1);
    try {
        chunks_.push_back({chunk, static_cast<std::uint32_t>(size)});
    } catch (const std::bad_alloc&) {
        std::free(chunk);
        FatalError(kOutOfMemory, nullptr, -1);
    }

    // Block 0 is handed out at once; blocks 1..127 become the free list, in
    // address order.
    std::byte* first = FirstBlock(chunk);
    for (std::size_t i = 1; i + 1 < kBlocksPerChunk; ++i) {
        SetNextFree(first + i * stride, first + (i + 1) * stride);
    }
    SetNextFree(first + (kBlocksPerChunk - 1) * stride, nullptr);
    freeHeads_[size] = first + stride;
    ++handedOut_;
    return first;
}

void* MemoryPool::AllocateUnpooled(std::size_t size) {
    void* object = ::operator new(size, std::nothrow);
    if (object == nullptr) FatalError(kOutOfMemory, nullptr, -1);
    return object;
}

void MemoryPool::DeallocateNonmember(void* object, std::size_t size) {
    if (LogEnabled) {
        LogWarning("WARNING: A nonmember delete operation is requested to the MemoryPool.", size);
    }
    ::operator delete(object);
}

void MemoryPool::ReportDoubleDeletion(std::size_t size) {
    if (LogEnabled) LogWarning("WARNING: A double deletion is requested to the MemoryPool.", size);
}

void MemoryPool::ReportLeaks() const {
    const auto chunksOfSize = ChunksOfEachSize();
    for (std::size_t size = 0; size < kSizeClasses; ++size) {
        const std::size_t capacity = chunksOfSize[size] * kBlocksPerChunk;
        if (capacity == 0) continue;
        const std::size_t free = CountFree(size, capacity);
        if (free >= capacity) continue;
        LogWarning("WARNING: MemoryPool detected some memory leak.", size);
        WriteLog(" Number of Objects : " + IntToString(static_cast<int>(capacity - free)));
    }
}

MemoryPool::BlockCounts MemoryPool::Counts() const {
    const auto chunksOfSize = ChunksOfEachSize();
    std::uint64_t outstanding = 0;
    for (std::size_t size = 0; size < kSizeClasses; ++size) {
        const std::size_t capacity = chunksOfSize[size] * kBlocksPerChunk;
        if (capacity != 0) outstanding += capacity - CountFree(size, capacity);
    }
    return {handedOut_, handedOut_ - outstanding};
}

std::array<std::size_t, MemoryPool::kSizeClasses> MemoryPool::ChunksOfEachSize() const {
    std::array<std::size_t, kSizeClasses> chunksOfSize{};
    for (const ChunkRecord& chunk : chunks_)
        ++chunksOfSize[chunk.size];
    return chunksOfSize;
}

std::size_t MemoryPool::ChunkCount(std::size_t size) const {
    std::size_t count = 0;
    for (const ChunkRecord& chunk : chunks_)
        count += chunk.size == size ? 1 : 0;
    return count;
}

std::size_t MemoryPool::FreeBlockCount(std::size_t size) const {
    if (size >= kSizeClasses) return 0;
    return CountFree(size, ChunkCount(size) * kBlocksPerChunk);
}

std::size_t MemoryPool::CountFree(std::size_t size, std::size_t capacity) const {
    const std::byte* block = freeHeads_[size];
    if (block == NeverUsed()) return 0;
    std::size_t count = 0;
    for (; block != nullptr && count <= capacity; block = NextFree(block))
        ++count;
    return count;
}

void SummonMemoryPool() {
    if (detail::processPool != nullptr) return;
    try {
        detail::processPool = new MemoryPool;
    } catch (const std::bad_alloc&) {
        detail::processPool = nullptr;  // every later use of the pool is fatal
    }
}

void ReleaseMemoryPool() {
    delete std::exchange(detail::processPool, nullptr);
}

}  // namespace avl
