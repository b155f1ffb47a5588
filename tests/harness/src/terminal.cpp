#include "term_harness/terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utmp.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace term_harness {

namespace {

using Clock = std::chrono::steady_clock;

// The session leader passes the program's pid and then every waitpid()
// status on this descriptor.
constexpr int kReportFd = 3;

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error("term_harness: " + what + ": " + std::strerror(errno));
}

void setNonBlocking(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

void resetSignals() {
    for (int sig = 1; sig < NSIG; ++sig)
        signal(sig, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
}

void writeAll(int fd, const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
}

// The program itself: its own process group, in the foreground of the
// terminal, then exec.
[[noreturn]] void execProgram(const Options& options) {
    close(kReportFd);
    setpgid(0, 0);
    // Taking the foreground from a background group needs SIGTTOU out of the way.
    signal(SIGTTOU, SIG_IGN);
    tcsetpgrp(STDOUT_FILENO, getpid());
    signal(SIGTTOU, SIG_DFL);

    std::vector<char*> argv;
    for (const std::string& arg : options.argv)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    std::fprintf(stderr, "term_harness: cannot run %s: %s\r\n", argv[0], std::strerror(errno));
    _exit(127);
}

volatile sig_atomic_t jobPid = 0;
volatile sig_atomic_t jobStopped = 0;

// As a shell does when its terminal hangs up: pass the hang-up on to the job
// (the kernel signals only the session leader), and wake the job if it is
// stopped. A running job gets no SIGCONT: it would discard a stop that is
// under way, such as the one a debugger's or leak checker's ptrace attach sends.
void forwardHangUp(int) {
    if (jobPid > 0) {
        kill(-jobPid, SIGHUP);
        if (jobStopped) kill(-jobPid, SIGCONT);
    }
}

// What runs in the new session: a minimal job-control shell that starts the
// program as its foreground job and reports on it until it ends.
[[noreturn]] void runSessionLeader(const Options& options, int reportFd, int stdinFd) {
    resetSignals();
    // Crash tests must not litter the disk with core files.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    if (stdinFd >= 0) dup2(stdinFd, STDIN_FILENO);
    if (reportFd != kReportFd) dup2(reportFd, kReportFd);
    close_range(kReportFd + 1, ~0U, 0);

    setenv("TERM", options.term.c_str(), 1);
    for (const auto& [name, value] : options.env)
        setenv(name.c_str(), value.c_str(), 1);
    for (const std::string& name : options.unsetEnv)
        unsetenv(name.c_str());

    const pid_t program = fork();
    if (program == 0) execProgram(options);
    if (program < 0) _exit(126);
    setpgid(program, program);
    // A hang-up must not take the leader away before it has reported.
    jobPid = program;
    struct sigaction hangUp {};
    hangUp.sa_handler = &forwardHangUp;
    sigaction(SIGHUP, &hangUp, nullptr);
    writeAll(kReportFd, &program, sizeof program);
    for (;;) {
        int status = 0;
        const pid_t got = waitpid(program, &status, WUNTRACED | WCONTINUED);
        if (got < 0) {
            if (errno == EINTR) continue;
            _exit(125);
        }
        jobStopped = WIFSTOPPED(status) ? 1 : 0;
        writeAll(kReportFd, &status, sizeof status);
        if (WIFEXITED(status) || WIFSIGNALED(status)) _exit(0);
    }
}

}  // namespace

Terminal::Terminal(Options options) : options_(std::move(options)) {
    if (options_.argv.empty()) throw std::invalid_argument("term_harness: no program given");
    static const bool sigpipeIgnored = [] {
        signal(SIGPIPE, SIG_IGN);
        return true;
    }();
    (void)sigpipeIgnored;

    screen_ = std::make_unique<Screen>(options_.cols, options_.rows);
    screen_->setReplySink([this](std::string_view reply) { pendingReplies_ += reply; });

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) fail("pipe");
    int input[2] = {-1, -1};
    if (options_.stdinFromPipe && pipe2(input, O_CLOEXEC) != 0) fail("pipe");

    winsize size{};
    size.ws_col = static_cast<unsigned short>(options_.cols);
    size.ws_row = static_cast<unsigned short>(options_.rows);
    int slave = -1;
    if (openpty(&master_, &slave, nullptr, nullptr, &size) != 0) fail("openpty");
    // The modes before any program could touch them.
    if (tcgetattr(master_, &initialModes_) != 0) fail("tcgetattr");
    leaderPid_ = fork();
    if (leaderPid_ < 0) fail("fork");
    if (leaderPid_ == 0) {
        close(master_);
        if (login_tty(slave) != 0) _exit(124);
        runSessionLeader(options_, report[1], input[0]);
    }
    close(slave);

    fcntl(master_, F_SETFD, FD_CLOEXEC);
    setNonBlocking(master_);
    close(report[1]);
    reportPipe_ = report[0];
    setNonBlocking(reportPipe_);
    if (options_.stdinFromPipe) {
        close(input[0]);
        stdinPipe_ = input[1];
        setNonBlocking(stdinPipe_);
    }

    // The program's pid comes first on the report pipe.
    const auto deadline = Clock::now() + kDefaultTimeout;
    while (programPid_ < 0 && reportPipe_ >= 0 && Clock::now() < deadline)
        pump(Millis(10));
    if (programPid_ < 0) {
        killAndReap();
        throw std::runtime_error("term_harness: the session leader did not start the program");
    }
}

Terminal::~Terminal() {
    killAndReap();
}

void Terminal::killAndReap() {
    // The whole job: a pipeline started by a shell lives in the program's group.
    if (programPid_ > 0 && !status_.ended()) kill(-programPid_, SIGKILL);
    if (leaderPid_ > 0 && !leaderReaped_) {
        kill(leaderPid_, SIGKILL);
        waitpid(leaderPid_, nullptr, 0);
        leaderReaped_ = true;
    }
    for (int* fd : {&master_, &stdinPipe_, &reportPipe_}) {
        if (*fd >= 0) close(*fd);
        *fd = -1;
    }
}

std::size_t Terminal::pump(Millis wait) {
    const bool inputToPipe = options_.stdinFromPipe;
    pollfd fds[3];
    nfds_t count = 0;
    int masterSlot = -1, reportSlot = -1, pipeSlot = -1;
    if (master_ >= 0 && !masterEnded_) {
        short events = POLLIN;
        if (!pendingReplies_.empty() || (!inputToPipe && !pendingInput_.empty())) events |= POLLOUT;
        masterSlot = static_cast<int>(count);
        fds[count++] = {master_, events, 0};
    }
    if (reportPipe_ >= 0) {
        reportSlot = static_cast<int>(count);
        fds[count++] = {reportPipe_, POLLIN, 0};
    }
    if (stdinPipe_ >= 0 && !pendingInput_.empty()) {
        pipeSlot = static_cast<int>(count);
        fds[count++] = {stdinPipe_, POLLOUT, 0};
    }
    if (count == 0) return 0;
    if (::poll(fds, count, static_cast<int>(wait.count())) <= 0) return 0;

    std::size_t received = 0;
    if (masterSlot >= 0) {
        const short revents = fds[masterSlot].revents;
        if (revents & (POLLIN | POLLHUP | POLLERR)) {
            char buffer[65536];
            for (;;) {
                const ssize_t n = read(master_, buffer, sizeof buffer);
                if (n > 0) {
                    const std::string_view bytes(buffer, static_cast<std::size_t>(n));
                    screen_->feed(bytes);
                    sinceMark_ += bytes;
                    totalBytes_ += static_cast<std::uint64_t>(n);
                    received += static_cast<std::size_t>(n);
                    continue;
                }
                if (n < 0 && errno == EINTR) continue;
                // EIO (or 0): every slave descriptor is closed; nothing more comes.
                if (n == 0 || errno != EAGAIN) masterEnded_ = true;
                break;
            }
        }
        if ((revents & POLLOUT) && master_ >= 0) {
            std::string& queue = !pendingReplies_.empty() ? pendingReplies_ : pendingInput_;
            const ssize_t n = write(master_, queue.data(), queue.size());
            if (n > 0) queue.erase(0, static_cast<std::size_t>(n));
        }
    }
    if (pipeSlot >= 0 && (fds[pipeSlot].revents & (POLLOUT | POLLERR | POLLHUP))) {
        const ssize_t n = write(stdinPipe_, pendingInput_.data(), pendingInput_.size());
        if (n > 0) {
            pendingInput_.erase(0, static_cast<std::size_t>(n));
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            pendingInput_.clear();  // the program has gone; nothing will read it
        }
    }
    if (reportSlot >= 0 && (fds[reportSlot].revents & (POLLIN | POLLHUP | POLLERR))) readReports();
    return received;
}

void Terminal::readReports() {
    char buffer[256];
    for (;;) {
        const ssize_t n = read(reportPipe_, buffer, sizeof buffer);
        if (n > 0) {
            reportBuffer_.append(buffer, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) break;
        // End of file: the session leader has exited.
        close(reportPipe_);
        reportPipe_ = -1;
        waitpid(leaderPid_, nullptr, 0);
        leaderReaped_ = true;
        break;
    }
    while (reportBuffer_.size() >= sizeof(int)) {
        int value = 0;
        std::memcpy(&value, reportBuffer_.data(), sizeof value);
        reportBuffer_.erase(0, sizeof value);
        if (programPid_ < 0) {
            programPid_ = value;
        } else {
            status_ = ExitStatus::fromWaitStatus(value);
        }
    }
}

void Terminal::poll() {
    while (pump(Millis(0)) > 0) {
    }
}

bool Terminal::flushInput(Millis timeout) {
    const int target = options_.stdinFromPipe ? stdinPipe_ : master_;
    if (target < 0) {
        pendingInput_.clear();
        return false;
    }
    const auto deadline = Clock::now() + timeout;
    while (!pendingInput_.empty() && Clock::now() < deadline) {
        pump(Millis(10));
        if (options_.stdinFromPipe ? stdinPipe_ < 0 : (master_ < 0 || masterEnded_)) break;
    }
    const bool delivered = pendingInput_.empty();
    pendingInput_.clear();
    return delivered;
}

bool Terminal::type(std::string_view bytes) {
    pendingInput_ += bytes;
    return flushInput(kDefaultTimeout);
}

bool Terminal::press(std::string_view keyName) {
    return type(xtermKey(keyName, screen_->applicationCursorKeys()));
}

void Terminal::closeInput() {
    if (!options_.stdinFromPipe) {
        hangUp();
        return;
    }
    if (stdinPipe_ >= 0) close(stdinPipe_);
    stdinPipe_ = -1;
}

void Terminal::hangUp() {
    poll();
    if (master_ >= 0) close(master_);
    master_ = -1;
}

bool Terminal::waitUntil(const std::function<bool()>& condition, Millis timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        const auto now = Clock::now();
        if (now >= deadline) return false;
        // Nothing can change any more once output and reports have both ended.
        if ((master_ < 0 || masterEnded_) && reportPipe_ < 0) return condition();
        const auto left = std::chrono::duration_cast<Millis>(deadline - now);
        pump(std::min(left + Millis(1), Millis(10)));
    }
}

bool Terminal::waitForText(std::string_view utf8, Millis timeout) {
    return waitUntil([&] { return screen_->contains(utf8); }, timeout);
}

bool Terminal::waitQuiet(Millis quiet, Millis timeout) {
    const auto deadline = Clock::now() + timeout;
    auto lastOutput = Clock::now();
    for (;;) {
        const auto now = Clock::now();
        if (now - lastOutput >= quiet) return true;
        if (now >= deadline) return false;
        if (master_ < 0 || masterEnded_) return true;
        const auto untilQuiet = std::chrono::duration_cast<Millis>(lastOutput + quiet - now);
        const auto untilDeadline = std::chrono::duration_cast<Millis>(deadline - now);
        if (pump(std::min(untilQuiet, untilDeadline) + Millis(1)) > 0) lastOutput = Clock::now();
    }
}

ExitStatus Terminal::waitForExit(Millis timeout) {
    waitUntil([this] { return status_.ended(); }, timeout);
    if (status_.ended()) drainAfterExit();
    return status_;
}

ExitStatus Terminal::waitForStop(Millis timeout) {
    waitUntil([this] { return status_.stopped() || status_.ended(); }, timeout);
    return status_;
}

// The leader exits right after the program, closing the last slave
// descriptor; the master then reads what is left and reports the end.
void Terminal::drainAfterExit() {
    waitUntil([this] { return master_ < 0 || masterEnded_; }, Millis(1000));
}

ExitStatus Terminal::status() {
    poll();
    return status_;
}

std::optional<termios> Terminal::ttyModes() const {
    termios modes{};
    if (master_ < 0 || tcgetattr(master_, &modes) != 0) return std::nullopt;
    return modes;
}

void Terminal::resize(int cols, int rows) {
    screen_->resize(cols, rows);
    if (master_ < 0) return;
    winsize size{};
    size.ws_col = static_cast<unsigned short>(cols);
    size.ws_row = static_cast<unsigned short>(rows);
    ioctl(master_, TIOCSWINSZ, &size);
}

bool Terminal::sendSignal(int sig) {
    poll();
    if (status_.ended() || programPid_ <= 0) return false;
    return kill(programPid_, sig) == 0;
}

}  // namespace term_harness
