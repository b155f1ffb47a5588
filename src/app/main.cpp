// AVL Tree Demo: type digits and letters to grow a self-balancing tree and
// watch its rotations.
//
// The command line is read, and a recording file created, before anything
// touches the terminal: --help, --version and every refusal print on the
// standard streams of a terminal left as it is.
#include <csignal>
#include <cstdio>
#include <memory>

#include "app/demo.h"
#include "app/demo_command_line.h"
#include "app/session_recording.h"
#include "cli/command_line.h"

namespace {

constexpr int kRecordingLost = 1;
constexpr int kBadCommandLine = 2;
constexpr int kRecordedWidth = 80;
constexpr int kRecordedHeight = 25;

int refuse(const std::string& error) {
    std::fputs(cli::errorReport("avl-demo", error).c_str(), stderr);
    return kBadCommandLine;
}

}  // namespace

int main(int argc, char** argv) {
    avl::DemoCommandLine line = avl::parseDemoCommandLine(argc, argv);
    switch (line.request) {
        case avl::DemoCommandLine::Request::Help:
            std::fputs(avl::demoUsage().c_str(), stdout);
            return 0;
        case avl::DemoCommandLine::Request::Version:
            std::fputs(avl::demoVersion().c_str(), stdout);
            return 0;
        case avl::DemoCommandLine::Request::Error:
            return refuse(line.error);
        case avl::DemoCommandLine::Request::Run:
            break;
    }
    std::unique_ptr<avl::SessionRecording> recording;
    if (!line.recordPath.empty()) {
        std::string error;
        recording = avl::SessionRecording::create(line.recordPath, line.overwriteRecording,
                                                  kRecordedWidth, kRecordedHeight, error);
        if (recording == nullptr) return refuse(error);
        line.options.recording = recording.get();
#ifdef SIGXFSZ
        // A file size limit makes the recording's write fail, which ends the
        // recording, instead of ending the program.
        std::signal(SIGXFSZ, SIG_IGN);
#endif
    }
    const int status = avl::runDemo(line.options);
    if (recording != nullptr && !recording->failure().empty()) {
        // The terminal is the user's again: the line lands on their screen.
        std::fputs(("avl-demo: the recording stopped: " + recording->failure() + "\n").c_str(),
                   stderr);
        return kRecordingLost;
    }
    return status;
}
