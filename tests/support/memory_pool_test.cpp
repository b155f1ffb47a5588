// The pool's block layout, reuse order and misuse handling, on pools of the
// test's own (logging off, so nothing reaches the log).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "support/memory_pool.h"
#include "support/pooled_object.h"

namespace avl {
namespace {

std::uintptr_t Address(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p);
}

TEST(MemoryPool, AFreshChunkHandsOutAlignedBlocksInAddressOrderOneStrideApart) {
    for (std::size_t size : {0u, 1u, 8u, 23u, 24u, 48u, 1023u}) {
        SCOPED_TRACE(size);
        const std::size_t stride = MemoryPool::Stride(size);
        EXPECT_GE(stride, std::max(size, sizeof(void*))) << "a free block holds its link";
        EXPECT_EQ(stride % alignof(std::max_align_t), 0u);

        MemoryPool pool;
        std::vector<unsigned char*> blocks;
        for (std::size_t i = 0; i < MemoryPool::kBlocksPerChunk; ++i) {
            blocks.push_back(static_cast<unsigned char*>(pool.Allocate(size)));
            EXPECT_EQ(Address(blocks[i]) % alignof(std::max_align_t), 0u);
            EXPECT_EQ(Address(blocks[i]), Address(blocks[0]) + i * stride);
            std::memset(blocks[i], static_cast<int>(i), size);  // overlap shows below
        }
        for (std::size_t i = 0; i < blocks.size() && size > 0; ++i) {
            ASSERT_EQ(blocks[i][0], i);
            ASSERT_EQ(blocks[i][size - 1], i);
        }
        EXPECT_EQ(pool.ChunkCount(size), 1u);
        EXPECT_EQ(pool.FreeBlockCount(size), 0u);

        // The 129th opens a second chunk, whose other blocks are then free.
        pool.Allocate(size);
        EXPECT_EQ(pool.ChunkCount(size), 2u);
        EXPECT_EQ(pool.FreeBlockCount(size), 127u);
        EXPECT_EQ(pool.Counts().handedOut, 129u);
    }
}

TEST(MemoryPool, FreedBlocksAreReusedLastInFirstOutBeforeANewChunk) {
    MemoryPool pool;
    void* a = pool.Allocate(24);
    void* b = pool.Allocate(24);
    void* c = pool.Allocate(24);
    pool.Deallocate(a, 24);
    pool.Deallocate(c, 24);
    EXPECT_EQ(pool.Allocate(24), c);
    EXPECT_EQ(pool.Allocate(24), a);
    // 23 is a class of its own: it does not take 24's blocks.
    void* other = pool.Allocate(23);
    EXPECT_NE(other, a);
    EXPECT_EQ(pool.ChunkCount(23), 1u);
    pool.Deallocate(b, 24);
    EXPECT_EQ(pool.Allocate(24), b);
    EXPECT_EQ(pool.ChunkCount(24), 1u);
    EXPECT_EQ(pool.Counts().returned, 3u);
}

TEST(MemoryPool, Size1023IsPooledAnd1024GoesToTheGlobalAllocator) {
    MemoryPool pool;
    void* pooled = pool.Allocate(1023);
    EXPECT_EQ(pool.ChunkCount(1023), 1u);
    void* large = pool.Allocate(1024);
    ASSERT_NE(large, nullptr);
    std::memset(large, 0xAB, 1024);  // the sanitizer checks it is really 1024 bytes
    EXPECT_EQ(pool.Counts().handedOut, 1u);
    pool.Deallocate(large, 1024);  // the sanitizer checks it went to the global allocator
    pool.Deallocate(pooled, 1023);
    EXPECT_EQ(pool.FreeBlockCount(1023), 128u);
    EXPECT_EQ(pool.Counts().outstanding(), 0u);
}

TEST(MemoryPool, NullNonmemberAndRepeatedDeletionsLeaveTheListsIntact) {
    MemoryPool pool;
    pool.Deallocate(nullptr, 24);
    pool.Deallocate(nullptr, 5000);
    // A size never served: handed to the global allocator, the pool unchanged.
    pool.Deallocate(::operator new(24), 24);
    EXPECT_EQ(pool.ChunkCount(24), 0u);
    EXPECT_EQ(pool.FreeBlockCount(24), 0u);

    void* keep = pool.Allocate(24);
    void* twice = pool.Allocate(24);
    pool.Deallocate(twice, 24);
    pool.Deallocate(twice, 24);
    EXPECT_EQ(pool.FreeBlockCount(24), 127u) << "the block is on the list once";
    EXPECT_EQ(pool.Counts().returned, 1u);
    void* first = pool.Allocate(24);
    void* second = pool.Allocate(24);
    EXPECT_EQ(first, twice);
    EXPECT_NE(second, twice);
    EXPECT_NE(second, keep);
}

struct Probe : PooledObject {
    char bytes[40];
};

TEST(PooledObject, ObjectsComeFromTheProcessWidePoolByExactSize) {
    SummonMemoryPool();
    MemoryPool* pool = CurrentMemoryPool();
    ASSERT_NE(pool, nullptr);
    SummonMemoryPool();
    EXPECT_EQ(CurrentMemoryPool(), pool) << "a second summon does nothing";

    PooledObject* probe = new Probe;
    EXPECT_EQ(pool->ChunkCount(sizeof(Probe)), 1u);
    delete probe;  // the virtual destructor passes the derived size
    EXPECT_EQ(pool->FreeBlockCount(sizeof(Probe)), 128u);

    void* empty = PooledObject::operator new(0);
    EXPECT_EQ(pool->ChunkCount(1), 1u) << "size 0 is served as 1";
    EXPECT_EQ(pool->ChunkCount(0), 0u);
    PooledObject::operator delete(empty, 0);
    EXPECT_EQ(pool->FreeBlockCount(1), 128u);
    EXPECT_EQ(pool->Counts().outstanding(), 0u);

    ReleaseMemoryPool();
    EXPECT_EQ(CurrentMemoryPool(), nullptr);
    ReleaseMemoryPool();
    EXPECT_EQ(CurrentMemoryPool(), nullptr);
}

}  // namespace
}  // namespace avl
