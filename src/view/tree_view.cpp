#include "view/tree_view.h"

#include "orvask/output.h"
#include "orvask/platform/backend.h"
#include "view/balance_mark.h"
#include "view/rotation_lesson.h"

namespace avl {

namespace {

using namespace orvask;

constexpr char kEmptyWide[] = " _ ";
constexpr char kEmptyCompact[] = ".";

// After a rotation message: what is printed after it while the message is
// fresh (paused or not) and once it has settled. The spaces wipe the rest of
// a longer earlier message and of the pause prompt.
constexpr char kPausePrompt[] = " <do>";
constexpr char kFreshTail[] = "      ";
constexpr char kSettledTail[] = "     ";

// Text in the current colours at the cursor.
void printPlain(const char* text) {
    Pcur(text, KeepFg, KeepBg);
}

}  // namespace

TreeView::TreeView(SearchTree& viewed) : tree(viewed) {
    tree.setObserver(this);
}

void TreeView::notify(const std::string& message) {
    if (message == "insertion" || message == "deletion") {
        redraw();
        return;
    }
    if (lessonShown) {
        lessonShown = false;
        settleLesson(message);
        return;
    }
    showRotation(message);
}

void TreeView::aboutToRotate(Rotation rotation, const TreeNode& node) {
    if (!teaching) return;
    teachRotation(tree, rotation, node, {paused, slowdown, dim()});
    lessonShown = true;
}

unsigned char TreeView::dim() const {
    return contrast ? LightGrey : DarkGrey;
}

void TreeView::clearMessage() {
    gotoxy(0, 0);
    Pfill(kMessageWidth - 1, ' ');
}

void TreeView::redraw() {
    layout = LayoutCursor{};
    tree.levelOrder([this](const TreeNode* node) { drawSlot(node); });
    while (!layout.finished())
        drawSlot(nullptr);
    Pnl(1);
}

void TreeView::drawSlot(const TreeNode* node) {
    if (layout.finished()) return;
    const bool wide = layout.wide();
    gotoxy(static_cast<short>(layout.slotStart()), static_cast<short>(layout.drawRow));
    setfg(dim());
    if (node == nullptr) {
        printPlain(wide ? kEmptyWide : kEmptyCompact);
    } else {
        setfg(White);
        const char key = static_cast<char>(node->key);
        if (wide) {
            const char text[] = {' ', key, ' ', '\0'};
            printPlain(text);
            drawBalanceMark(node->balance);
        } else {
            Pcur(key, White, KeepBg);
        }
    }
    layout.advance();
}

void TreeView::drawBalanceMark(int balance) {
    const BalanceMark* mark = balanceMark(balance);
    if (mark == nullptr) return;
    Pxy(static_cast<short>(layout.slotStart() + mark->column), static_cast<short>(layout.drawRow),
        mark->glyph, mark->colour, KeepBg);
}

void TreeView::showRotation(const std::string& message) {
    platform::Backend& console = platform::backend();

    setfg(White);
    gotoxy(0, 0);
    printPlain(message.c_str());
    if (paused) {
        setfg(LightGrey);
        printPlain(kPausePrompt);
        // Whatever key continues, all of it is taken here; at the end of
        // input there is nothing to wait for.
        console.readKeyPress();
    } else {
        printPlain(kFreshTail);
        Pnl(1);
        console.sleep(kFlashMilliseconds * slowdown);
    }

    setfg(dim());
    gotoxy(0, 0);
    printPlain(message.c_str());
    printPlain(kSettledTail);
    Pnl(1);
    console.sleep(kSettleMilliseconds * slowdown);

    redraw();
}

void TreeView::settleLesson(const std::string& message) {
    gotoxy(0, 0);
    Pcur(message.c_str(), dim(), KeepBg);
    Pfill(kMessageWidth - 1, ' ');
    platform::backend().sleep(kSettleMilliseconds * slowdown);
    redraw();
}

}  // namespace avl
