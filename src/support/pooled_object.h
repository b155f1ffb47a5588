#pragma once

#include <cstddef>

namespace avl {

// Base of every class whose objects live in the process-wide MemoryPool.
// Creating such an object takes a block of its exact size from the pool;
// deleting it (through the virtual destructor, so the size is that of the
// most derived class) gives the block back. Creating or deleting one while no
// pool exists ends the program with FatalError("MemoryPool is not ready!").
// Arrays are not pooled.
class PooledObject {
  public:
    virtual ~PooledObject() = default;

    // A size of 0 is served as 1.
    static void* operator new(std::size_t size);
    static void operator delete(void* object, std::size_t size);
};

}  // namespace avl
