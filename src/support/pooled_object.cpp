#include "support/pooled_object.h"

#include "support/fatal_error.h"
#include "support/memory_pool.h"

namespace avl {

namespace {

MemoryPool& ReadyPool() {
    MemoryPool* pool = CurrentMemoryPool();
    if (pool == nullptr) FatalError("MemoryPool is not ready!", nullptr, -1);
    return *pool;
}

// Allocation and deallocation must agree on the class a size maps to.
std::size_t SizeClass(std::size_t size) {
    return size == 0 ? 1 : size;
}

}  // namespace

void* PooledObject::operator new(std::size_t size) {
    return ReadyPool().Allocate(SizeClass(size));
}

void PooledObject::operator delete(void* object, std::size_t size) {
    ReadyPool().Deallocate(object, SizeClass(size));
}

}  // namespace avl
