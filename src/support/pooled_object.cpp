#include "support/pooled_object.h"

#include "support/fatal_error.h"

namespace avl {

void PooledObject::PoolNotReady() {
    FatalError("MemoryPool is not ready!", nullptr, -1);
}

}  // namespace avl
