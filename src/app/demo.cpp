#include "app/demo.h"

#include "app/key_bindings.h"
#include "app/menu.h"
#include "orvask/keyboard.h"
#include "orvask/output.h"
#include "orvask/platform/console_codes.h"
#include "orvask/setup.h"
#include "support/memory_pool.h"
#include "tree/avl_tree.h"
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

// The keys typed before the user takes over, with the tree's observer
// detached: no animation, the tree simply ends up as the keys leave it.
void typeAhead(const std::string& keys, AvlTree& tree, TreeView& view) {
    tree.setObserver(nullptr);
    for (char key : keys) {
        const int code = key == '\n' ? orvask::key::Enter : static_cast<unsigned char>(key);
        apply(commandFor({KeyPress::Kind::Character, code}), tree, view);
    }
    tree.setObserver(&view);
}

}  // namespace

int runDemo(const DemoOptions& options) {
    // The pool first: nodes exist only while it does.
    SummonMemoryPool();
    orvask::platform::Backend& console = orvask::platform::backend();
    console.tapOutput(options.recording);
    orvask::title("AVL Tree Demo");
    orvask::coninit(kCodePage, kScreenWidth, kScreenHeight, 0);
    orvask::cursor(0);

    AvlTree tree;
    TreeView view(tree);
    view.paused = options.paused;
    view.slowdown = options.slowdown;
    typeAhead(options.keys, tree, view);
    view.redraw();

    for (;;) {
        printMenu(view.paused);
        const Command command = commandFor(console.readKeyPress());
        if (command.action == Action::Exit) break;
        apply(command, tree, view);
        view.redraw();
    }

    // Every node back in the pool before the pool goes; the emptied tree is
    // destroyed afterwards without touching it.
    tree.clear();
    orvask::conexit(kScreenWidth, kScreenHeight);
    console.tapOutput(nullptr);
    ReleaseMemoryPool();
    return 0;
}

}  // namespace avl
