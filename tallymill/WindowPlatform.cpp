#include "tallymill/WindowPlatform.h"

#include <QGuiApplication>
#include <QString>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int Answer_Seconds = 10;
int Child_Report_Fd = -1;

// In the child, every Qt message goes to the parent; a fatal one ends the child at once instead of
// aborting it (no core file, no crash report for a display that is simply missing).
void Report_To_Parent(QtMsgType type, const QMessageLogContext&, const QString& message) {
    const QByteArray line = message.toUtf8() + '\n';
    for (qsizetype written = 0; written < line.size();) {
        const ssize_t n =
            ::write(Child_Report_Fd, line.constData() + written, static_cast<size_t>(line.size() - written));
        if (n <= 0) break;
        written += n;
    }
    if (type == QtFatalMsg) ::_exit(1);
}

[[noreturn]] void Start_Platform_In_Child(int report_fd) {
    Child_Report_Fd = report_fd;
    const rlimit no_core{0, 0};
    ::setrlimit(RLIMIT_CORE, &no_core);
    qInstallMessageHandler(Report_To_Parent);
    static int argc = 1;
    static char name[] = "tallymill";
    static char* argv[] = {name, nullptr};
    { const QGuiApplication application(argc, argv); }
    // Nothing of the parent's (buffers, atexit handlers, leak checks) runs twice.
    ::_exit(0);
}

std::string First_Line(const std::string& text) {
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const std::string line =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (line.find_first_not_of(" \t\r") != std::string::npos) return line;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return {};
}

} // namespace

bool Window_Platform_Starts(std::string& reason) {
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) {
        reason = "cannot start the window system check";
        return false;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipe_fds[0]);
        ::close(pipe_fds[1]);
        reason = "cannot start the window system check";
        return false;
    }
    if (child == 0) {
        ::close(pipe_fds[0]);
        Start_Platform_In_Child(pipe_fds[1]);
    }
    ::close(pipe_fds[1]);
    std::string messages;
    char buffer[4096];
    // A display that accepts the connection and then never answers must not hold the tool forever.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(Answer_Seconds);
    bool answered = true;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd wait_for{pipe_fds[0], POLLIN, 0};
        const int ready = left.count() > 0 ? ::poll(&wait_for, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) {
            answered = false;
            break;
        }
        const ssize_t n = ::read(pipe_fds[0], buffer, sizeof(buffer));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        if (messages.size() < 65536) messages.append(buffer, static_cast<size_t>(n));
    }
    ::close(pipe_fds[0]);
    if (!answered) ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!answered) {
        reason = "the window system did not answer within " + std::to_string(Answer_Seconds) + " seconds";
        return false;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    reason = First_Line(messages);
    if (reason.empty())
        reason = WIFSIGNALED(status)
                     ? "the window system check ended by signal " + std::to_string(WTERMSIG(status))
                     : "the window system did not start";
    return false;
}
