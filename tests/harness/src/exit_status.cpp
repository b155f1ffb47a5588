#include "term_harness/exit_status.h"

#include <sys/wait.h>

#include <cstring>

namespace term_harness {

ExitStatus ExitStatus::fromWaitStatus(int status) {
    ExitStatus out;
    if (WIFEXITED(status)) {
        out.state = State::Exited;
        out.code = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        out.state = State::Signaled;
        out.signal = WTERMSIG(status);
    } else if (WIFSTOPPED(status)) {
        out.state = State::Stopped;
        out.signal = WSTOPSIG(status);
    }  // WIFCONTINUED: running again
    return out;
}

namespace {
std::string signalName(int sig) {
    const char* abbrev = sigabbrev_np(sig);
    return abbrev ? std::string("SIG") + abbrev : "signal " + std::to_string(sig);
}
}  // namespace

std::string ExitStatus::describe() const {
    switch (state) {
        case State::Running:
            return "running";
        case State::Stopped:
            return "stopped by " + signalName(signal);
        case State::Exited:
            return "exited with " + std::to_string(code);
        case State::Signaled:
            return "killed by " + signalName(signal);
    }
    return "unknown";
}

}  // namespace term_harness
