// Building and emptying an AvlTree of 100,000 random keys (duplicates
// allowed, no observer) against std::multiset.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

#include "support/memory_pool.h"
#include "tree/avl_tree.h"

namespace {

constexpr std::size_t kKeys = 100'000;

const std::vector<avl::Key>& Keys() {
    static const std::vector<avl::Key> keys = [] {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> pick(-128, 127);
        std::vector<avl::Key> k(kKeys);
        for (avl::Key& key : k)
            key = static_cast<avl::Key>(pick(random));
        return k;
    }();
    return keys;
}

// The same keys in another order, for removal.
const std::vector<avl::Key>& ShuffledKeys() {
    static const std::vector<avl::Key> keys = [] {
        std::vector<avl::Key> k = Keys();
        std::shuffle(k.begin(), k.end(), std::mt19937(8));
        return k;
    }();
    return keys;
}

void AvlInsert(benchmark::State& state) {
    avl::SummonMemoryPool();
    for (auto _ : state) {
        avl::AvlTree tree;
        for (avl::Key key : Keys())
            tree.insert(key, true);
        benchmark::DoNotOptimize(tree.rootNode());
        state.PauseTiming();
        tree.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kKeys));
}

void MultisetInsert(benchmark::State& state) {
    for (auto _ : state) {
        std::multiset<avl::Key> set;
        for (avl::Key key : Keys())
            set.insert(key);
        benchmark::DoNotOptimize(set.begin());
        state.PauseTiming();
        set.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kKeys));
}

void AvlRemoveKey(benchmark::State& state) {
    avl::SummonMemoryPool();
    avl::AvlTree tree;
    for (auto _ : state) {
        state.PauseTiming();
        for (avl::Key key : Keys())
            tree.insert(key, true);
        state.ResumeTiming();
        for (avl::Key key : ShuffledKeys())
            tree.removeKey(key);
        benchmark::DoNotOptimize(tree.rootNode());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kKeys));
}

void MultisetErase(benchmark::State& state) {
    std::multiset<avl::Key> set;
    for (auto _ : state) {
        state.PauseTiming();
        set.insert(Keys().begin(), Keys().end());
        state.ResumeTiming();
        for (avl::Key key : ShuffledKeys())
            set.erase(set.find(key));
        benchmark::DoNotOptimize(set.begin());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kKeys));
}

BENCHMARK(AvlInsert)->Unit(benchmark::kMillisecond);
BENCHMARK(MultisetInsert)->Unit(benchmark::kMillisecond);
BENCHMARK(AvlRemoveKey)->Unit(benchmark::kMillisecond);
BENCHMARK(MultisetErase)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
