#include "terminal_run.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

TerminalRun::TerminalRun(const TerminalSetup& setup)
{
    write_file(dir / "r.txt", RESPONSE_RECORDS);
    write_file(dir / "e.txt", EXCITATION_RECORDS);
    for (const auto& [name, content] : setup.files) {
        fs::create_directories((dir / name).parent_path());
        write_file(dir / name, content);
    }
    if (setup.names)
        write_file(dir / "names", *setup.names);
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    tcgetattr(slave, &initial);
    if (!setup.typed_ahead.empty())
        type(setup.typed_ahead);
    pid = fork();
    if (pid == 0) {
        setsid();
        ioctl(slave, TIOCSCTTY, 0);
        // Signals that dump core dump nothing.
        const rlimit no_core{0, 0};
        setrlimit(RLIMIT_CORE, &no_core);
        if (setup.as_job) {
            const pid_t job = fork();
            if (job > 0) {
                setpgid(job, job);
                tcsetpgrp(slave, job);
                int status = 0;
                while (waitpid(job, &status, 0) < 0 && errno == EINTR) {
                }
                _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
            }
            setpgid(0, 0);
            signal(SIGTTOU, SIG_IGN);
            tcsetpgrp(slave, getpid());
            signal(SIGTTOU, SIG_DFL);
        }
        if (chdir(dir.path.c_str()) != 0)
            _exit(125);
        // The line editor reads the terminal type and the user's ~/.editrc;
        // both are fixed so that the keys mean the same everywhere.
        setenv("TERM", "xterm", 1);
        setenv("HOME", dir.path.c_str(), 1);
        unsetenv("EDITRC");
        if (!setup.locale.empty())
            setenv("LC_ALL", setup.locale.c_str(), 1);
        dup2(setup.names ? open("names", O_RDONLY) : slave, 0);
        dup2(setup.output_to_file ? open("stdout", O_WRONLY | O_CREAT | O_TRUNC, 0600) : slave, 1);
        dup2(slave, 2);
        close(master);
        execl(FRAVLIN_EXE, "fravlin", static_cast<char*>(nullptr));
        _exit(127);
    }
}

namespace {

TerminalSetup names_from_file(const std::string& typed_ahead, const std::string& names)
{
    TerminalSetup setup;
    setup.typed_ahead = typed_ahead;
    setup.names = names;
    return setup;
}

}  // namespace

TerminalRun::TerminalRun(const std::string& typed_ahead, const std::string& names)
    : TerminalRun(names_from_file(typed_ahead, names))
{
}

TerminalRun::~TerminalRun()
{
    if (pid > 0)
        wait_for_exit(pid, 0);
    close(master);
    close(slave);
}

void TerminalRun::type(const std::string& keys)
{
    ASSERT_EQ(write(master, keys.data(), keys.size()), ssize_t(keys.size()));
}

bool TerminalRun::wait_for_output(const std::string& text, int timeout_ms)
{
    for (int waited = 0; screen.find(text) == std::string::npos && waited < timeout_ms;
         waited += 10) {
        pollfd ready{master, POLLIN, 0};
        if (poll(&ready, 1, 10) == 1) {
            char buffer[4096];
            ssize_t got = read(master, buffer, sizeof buffer);
            if (got > 0)
                screen.append(buffer, size_t(got));
        }
    }
    return screen.find(text) != std::string::npos;
}

bool TerminalRun::wait_for_key_mode(int timeout_ms)
{
    termios now{};
    for (int waited = 0; waited < timeout_ms; waited += 5) {
        if (tcgetattr(slave, &now) == 0 && (now.c_lflag & ICANON) == 0)
            return true;
        usleep(5000);
    }
    return false;
}

bool TerminalRun::still_running(int for_ms)
{
    usleep(useconds_t(for_ms) * 1000);
    return waitpid(pid, nullptr, WNOHANG) == 0;
}

int TerminalRun::finish(double seconds)
{
    int status = wait_for_exit(pid, seconds);
    pid = -1;
    return status;
}

pid_t TerminalRun::program() const
{
    return tcgetpgrp(master);
}

bool TerminalRun::wait_for_stopped(bool stopped, int timeout_ms) const
{
    const std::string stat = "/proc/" + std::to_string(program()) + "/stat";
    for (int waited = 0; waited < timeout_ms; waited += 5) {
        // The state follows the name in parentheses.
        const std::string status = read_file(stat);
        const std::size_t name_end = status.rfind(')');
        if (name_end != std::string::npos && name_end + 2 < status.size()
            && (status[name_end + 2] == 'T') == stopped)
            return true;
        usleep(5000);
    }
    return false;
}

int TerminalRun::unread_input() const
{
    int queued = -1;
    ioctl(slave, FIONREAD, &queued);
    return queued;
}

void TerminalRun::expect_settings_restored() const
{
    termios now{};
    tcgetattr(slave, &now);
    EXPECT_EQ(now.c_lflag, initial.c_lflag);
    EXPECT_EQ(now.c_iflag, initial.c_iflag);
    EXPECT_EQ(now.c_cc[VMIN], initial.c_cc[VMIN]);
}
