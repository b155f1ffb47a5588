#pragma once

#include <cstddef>

#include "support/memory_pool.h"

namespace avl {

// Base of every class whose objects live in the process-wide MemoryPool.
// Creating such an object takes a block of its exact size from the pool;
// deleting it (through the virtual destructor, so the size is that of the
// most derived class) gives the block back. Creating or deleting one while no
// pool exists ends the program with FatalError("MemoryPool is not ready!").
// Arrays are not pooled.
//
// Both functions are inline, down to the pool's free list: `new` and
// `delete` of a pooled class cost no call on the way.
class PooledObject {
  public:
    virtual ~PooledObject() = default;

    // A size of 0 is served as 1.
    static void* operator new(std::size_t size) { return ReadyPool().Allocate(SizeClass(size)); }
    static void operator delete(void* object, std::size_t size) {
        ReadyPool().Deallocate(object, SizeClass(size));
    }

  private:
    // Ends the program: FatalError("MemoryPool is not ready!").
    [[noreturn, gnu::cold]] static void PoolNotReady();

    static MemoryPool& ReadyPool() {
        MemoryPool* pool = CurrentMemoryPool();
        if (pool == nullptr) [[unlikely]]
            PoolNotReady();
        return *pool;
    }
    // Allocation and deallocation must agree on the class a size maps to.
    static constexpr std::size_t SizeClass(std::size_t size) { return size == 0 ? 1 : size; }
};

}  // namespace avl
