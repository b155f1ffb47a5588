// The memory pool and the AVL tree against their peers, side by side in one
// process, measured the way the program uses them.
//
// Allocation: every contender creates and destroys the same object, a
// TreeNode (48 bytes on x86-64), in three patterns. The program's path is
// `new TreeNode` / `delete`, through PooledObject's operator new and delete
// to the process-wide pool; every other contender takes storage from its
// allocator, constructs the node there and destroys it before giving the
// storage back, so all of them do the same work besides the allocation.
//
// Trees: AvlTree against boost::intrusive::avltree_algorithms on the very
// same nodes (TreeNode's own links and balance, from the same pool) and
// against std::multiset<Key>, inserting, finding, removing and clearing N
// random keys (signed characters, so duplicates abound at large N).
//
// Every figure is the median of interleaved repetitions: each repetition runs
// every contender once, starting with a different one each time. Each figure
// is printed with its ratio to ours (above 1: slower than ours): the median of
// the ratios taken repetition by repetition, so that a slow spell of the
// machine falls on both sides of a ratio. The run ends with the goals checked
// on these ratios, each shown with the spread of its middle half.
//
// mimalloc and jemalloc are loaded at run time (libmimalloc-dev,
// libjemalloc-dev) so that neither replaces malloc for the rest of the
// process; they are skipped with a note when absent.
//
// Usage: peers_bench [repetitions [pool|tree]]   (default: 11, both)

#if __has_include(<dlfcn.h>)
#include <dlfcn.h>
#include <unistd.h>
#define AVL_BENCH_HAVE_DLOPEN 1
#endif

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <memory_resource>
#include <new>
#include <random>
#include <set>
#include <string>
#include <vector>

#if AVL_BENCH_HAVE_BOOST
#include <boost/intrusive/avltree_algorithms.hpp>
#include <boost/pool/pool.hpp>
#endif

#include "support/memory_pool.h"
#include "tree/avl_tree.h"

namespace {

using avl::Key;
using avl::TreeNode;

constexpr std::size_t kNode = sizeof(TreeNode);

// Keeps the compiler from dropping or merging work whose result is unused.
template <class T>
inline void Keep(const T& value) {
    asm volatile("" : : "g"(value) : "memory");
}

// Makes the compiler finish every store before this point and read memory
// afresh after it, as a call to other code would. Between two allocator
// operations it keeps the compiler from seeing through them: a block freed
// and at once taken again could otherwise be reused without touching the
// free list at all.
inline void Barrier() {
    asm volatile("" : : : "memory");
}

template <class F>
double Seconds(F&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The value below which `share` of the values lie (0.5: the median),
// interpolated between neighbours.
double Quantile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const double at = share * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(at);
    const std::size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (values[above] - values[below]) * (at - static_cast<double>(below));
}

// What the interleaved repetitions measured: for each contender and figure,
// one sample per repetition.
struct Samples {
    std::vector<std::vector<std::vector<double>>> of;  // [contender][figure][repetition]

    double Median(std::size_t c, std::size_t f) const { return Quantile(of[c][f], 0.5); }

    // Contender `c` against contender `base` on figure `f`, repetition by
    // repetition: c's time over base's in the same repetition. Each
    // repetition runs every contender within a few seconds, so a slow spell
    // of the machine weighs on both sides of such a ratio alike, whereas the
    // two contenders' own medians may come from repetitions inside and
    // outside the spell. The median ratio, and the middle half's bounds.
    struct Ratio {
        double median, low, high;
    };
    Ratio Paired(std::size_t c, std::size_t base, std::size_t f) const {
        std::vector<double> ratios;
        for (std::size_t r = 0; r < of[c][f].size(); ++r)
            ratios.push_back(of[c][f][r] / of[base][f][r]);
        return {Quantile(ratios, 0.5), Quantile(ratios, 0.25), Quantile(ratios, 0.75)};
    }
};

// Runs `rounds` once as a warm-up, then `repetitions` times with the order of
// the contenders rotated each time; keeps the figures of every repetition.
Samples Interleaved(std::size_t contenders, int repetitions,
                    const std::function<std::vector<double>(std::size_t contender)>& round) {
    Samples samples;
    samples.of.resize(contenders);
    for (int rep = -1; rep < repetitions; ++rep) {
        for (std::size_t i = 0; i < contenders; ++i) {
            const std::size_t c = (i + static_cast<std::size_t>(rep + 1)) % contenders;
            std::vector<double> figures = round(c);
            if (rep < 0) continue;  // warm-up
            samples.of[c].resize(figures.size());
            for (std::size_t f = 0; f < figures.size(); ++f)
                samples.of[c][f].push_back(figures[f]);
        }
    }
    return samples;
}

// A contender's median time, with its paired ratio to ours (times as long as
// ours) unless it is ours.
std::string Figure(const Samples& samples, std::size_t c, std::size_t f) {
    char text[64];
    if (c == 0) {
        std::snprintf(text, sizeof text, "%.2f", samples.Median(c, f));
    } else {
        std::snprintf(text, sizeof text, "%.2f (%.2f×)", samples.Median(c, f),
                      samples.Paired(c, 0, f).median);
    }
    return text;
}

// --- mimalloc and jemalloc, loaded without replacing malloc ----------------

struct PeerLibraries {
    void* (*miMalloc)(std::size_t) = nullptr;
    void (*miFree)(void*) = nullptr;
    void* (*jeMallocx)(std::size_t, int) = nullptr;
    void (*jeSdallocx)(void*, std::size_t, int) = nullptr;
    std::string notes;
};

#if AVL_BENCH_HAVE_DLOPEN
void* OpenFirst(std::initializer_list<const char*> names, std::string& error) {
    for (const char* name : names) {
        if (void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL)) return handle;
        error = dlerror();
    }
    return nullptr;
}

constexpr const char* kReexecMark = "AVL_PEERS_BENCH_TLS";

// jemalloc keeps its thread state in static TLS, more than glibc leaves for
// libraries opened later; glibc's tunable makes room, and it is read only at
// start, so the program starts itself again once with it set.
void MakeRoomForJemalloc(char** argv) {
    if (std::getenv(kReexecMark) != nullptr) return;
    std::string tunables = "glibc.rtld.optional_static_tls=16384";
    if (const char* old = std::getenv("GLIBC_TUNABLES"))
        tunables = std::string(old) + ":" + tunables;
    setenv("GLIBC_TUNABLES", tunables.c_str(), 1);
    setenv(kReexecMark, "1", 1);
    execv("/proc/self/exe", argv);
    unsetenv(kReexecMark);  // could not start again: go on without the room
}

PeerLibraries LoadPeers(char** argv) {
#else
PeerLibraries LoadPeers(char**) {
    PeerLibraries peers;
    peers.notes = "mimalloc and jemalloc skipped: no dlopen on this system\n";
    return peers;
}
#endif

    PeerLibraries peers;
    std::string error;
    if (void* je = OpenFirst({"libjemalloc.so", "libjemalloc.so.2"}, error)) {
        peers.jeMallocx = reinterpret_cast<void* (*)(std::size_t, int)>(dlsym(je, "mallocx"));
        peers.jeSdallocx =
            reinterpret_cast<void (*)(void*, std::size_t, int)>(dlsym(je, "sdallocx"));
    } else if (error.find("static TLS") != std::string::npos &&
               std::getenv(kReexecMark) == nullptr) {
        MakeRoomForJemalloc(argv);
    } else {
        peers.notes += "jemalloc skipped: " + error + " (install libjemalloc-dev)\n";
    }
    if (void* mi = OpenFirst({"libmimalloc.so", "libmimalloc.so.2"}, error)) {
        peers.miMalloc = reinterpret_cast<void* (*)(std::size_t)>(dlsym(mi, "mi_malloc"));
        peers.miFree = reinterpret_cast<void (*)(void*)>(dlsym(mi, "mi_free"));
    } else {
        peers.notes += "mimalloc skipped: " + error + " (install libmimalloc-dev)\n";
    }
    return peers;
}

PeerLibraries peers;

// --- Allocation contenders ---------------------------------------------------
// Each has Create(key), which returns a constructed node, and Destroy(node).

struct ProgramPath {
    TreeNode* Create(Key key) { return new TreeNode(key); }
    void Destroy(TreeNode* node) { delete node; }
};

// A node constructed in storage from `Storage`, which has Allocate() and
// Release(p) for blocks of kNode bytes.
template <class Storage>
struct Placed {
    Storage storage;
    TreeNode* Create(Key key) { return ::new (storage.Allocate()) TreeNode(key); }
    void Destroy(TreeNode* node) {
        node->~TreeNode();
        storage.Release(node);
    }
};

struct PoolDirect {
    avl::MemoryPool pool;
    void* Allocate() { return pool.Allocate(kNode); }
    void Release(void* p) { pool.Deallocate(p, kNode); }
};

// The floor: the least a free list of fixed-size blocks can do. Blocks of
// exactly the node's size, the link kept inside the free block, chunks of
// 128 blocks from malloc, last in, first out.
class MinimalFreeList {
  public:
    MinimalFreeList() = default;
    MinimalFreeList(const MinimalFreeList&) = delete;
    MinimalFreeList& operator=(const MinimalFreeList&) = delete;
    ~MinimalFreeList() {
        for (void* chunk : chunks_)
            std::free(chunk);
    }
    void* Allocate() {
        if (head_ == nullptr) Refill();
        Free* block = head_;
        head_ = block->next;
        return block;
    }
    void Release(void* p) {
        auto* block = static_cast<Free*>(p);
        block->next = head_;
        head_ = block;
    }

  private:
    struct Free {
        Free* next;
    };
    static constexpr std::size_t kBlock =
        (kNode + alignof(TreeNode) - 1) / alignof(TreeNode) * alignof(TreeNode);
    static constexpr std::size_t kBlocks = 128;

    [[gnu::noinline]] void Refill() {
        auto* chunk = static_cast<unsigned char*>(std::malloc(kBlock * kBlocks));
        if (chunk == nullptr) throw std::bad_alloc();
        chunks_.push_back(chunk);
        for (std::size_t i = kBlocks; i-- > 0;)
            Release(chunk + i * kBlock);
    }

    Free* head_ = nullptr;
    std::vector<void*> chunks_;
};

struct GlibcNew {
    void* Allocate() { return ::operator new(kNode); }
    void Release(void* p) { ::operator delete(p); }
};

struct PmrPool {
    std::pmr::unsynchronized_pool_resource resource;
    void* Allocate() { return resource.allocate(kNode, alignof(TreeNode)); }
    void Release(void* p) { resource.deallocate(p, kNode, alignof(TreeNode)); }
};

#if AVL_BENCH_HAVE_BOOST
struct BoostPool {
    boost::pool<> pool{kNode};
    void* Allocate() { return pool.malloc(); }
    void Release(void* p) { pool.free(p); }
};
#endif

struct Mimalloc {
    void* Allocate() { return peers.miMalloc(kNode); }
    void Release(void* p) { peers.miFree(p); }
};

struct Jemalloc {
    void* Allocate() { return peers.jeMallocx(kNode, 0); }
    void Release(void* p) { peers.jeSdallocx(p, kNode, 0); }
};

// --- Allocation patterns: nanoseconds per node created and destroyed ---------

// Each pattern runs in batches and gives the median batch, in nanoseconds
// per node created and destroyed.
template <class Batch>
double MedianBatch(int batches, double nodesPerBatch, Batch&& batch) {
    std::vector<double> seconds;
    for (int b = 0; b < batches; ++b)
        seconds.push_back(Seconds(batch));
    return Quantile(seconds, 0.5) * 1e9 / nodesPerBatch;
}

template <class C>
double SteadyPairs(C& c) {
    constexpr int kPairs = 1 << 17;
    return MedianBatch(16, kPairs, [&] {
        for (int i = 0; i < kPairs; ++i) {
            TreeNode* node = c.Create(static_cast<Key>(i));
            Keep(node);
            c.Destroy(node);
            Barrier();
        }
    });
}

constexpr std::size_t kAll = 100'000;

template <class C>
double AllocateAllThenFreeAll(C& c) {
    static std::vector<TreeNode*> nodes(kAll);
    return MedianBatch(5, kAll, [&] {
        for (std::size_t i = 0; i < kAll; ++i) {
            nodes[i] = c.Create(static_cast<Key>(i));
            Barrier();
        }
        for (TreeNode* node : nodes) {
            c.Destroy(node);
            Barrier();
        }
    });
}

constexpr std::size_t kLive = 10'000;
constexpr std::size_t kOrder = 1 << 16;

const std::vector<std::uint32_t>& RandomSlots() {
    static const std::vector<std::uint32_t> order = [] {
        std::mt19937 random(42);
        std::uniform_int_distribution<std::uint32_t> pick(0, kLive - 1);
        std::vector<std::uint32_t> o(kOrder);
        for (auto& i : o)
            i = pick(random);
        return o;
    }();
    return order;
}

template <class C>
double RandomReplacement(C& c) {
    static std::vector<TreeNode*> live(kLive);
    for (std::size_t i = 0; i < kLive; ++i)
        live[i] = c.Create(static_cast<Key>(i));
    const std::vector<std::uint32_t>& order = RandomSlots();
    const double ns = MedianBatch(16, kOrder, [&] {
        for (std::size_t step = 0; step < kOrder; ++step) {
            TreeNode*& slot = live[order[step]];
            c.Destroy(slot);
            Barrier();
            slot = c.Create(static_cast<Key>(step));
            Barrier();
        }
    });
    for (TreeNode* node : live)
        c.Destroy(node);
    return ns;
}

enum class Role { kOurs, kDirect, kFloor, kPool, kGeneral };

struct AllocationContender {
    std::string name;
    Role role;
    std::function<std::vector<double>()> round;
};

template <class C>
AllocationContender Contender(std::string name, Role role) {
    auto c = std::make_shared<C>();
    return {std::move(name), role, [c] {
                return std::vector<double>{SteadyPairs(*c), AllocateAllThenFreeAll(*c),
                                           RandomReplacement(*c)};
            }};
}

struct Goals {
    std::vector<std::string> lines;
    bool met = true;
    bool skipped = false;
    void Check(bool ok, const std::string& text) {
        lines.push_back(std::string(ok ? "met:         " : "NOT MET:     ") + text);
        met = met && ok;
    }
    void Skip(const std::string& text) {
        lines.push_back("not checked: " + text + " (a peer is missing, see above)");
        skipped = true;
    }
};

void Allocation(int repetitions, Goals& goals) {
    std::vector<AllocationContender> contenders;
    contenders.push_back(Contender<ProgramPath>("`new TreeNode` / `delete` (ours)", Role::kOurs));
    contenders.push_back(
        Contender<Placed<PoolDirect>>("`MemoryPool::Allocate` / `Deallocate`", Role::kDirect));
    contenders.push_back(
        Contender<Placed<MinimalFreeList>>("a minimal free list (the floor)", Role::kFloor));
#if AVL_BENCH_HAVE_BOOST
    contenders.push_back(Contender<Placed<BoostPool>>("`boost::pool<>`", Role::kPool));
#endif
    contenders.push_back(
        Contender<Placed<PmrPool>>("`std::pmr::unsynchronized_pool_resource`", Role::kPool));
    contenders.push_back(
        Contender<Placed<GlibcNew>>("glibc `operator new` / `delete`", Role::kGeneral));
    if (peers.miMalloc != nullptr && peers.miFree != nullptr)
        contenders.push_back(Contender<Placed<Mimalloc>>("mimalloc", Role::kGeneral));
    if (peers.jeMallocx != nullptr && peers.jeSdallocx != nullptr)
        contenders.push_back(Contender<Placed<Jemalloc>>("jemalloc", Role::kGeneral));

    const Samples samples = Interleaved(contenders.size(), repetitions,
                                        [&](std::size_t c) { return contenders[c].round(); });
    const std::size_t patternCount = samples.of[0].size();

    std::printf(
        "| creating and destroying one `TreeNode` (%zu bytes), ns per node (ratio to ours) | "
        "steady alloc/free pairs | allocate 100,000, free all | random free + alloc, 10,000 "
        "live |\n|---|---|---|---|\n",
        kNode);
    for (std::size_t c = 0; c < contenders.size(); ++c) {
        std::printf("| %s |", contenders[c].name.c_str());
        for (std::size_t p = 0; p < patternCount; ++p)
            std::printf(" %s |", Figure(samples, c, p).c_str());
        std::printf("\n");
    }
    std::printf("\n");

    const char* patterns[] = {"steady pairs", "100,000 then free", "random, 10,000 live"};
    for (std::size_t p = 0; p < patternCount; ++p) {
        for (std::size_t c = 0; c < contenders.size(); ++c) {
            char text[240];
            if (contenders[c].role == Role::kFloor) {
                const Samples::Ratio ratio = samples.Paired(0, c, p);
                std::snprintf(text, sizeof text,
                              "%s: the program's path within 1.3 times the floor (%.2f times; "
                              "middle half of the repetitions %.2f-%.2f)",
                              patterns[p], ratio.median, ratio.low, ratio.high);
                goals.Check(ratio.median <= 1.3, text);
            } else if (contenders[c].role == Role::kGeneral) {
                const Samples::Ratio ratio = samples.Paired(c, 0, p);
                std::snprintf(text, sizeof text,
                              "%s: the program's path ahead of %s (%.2f times faster; middle half "
                              "of the repetitions %.2f-%.2f)",
                              patterns[p], contenders[c].name.c_str(), ratio.median, ratio.low,
                              ratio.high);
                goals.Check(ratio.median > 1.0, text);
            }
        }
    }
}

// --- Trees ---------------------------------------------------------------------

struct OurTree {
    avl::AvlTree tree;
    void Insert(Key key) { tree.insert(key, true); }
    bool Find(Key key) const { return tree.find(key) != nullptr; }
    void Remove(Key key) { tree.removeKey(key); }
    void Clear() { tree.clear(); }
    const TreeNode* Root() const { return tree.rootNode(); }
};

#if AVL_BENCH_HAVE_BOOST
// boost's AVL algorithms on TreeNode's own fields. boost's "negative" balance
// is a taller left subtree, which TreeNode writes as +1.
struct NodeTraits {
    using node = TreeNode;
    using node_ptr = TreeNode*;
    using const_node_ptr = const TreeNode*;
    using balance = int;
    static node_ptr get_parent(const_node_ptr n) { return n->parent; }
    static void set_parent(node_ptr n, node_ptr p) { n->parent = p; }
    static node_ptr get_left(const_node_ptr n) { return n->left; }
    static void set_left(node_ptr n, node_ptr l) { n->left = l; }
    static node_ptr get_right(const_node_ptr n) { return n->right; }
    static void set_right(node_ptr n, node_ptr r) { n->right = r; }
    static balance get_balance(const_node_ptr n) { return n->balance; }
    static void set_balance(node_ptr n, balance b) { n->balance = b; }
    static balance negative() { return 1; }
    static balance zero() { return 0; }
    static balance positive() { return -1; }
};
using BoostAlgorithms = boost::intrusive::avltree_algorithms<NodeTraits>;

struct KeyLess {
    bool operator()(const TreeNode* a, const TreeNode* b) const { return a->key < b->key; }
    bool operator()(const TreeNode* a, Key b) const { return a->key < b; }
    bool operator()(Key a, const TreeNode* b) const { return a < b->key; }
};

struct BoostTree {
    TreeNode header{0};
    BoostTree() { BoostAlgorithms::init_header(&header); }
    BoostTree(const BoostTree&) = delete;
    BoostTree& operator=(const BoostTree&) = delete;
    ~BoostTree() { Clear(); }
    void Insert(Key key) {
        BoostAlgorithms::insert_equal_upper_bound(&header, new TreeNode(key), KeyLess{});
    }
    bool Find(Key key) const { return BoostAlgorithms::find(&header, key, KeyLess{}) != &header; }
    void Remove(Key key) {
        TreeNode* node = BoostAlgorithms::find(&header, key, KeyLess{});
        if (node == &header) return;
        BoostAlgorithms::erase(&header, node);
        delete node;
    }
    void Clear() {
        BoostAlgorithms::clear_and_dispose(&header, [](TreeNode* node) { delete node; });
    }
    const TreeNode* Root() const { return header.parent; }
};

#endif

struct Multiset {
    std::multiset<Key> set;
    void Insert(Key key) { set.insert(key); }
    bool Find(Key key) const { return set.find(key) != set.end(); }
    void Remove(Key key) {
        auto it = set.find(key);
        if (it != set.end()) set.erase(it);
    }
    void Clear() { set.clear(); }
};

struct TreeKeys {
    std::vector<Key> insert, find, remove;
};

TreeKeys MakeKeys(std::size_t n, std::uint32_t seed) {
    TreeKeys keys;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(-128, 127);
    keys.insert.resize(n);
    for (Key& key : keys.insert)
        key = static_cast<Key>(pick(random));
    keys.find = keys.insert;
    std::shuffle(keys.find.begin(), keys.find.end(), random);
    keys.remove = keys.insert;
    std::shuffle(keys.remove.begin(), keys.remove.end(), random);
    return keys;
}

// Puts the pool's free node blocks in address order, lowest first. The
// contenders that build their trees from the pool share it, and the order in
// which a clear or a removal gives nodes back decides where the next nodes
// go; from this order every one of them puts the node of the i-th key at the
// same address.
void SortFreeNodeBlocks() {
    avl::MemoryPool& pool = *avl::CurrentMemoryPool();
    std::vector<void*> blocks(pool.FreeBlockCount(kNode));
    for (void*& block : blocks)
        block = pool.Allocate(kNode);
    std::sort(blocks.begin(), blocks.end(), std::greater<>());
    for (void* block : blocks)
        pool.Deallocate(block, kNode);  // the last one back is taken first
}

// One round: insert every key, find every key, remove every key, then insert
// them again (untimed) and clear. Nanoseconds per key of each. The round
// starts from the pool's free blocks in address order, so that the trees
// built on the pool are built in the same memory.
template <class T>
std::vector<double> TreeRoundOnce(T& tree, const TreeKeys& keys) {
    SortFreeNodeBlocks();
    std::vector<double> s(4);
    s[0] = Seconds([&] {
        for (Key key : keys.insert)
            tree.Insert(key);
    });
    s[1] = Seconds([&] {
        std::size_t found = 0;
        for (Key key : keys.find)
            found += tree.Find(key) ? 1 : 0;
        Keep(found);
    });
    s[2] = Seconds([&] {
        for (Key key : keys.remove)
            tree.Remove(key);
    });
    for (Key key : keys.insert)
        tree.Insert(key);
    s[3] = Seconds([&] { tree.Clear(); });
    for (double& seconds : s)
        seconds = seconds * 1e9 / static_cast<double>(keys.insert.size());
    return s;
}

// Rounds over the key sets in turn, after an untimed one (so that the timed
// rounds find the caches as the contender's own work leaves them); the median
// of each figure. Every round inserts other keys, so that no round repeats
// the branches of the one before.
template <class T>
std::vector<double> TreeRounds(T& tree, const std::vector<TreeKeys>& keySets) {
    TreeRoundOnce(tree, keySets.back());
    std::vector<std::vector<double>> figures(4);
    for (const TreeKeys& keys : keySets) {
        const std::vector<double> round = TreeRoundOnce(tree, keys);
        for (std::size_t f = 0; f < round.size(); ++f)
            figures[f].push_back(round[f]);
    }
    std::vector<double> medians;
    for (const auto& figure : figures)
        medians.push_back(Quantile(figure, 0.5));
    return medians;
}

#if AVL_BENCH_HAVE_BOOST
bool SameShape(const TreeNode* a, const TreeNode* b) {
    if (a == nullptr || b == nullptr) return a == b;
    return a->key == b->key && a->balance == b->balance && SameShape(a->left, b->left) &&
           SameShape(a->right, b->right);
}
#endif

struct TreeContender {
    std::string name;
    std::function<std::vector<double>(const std::vector<TreeKeys>&)> rounds;
};

template <class T>
TreeContender MakeTreeContender(std::string name, std::shared_ptr<T> tree) {
    return {std::move(name),
            [tree](const std::vector<TreeKeys>& keySets) { return TreeRounds(*tree, keySets); }};
}

void Trees(std::size_t n, int repetitions, Goals& goals) {
    // At N = 1,000 a hundred rounds of a thousand keys, each round its own keys.
    std::vector<TreeKeys> keySets;
    for (std::size_t r = 0; r < std::max<std::size_t>(1, 100'000 / n); ++r)
        keySets.push_back(MakeKeys(n, static_cast<std::uint32_t>(n + r)));
    const TreeKeys& keys = keySets.front();

    std::vector<TreeContender> contenders;
    auto ours = std::make_shared<OurTree>();
    contenders.push_back(MakeTreeContender("`AvlTree` (ours)", ours));
#if AVL_BENCH_HAVE_BOOST
    auto boost = std::make_shared<BoostTree>();
    for (Key key : keys.insert) {
        ours->Insert(key);
        boost->Insert(key);
    }
    const bool same = SameShape(ours->Root(), boost->Root());
    ours->Clear();
    boost->Clear();
    contenders.push_back(MakeTreeContender(
        "`boost::intrusive::avltree_algorithms`, the same nodes and pool", boost));
#endif
    const std::size_t multiset = contenders.size();
    contenders.push_back(MakeTreeContender("`std::multiset<Key>`", std::make_shared<Multiset>()));

    const Samples samples = Interleaved(contenders.size(), repetitions, [&](std::size_t c) {
        return contenders[c].rounds(keySets);
    });

    std::printf("| N = %zu, ns per key (ratio to ours) | insert | find | remove | clear |\n", n);
    std::printf("|---|---|---|---|---|\n");
    for (std::size_t c = 0; c < contenders.size(); ++c) {
        std::printf("| %s |", contenders[c].name.c_str());
        for (std::size_t f = 0; f < 4; ++f)
            std::printf(" %s |", Figure(samples, c, f).c_str());
        std::printf("\n");
    }
    std::printf("\n");

    char text[240];
    for (const char* operation : {"insert", "remove"}) {
        const std::size_t f = operation[0] == 'i' ? 0 : 2;
#if AVL_BENCH_HAVE_BOOST
        const Samples::Ratio ratio = samples.Paired(1, 0, f);
        std::snprintf(text, sizeof text,
                      "N = %zu, %s: AvlTree at least as fast as boost's AVL algorithms (%.2f "
                      "times as fast; middle half of the repetitions %.2f-%.2f; tree shapes %s)",
                      n, operation, ratio.median, ratio.low, ratio.high,
                      same ? "identical" : "DIFFERENT");
        goals.Check(ratio.median >= 1.0 && same, text);
#else
        std::snprintf(text, sizeof text, "N = %zu, %s: against boost's AVL algorithms", n,
                      operation);
        goals.Skip(text);
        (void)f;
#endif
    }
    const Samples::Ratio clear = samples.Paired(multiset, 0, 3);
    std::snprintf(text, sizeof text,
                  "N = %zu, clear: AvlTree at least as fast as std::multiset (%.2f times as fast; "
                  "middle half of the repetitions %.2f-%.2f)",
                  n, clear.median, clear.low, clear.high);
    goals.Check(clear.median >= 1.0, text);
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    const std::string only = argc > 2 ? argv[2] : "";
    peers = LoadPeers(argv);
    avl::SummonMemoryPool();

    std::printf("peers_bench: medians of %d interleaved repetitions\n\n", repetitions);
#if !AVL_BENCH_HAVE_BOOST
    peers.notes +=
        "boost::pool and boost's AVL algorithms skipped: built without Boost's "
        "headers (install libboost-dev)\n";
#endif
    if (!peers.notes.empty()) std::printf("%s\n", peers.notes.c_str());

    Goals goals;
    if (only != "tree") Allocation(repetitions, goals);
    if (only != "pool") {
        // The trees start on a fresh pool, as the program does, not on the
        // hundred thousand blocks the allocation patterns left free.
        avl::ReleaseMemoryPool();
        avl::SummonMemoryPool();
        for (std::size_t n : {1'000u, 100'000u, 1'000'000u})
            Trees(n, repetitions, goals);
    }

    std::printf("Goals, on the figures above:\n");
    for (const std::string& line : goals.lines)
        std::printf("  %s\n", line.c_str());
    std::printf("%s\n", !goals.met      ? "Some goals NOT met."
                        : goals.skipped ? "The goals checked are met; some were not checked."
                                        : "All goals met.");
    avl::ReleaseMemoryPool();
    return 0;
}
