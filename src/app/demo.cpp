#include "app/demo.h"

#include "app/key_bindings.h"
#include "app/menu.h"
#include "orvask/output.h"
#include "orvask/platform/console_codes.h"
#include "orvask/setup.h"
#include "support/memory_pool.h"
#include "tree/avl_tree.h"
#include "view/key_press.h"
#include "view/tree_view.h"

namespace avl {

namespace {

constexpr int kCodePage = orvask::platform::kCodePage437;
constexpr short kScreenWidth = 80;
constexpr short kScreenHeight = 25;

void apply(const Command& command, AvlTree& tree, TreeView& view) {
    switch (command.action) {
        case Action::Insert:
            tree.insert(command.key, false);  // a key already there is rejected
            break;
        case Action::Delete:
            tree.removeKey(command.key);
            break;
        case Action::DeleteAll:
            tree.clear();
            break;
        case Action::TogglePause:
            view.paused = !view.paused;
            break;
        case Action::None:
        case Action::Exit:
            break;
    }
}

}  // namespace

int runDemo() {
    // The pool first: nodes exist only while it does.
    SummonMemoryPool();
    orvask::title("AVL Tree Demo");
    orvask::coninit(kCodePage, kScreenWidth, kScreenHeight, 0);
    orvask::cursor(0);

    AvlTree tree;
    TreeView view(tree);
    view.redraw();

    for (;;) {
        printMenu(view.paused);
        const Command command = commandFor(readKeyPress());
        if (command.action == Action::Exit) break;
        apply(command, tree, view);
        view.redraw();
    }

    // Every node back in the pool before the pool goes; the emptied tree is
    // destroyed afterwards without touching it.
    tree.clear();
    orvask::conexit(kScreenWidth, kScreenHeight);
    ReleaseMemoryPool();
    return 0;
}

}  // namespace avl
