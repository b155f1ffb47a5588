// The memory pool against plain new/delete and the standard library's
// unsynchronized pool resource, allocating and freeing objects the size of a
// tree node in three patterns.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <memory_resource>
#include <random>
#include <vector>

#include "support/memory_pool.h"
#include "tree/tree_node.h"

namespace {

constexpr std::size_t kSize = sizeof(avl::TreeNode);

struct PoolAllocator {
    avl::MemoryPool pool;
    void* allocate() { return pool.Allocate(kSize); }
    void release(void* p) { pool.Deallocate(p, kSize); }
};

struct NewDeleteAllocator {
    struct Node {
        std::byte bytes[kSize];
    };
    void* allocate() { return new Node; }
    void release(void* p) { delete static_cast<Node*>(p); }
};

struct PmrAllocator {
    std::pmr::unsynchronized_pool_resource resource;
    void* allocate() { return resource.allocate(kSize, alignof(std::max_align_t)); }
    void release(void* p) { resource.deallocate(p, kSize, alignof(std::max_align_t)); }
};

// Touches the object, as a constructor would, and keeps the compiler from
// dropping the allocation.
void Use(void* p) {
    *static_cast<unsigned char*>(p) = 1;
    benchmark::DoNotOptimize(p);
}

template <class Allocator>
void AllocateAllThenFreeAll(benchmark::State& state) {
    Allocator allocator;
    std::vector<void*> objects(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        for (void*& p : objects)
            Use(p = allocator.allocate());
        for (void* p : objects)
            allocator.release(p);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

template <class Allocator>
void SteadyPairs(benchmark::State& state) {
    Allocator allocator;
    for (auto _ : state) {
        void* p = allocator.allocate();
        Use(p);
        allocator.release(p);
    }
    state.SetItemsProcessed(state.iterations());
}

// 10,000 live objects; each step frees a random one and allocates its
// replacement.
template <class Allocator>
void RandomInterleaving(benchmark::State& state) {
    constexpr std::size_t kLive = 10'000;
    constexpr std::size_t kSteps = 1 << 16;
    Allocator allocator;
    std::vector<void*> live(kLive);
    for (void*& p : live)
        Use(p = allocator.allocate());
    std::mt19937 random(42);
    std::uniform_int_distribution<std::size_t> pick(0, kLive - 1);
    std::vector<std::size_t> order(kSteps);
    for (std::size_t& i : order)
        i = pick(random);

    std::size_t step = 0;
    for (auto _ : state) {
        void*& slot = live[order[step++ & (kSteps - 1)]];
        allocator.release(slot);
        Use(slot = allocator.allocate());
    }
    for (void* p : live)
        allocator.release(p);
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(AllocateAllThenFreeAll<PoolAllocator>)->Arg(1'000)->Arg(100'000);
BENCHMARK(AllocateAllThenFreeAll<NewDeleteAllocator>)->Arg(1'000)->Arg(100'000);
BENCHMARK(AllocateAllThenFreeAll<PmrAllocator>)->Arg(1'000)->Arg(100'000);
BENCHMARK(SteadyPairs<PoolAllocator>);
BENCHMARK(SteadyPairs<NewDeleteAllocator>);
BENCHMARK(SteadyPairs<PmrAllocator>);
BENCHMARK(RandomInterleaving<PoolAllocator>);
BENCHMARK(RandomInterleaving<NewDeleteAllocator>);
BENCHMARK(RandomInterleaving<PmrAllocator>);

}  // namespace

BENCHMARK_MAIN();
