#include "app/demo.h"

#include "app/history.h"
#include "app/key_bindings.h"
#include "app/menu.h"
#include "app/step_report.h"
#include "orvask/keyboard.h"
#include "orvask/output.h"
#include "orvask/platform/console_codes.h"
#include "orvask/setup.h"
#include "support/memory_pool.h"
#include "tree/avl_tree.h"
#include "view/explanation.h"
#include "view/tree_view.h"

namespace avl {

namespace {

constexpr int kCodePage = orvask::platform::kCodePage437;
constexpr short kScreenWidth = 80;
constexpr short kScreenHeight = 25;
constexpr const char* kStartExplanation = "The empty tree at the start.";

// The tree, its view and the history of the steps that built it. Every
// rotation's reason is recorded for the explanation row; the view is told of
// each rotation too, for its lessons while teaching.
class Session {
  public:
    Session(AvlTree& tree, TreeView& view) : tree_(tree), view_(view) {
        recorder_.next = &view_;
        tree_.setRotationWatcher(&recorder_);
    }
    ~Session() { tree_.setRotationWatcher(nullptr); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The keys typed before the user takes over: steps like any other, but
    // nothing is drawn, so the tree simply ends up as the keys leave it.
    void typeAhead(const std::string& keys) {
        Unwatched quiet(*this);
        for (const char key : keys) {
            const int code = key == '\n' ? orvask::key::Enter : static_cast<unsigned char>(key);
            handle(commandFor({KeyPress::Kind::Character, code}));
        }
    }

    // One command of the key loop (not Exit).
    void handle(const Command& command) {
        switch (command.action) {
            case Action::Insert:
            case Action::Delete:
            case Action::DeleteAll:
                type(command);
                break;
            case Action::StepBack:
                goTo(history_.current() - 1);
                break;
            case Action::StepForward:
                stepForward();
                break;
            case Action::FirstStep:
                goTo(history_.oldest());
                break;
            case Action::LastStep:
                goTo(history_.latest());
                break;
            case Action::TogglePause:
                view_.paused = !view_.paused;
                break;
            case Action::ToggleTeaching:
                view_.teaching = !view_.teaching;
                if (!view_.teaching) clearTeachingRows();
                break;
            case Action::None:
            case Action::Exit:
                break;
        }
    }

    // The rows below the menu, while teaching: the last step explained and
    // where the history stands.
    void showTeachingRows() const {
        if (!view_.teaching) return;
        showExplanation(explanation_);
        printHistoryRow(history_.current(), history_.latest());
    }

  private:
    // Detaches the view for the scope: the tree changes without a picture.
    class Unwatched {
      public:
        explicit Unwatched(Session& session) : session_(session) {
            session_.tree_.setObserver(nullptr);
            session_.recorder_.next = nullptr;
        }
        ~Unwatched() {
            session_.tree_.setObserver(&session_.view_);
            session_.recorder_.next = &session_.view_;
        }
        Unwatched(const Unwatched&) = delete;
        Unwatched& operator=(const Unwatched&) = delete;

      private:
        Session& session_;
    };

    // A key that may change the tree: if it does, it is the newest step.
    void type(const Command& command) {
        const StepReport report = perform(command);
        explanation_ = explain(report);
        if (report.changed) history_.add({command, shapeOf(tree_), explanation_});
    }

    StepReport perform(const Command& command) {
        StepReport report;
        report.command = command;
        recorder_.reasons.clear();
        switch (command.action) {
            case Action::Insert:
                // A key already there is rejected.
                report.changed = tree_.insert(command.key, false) != nullptr;
                break;
            case Action::Delete:
                if (TreeNode* node = tree_.find(command.key); node != nullptr) {
                    report.changed = true;
                    if (node->left != nullptr && node->right != nullptr) {
                        report.successor = node->successor()->key;
                    }
                    tree_.remove(node);
                }
                break;
            case Action::DeleteAll:
                report.deletedKeys = tree_.size();
                report.changed = !tree_.isEmpty();
                tree_.clear();
                break;
            default:
                break;
        }
        report.rotations = std::move(recorder_.reasons);
        return report;
    }

    // Shows a step's tree at once, without replaying anything.
    void goTo(int step) {
        const int from = history_.current();
        history_.moveTo(step);
        if (history_.current() == from) return;
        const History::Step& shown = history_.step(history_.current());
        {
            Unwatched quiet(*this);
            rebuild(tree_, shown.shape);
        }
        explanation_ = shown.explanation;
        view_.clearMessage();
    }

    // Replays the next step as if it were typed.
    void stepForward() {
        if (history_.current() == history_.latest()) return;
        const History::Step& next = history_.step(history_.current() + 1);
        perform(next.command);
        explanation_ = next.explanation;
        history_.moveTo(history_.current() + 1);
    }

    AvlTree& tree_;
    TreeView& view_;
    RotationRecorder recorder_;
    History history_{{Command{}, "", kStartExplanation}};
    std::string explanation_ = kStartExplanation;
};

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
    view.teaching = options.teaching;
    view.contrast = options.contrast;
    {
        Session session(tree, view);
        session.typeAhead(options.keys);
        view.redraw();

        for (;;) {
            printMenu(view.paused, view.contrast);
            session.showTeachingRows();
            const Command command = commandFor(console.readKeyPress());
            if (command.action == Action::Exit) break;
            session.handle(command);
            view.redraw();
        }
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
