#pragma once
// What became of the program under test, as waitpid() reports it.

#include <ostream>
#include <string>

namespace term_harness {

struct ExitStatus {
    enum class State { Running, Stopped, Exited, Signaled };

    State state = State::Running;
    int code = 0;    // the exit code, when Exited
    int signal = 0;  // the stopping or terminating signal, when Stopped or Signaled

    bool ended() const { return state == State::Exited || state == State::Signaled; }
    bool exitedWith(int exitCode) const { return state == State::Exited && code == exitCode; }
    bool killedBy(int sig) const { return state == State::Signaled && signal == sig; }
    bool stopped() const { return state == State::Stopped; }

    // Decodes a raw waitpid() status.
    static ExitStatus fromWaitStatus(int status);
    // "running", "stopped by SIGTSTP", "exited with 0", "killed by SIGSEGV".
    std::string describe() const;
};

// Lets GoogleTest print an ExitStatus in failure messages.
inline std::ostream& operator<<(std::ostream& out, const ExitStatus& status) {
    return out << status.describe();
}

}  // namespace term_harness
