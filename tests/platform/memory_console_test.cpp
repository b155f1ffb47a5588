#include <gtest/gtest.h>

#include "orvask/platform/memory_console.h"

namespace orvask::platform {
namespace {

TEST(MemoryConsole, WritesWrapAtTheLastColumnAndNewlineOnlyMovesTheCursor) {
    MemoryConsole con({10, 3});
    con.setAttribute(0x1E);
    con.setCursorPosition({8, 0});
    con.write("abc", 3);  // 'c' wraps onto row 1
    EXPECT_EQ(con.text(8, 0, 2), "ab");
    EXPECT_EQ(con.glyph(0, 1), 'c');
    EXPECT_EQ(con.attributeAt(0, 1), 0x1E);
    EXPECT_EQ(con.cursorPosition(), (Coord{1, 1}));

    con.write("\n", 1);
    EXPECT_EQ(con.cursorPosition(), (Coord{0, 2}));
    EXPECT_EQ(con.glyph(1, 1), ' ') << "a newline stores nothing";

    // Control bytes and high bytes are glyphs, not commands.
    const char bytes[] = {'\0', '\r', '\t', '\x1b', '\xff'};
    con.write(bytes, sizeof bytes);
    EXPECT_EQ(con.glyph(0, 2), 0);
    EXPECT_EQ(con.glyph(1, 2), '\r');
    EXPECT_EQ(con.glyph(3, 2), 0x1B);
    EXPECT_EQ(con.glyph(4, 2), 0xFF);
}

TEST(MemoryConsole, WritingTheBottomRightCellScrollsInTheCurrentAttribute) {
    MemoryConsole con({4, 2});
    con.write("top!", 4);
    con.setAttribute(0x20);
    con.write("low", 3);
    EXPECT_EQ(con.rowText(0), "top!");
    con.write("X", 1);  // bottom-right cell: the buffer scrolls at once
    EXPECT_EQ(con.rowText(0), "lowX");
    EXPECT_EQ(con.rowText(1), "    ");
    EXPECT_EQ(con.attributeAt(2, 1), 0x20);
    EXPECT_EQ(con.cursorPosition(), (Coord{0, 1}));
}

TEST(MemoryConsole, CursorOutsideTheBufferIsIgnoredAndResizeKeepsContent) {
    MemoryConsole con({5, 5});
    con.setCursorPosition({2, 3});
    con.setCursorPosition({5, 0});
    con.setCursorPosition({-1, 0});
    EXPECT_EQ(con.cursorPosition(), (Coord{2, 3}));
    con.write("Z", 1);
    con.setBufferSize({3, 4});
    EXPECT_EQ(con.bufferSize(), (Coord{3, 4}));
    EXPECT_EQ(con.cursorPosition(), (Coord{2, 3}));
    EXPECT_EQ(con.glyph(2, 3), 'Z');
    con.setBufferSize({6, 6});
    EXPECT_EQ(con.glyph(2, 3), 'Z');
    EXPECT_EQ(con.glyph(5, 5), ' ');
}

TEST(MemoryConsole, ScriptedKeysAndVirtualClock) {
    MemoryConsole con;
    EXPECT_FALSE(con.keyWaiting());
    EXPECT_EQ(con.readKey(), kEndOfInput);

    con.pushKeys({224, 72});
    con.pushKeyAt(50'000, 'q');
    EXPECT_TRUE(con.keyWaiting());
    EXPECT_EQ(con.readKey(), 224);
    EXPECT_EQ(con.readKey(), 72);
    EXPECT_FALSE(con.keyWaiting()) << "the timed key is not there yet";
    const std::uint32_t t0 = con.tickCount();
    con.sleep(20);
    EXPECT_EQ(con.tickCount() - t0, 20u);
    EXPECT_FALSE(con.keyWaiting());
    EXPECT_EQ(con.readKey(), 'q') << "a blocking read waits for it";
    EXPECT_EQ(con.now(), 50'000u);

    std::int64_t freq = 0;
    ASSERT_TRUE(con.performanceFrequency(freq));
    EXPECT_EQ(con.performanceCounter(), 50'000 * freq / 1'000'000);
}

TEST(MemoryConsole, HeldKeysReleaseAfterTheirQueries) {
    MemoryConsole con;
    con.holdKey(vk::Shift, 2);
    EXPECT_TRUE(con.keyDown(vk::Shift));
    EXPECT_TRUE(con.keyDown(vk::Shift));
    EXPECT_FALSE(con.keyDown(vk::Shift));
    con.holdKey(vk::Menu);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(con.keyDown(vk::Menu));
    con.releaseKey(vk::Menu);
    EXPECT_FALSE(con.keyDown(vk::Menu));
    EXPECT_EQ(con.keyStateQueries(), 14u);
}

TEST(MemoryConsole, InstallingReplacesTheBackendForTheScope) {
    {
        MemoryConsoleScope scope({20, 5});
        backend().setTitle("Probe");
        backend().messageBox("Caption", "Text");
        EXPECT_EQ(scope->model().title, "Probe");
        ASSERT_EQ(scope->messages().size(), 1u);
        EXPECT_EQ(scope->messages()[0].caption, "Caption");
        EXPECT_EQ(&backend(), &*scope);
    }
}

}  // namespace
}  // namespace orvask::platform
