// What the process-wide pool writes to the log and its fatal paths, each run
// in a child process inside a fresh working directory.

#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "scratch_directory.h"
#include "support/memory_pool.h"
#include "support/pooled_object.h"

namespace avl::testing {
namespace {

using ::testing::ExitedWithCode;
using Lines = std::vector<std::string>;

class PoolReportTest : public ScratchDirectoryTest {};

struct Probe : PooledObject {
    int value = 0;
};

// Allocates `count` objects of `size` from the process-wide pool and keeps
// them.
void Leak(std::size_t size, int count) {
    for (int i = 0; i < count; ++i)
        CurrentMemoryPool()->Allocate(size);
}

// Creates the process-wide pool, misuses it in every way it notices, and
// releases it with objects of two sizes still out.
[[noreturn]] void MisuseAndRelease() {
    SummonMemoryPool();
    MemoryPool& pool = *CurrentMemoryPool();
    pool.Deallocate(::operator new(1024), 1024);  // passed through, yet reported
    pool.Deallocate(::operator new(40), 40);      // a size the pool never served
    void* twice = pool.Allocate(8);
    pool.Deallocate(twice, 8);
    pool.Deallocate(twice, 8);
    pool.Deallocate(nullptr, 8);
    Leak(48, 3);
    Leak(24, 130);
    ReleaseMemoryPool();
    ReleaseMemoryPool();
    std::exit(0);
}

TEST_F(PoolReportTest, WithLoggingOnEveryMisuseAndLeakIsReportedInOrder) {
    EXPECT_EXIT(
        {
            MemoryPool::LogEnabled = true;
            MisuseAndRelease();
        },
        ExitedWithCode(0), "");
    EXPECT_EQ(ReadLogLines(),
              (Lines{
                  "Summoning The MemoryPool...",
                  "WARNING: A nonmember delete operation is requested to the MemoryPool.",
                  " Object Size : 1024 byte",
                  "WARNING: A nonmember delete operation is requested to the MemoryPool.",
                  " Object Size : 40 byte",
                  "WARNING: A double deletion is requested to the MemoryPool.",
                  " Object Size : 8 byte",
                  "Releasing The MemoryPool...",
                  "WARNING: MemoryPool detected some memory leak.",
                  " Object Size : 24 byte",
                  " Number of Objects : 130",
                  "WARNING: MemoryPool detected some memory leak.",
                  " Object Size : 48 byte",
                  " Number of Objects : 3",
              }));
}

TEST_F(PoolReportTest, WithLoggingOffNoLogIsCreatedAndAnOldOneIsLeftAlone) {
    EXPECT_EXIT(MisuseAndRelease(), ExitedWithCode(0), "");
    EXPECT_FALSE(LogExists());

    WriteLogText("from an earlier run\r\n");
    EXPECT_EXIT(MisuseAndRelease(), ExitedWithCode(0), "");
    EXPECT_EQ(ReadLogText(), "from an earlier run\r\n");
}

TEST_F(PoolReportTest, PooledObjectWithoutAPoolIsFatal) {
    const Lines notReady{"FATAL_ERROR : MemoryPool is not ready!"};
    const char* box = "caption=<Vornel Crashed> text=<MemoryPool is not ready!> logged=1";

    EXPECT_EXIT(
        {
            InstallReportingConsole();
            new Probe;
        },
        ExitedWithCode(1), box);
    EXPECT_EQ(ReadLogLines(), notReady);

    EXPECT_EXIT(
        {
            InstallReportingConsole();
            SummonMemoryPool();
            void* storage = Probe::operator new(sizeof(Probe));
            ReleaseMemoryPool();
            Probe::operator delete(storage, sizeof(Probe));
        },
        ExitedWithCode(1), box);
    EXPECT_EQ(ReadLogLines(), notReady);

    EXPECT_EXIT(
        {
            InstallReportingConsole();
            SummonMemoryPool();
            ReleaseMemoryPool();
            new Probe;
        },
        ExitedWithCode(1), box);
    EXPECT_EQ(ReadLogLines(), notReady);
}

// A heap with room for exactly one chunk.
void* OneChunkHeap(std::size_t bytes) {
    static bool used = false;
    return std::exchange(used, true) ? nullptr : std::malloc(bytes);
}

TEST_F(PoolReportTest, AChunkTheHeapCannotSupplyIsFatal) {
    EXPECT_EXIT(
        {
            InstallReportingConsole();
            MemoryPool::SetChunkSource([](std::size_t) -> void* { return nullptr; });
            MemoryPool pool;
            pool.Allocate(24);
        },
        ExitedWithCode(1), "text=<MemoryPool is out of memory!> logged=1");
    EXPECT_EQ(ReadLogLines(), Lines{"FATAL_ERROR : MemoryPool is out of memory!"});

    // The first chunk serves its 128 blocks; only the next allocation fails.
    EXPECT_EXIT(
        {
            InstallReportingConsole();
            MemoryPool::SetChunkSource(&OneChunkHeap);
            MemoryPool pool;
            for (int i = 0; i < 128; ++i)
                pool.Allocate(24);
            std::fprintf(stderr, "served %llu\n",
                         static_cast<unsigned long long>(pool.Counts().handedOut));
            pool.Allocate(24);
        },
        ExitedWithCode(1), "served 128\n.*text=<MemoryPool is out of memory!>");
}

}  // namespace
}  // namespace avl::testing
