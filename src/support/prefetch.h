#pragma once

namespace avl {

// Asks for the memory at `address` to be fetched into the cache ahead of its
// use. Only a hint: it never faults, and does nothing where the compiler
// offers no way to give it.
inline void Prefetch(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

}  // namespace avl
