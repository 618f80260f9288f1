// The key wait on a pseudo-terminal: the program runs with the terminal as
// its controlling terminal and its output, standard input redirected from a
// file, as when a user pipes the names in.
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "program.h"

namespace {

struct TerminalRun {
    ScratchDir dir;
    int master = -1;
    int slave = -1;
    pid_t pid = -1;
    termios initial{};
    std::string screen;

    explicit TerminalRun(const std::string& typed_ahead = "", const std::string& names = "r.txt\ne.txt\n")
    {
        write_file(dir / "r.txt", "10 1 0\n20 0 1\n");
        write_file(dir / "e.txt", "10 1 0\n20 1 0\n");
        write_file(dir / "names", names);
        if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        tcgetattr(slave, &initial);
        if (!typed_ahead.empty())
            type(typed_ahead);
        pid = fork();
        if (pid == 0) {
            setsid();
            ioctl(slave, TIOCSCTTY, 0);
            if (chdir(dir.path.c_str()) != 0)
                _exit(125);
            int names = open("names", O_RDONLY);
            dup2(names, 0);
            dup2(slave, 1);
            dup2(slave, 2);
            close(master);
            execl(FRAVLIN_EXE, "fravlin", static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    ~TerminalRun()
    {
        if (pid > 0)
            wait_for_exit(pid, 0);
        close(master);
        close(slave);
    }

    void type(const std::string& keys) { ASSERT_EQ(write(master, keys.data(), keys.size()), ssize_t(keys.size())); }

    // Collects the terminal's output until `text` appears or time runs out.
    bool wait_for_output(const std::string& text, int timeout_ms = 20000)
    {
        for (int waited = 0; screen.find(text) == std::string::npos && waited < timeout_ms; waited += 10) {
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

    // The prompt is out a moment before the terminal is switched to single
    // keys; a Ctrl-C typed in between would still be a signal.
    bool wait_for_key_mode(int timeout_ms = 20000)
    {
        termios now{};
        for (int waited = 0; waited < timeout_ms; waited += 5) {
            tcgetattr(slave, &now);
            if ((now.c_lflag & ICANON) == 0)
                return true;
            usleep(5000);
        }
        return false;
    }

    bool still_running(int for_ms)
    {
        usleep(useconds_t(for_ms) * 1000);
        return waitpid(pid, nullptr, WNOHANG) == 0;
    }

    int finish(double seconds = 10)
    {
        int status = wait_for_exit(pid, seconds);
        pid = -1;
        return status;
    }

    int unread_input() const
    {
        int queued = -1;
        ioctl(slave, FIONREAD, &queued);
        return queued;
    }

    void expect_settings_restored() const
    {
        termios now{};
        tcgetattr(slave, &now);
        EXPECT_EQ(now.c_lflag, initial.c_lflag);
        EXPECT_EQ(now.c_iflag, initial.c_iflag);
        EXPECT_EQ(now.c_cc[VMIN], initial.c_cc[VMIN]);
    }
};

const char PROMPT[] = "Press any key to exit.";

TEST(KeyWait, WaitsForOneKeyWithoutEchoAndRestoresTheTerminal)
{
    TerminalRun run;
    ASSERT_TRUE(run.wait_for_output(PROMPT));
    ASSERT_TRUE(run.wait_for_key_mode());
    EXPECT_TRUE(run.still_running(300)) << "the line end after the second name must not end the wait";
    run.screen.clear();
    run.type("q");
    EXPECT_EQ(run.finish(), 0);
    run.wait_for_output("q", 200);
    EXPECT_EQ(run.screen.find('q'), std::string::npos) << "the key was echoed";
    run.expect_settings_restored();
    EXPECT_EQ(run.unread_input(), 0);
}

TEST(KeyWait, KeysThatSendSeveralBytesAreConsumedWhole)
{
    const struct {
        const char* title;
        const char* bytes;
    } keys[] = {
        {"cursor up", "\x1b[A"},
        {"F5", "\x1b[15~"},
        {"F1 as SS3", "\x1bOP"},
        {"Alt+x", "\x1bx"},
        {"lone Escape", "\x1b"},
        {"e acute in UTF-8", "\xc3\xa9"},
        {"euro sign in UTF-8", "\xe2\x82\xac"},
        {"Ctrl-C counts as a key", "\x03"},
    };
    for (const auto& key : keys) {
        SCOPED_TRACE(key.title);
        TerminalRun run;
        ASSERT_TRUE(run.wait_for_output(PROMPT));
        ASSERT_TRUE(run.wait_for_key_mode());
        run.type(key.bytes);
        EXPECT_EQ(run.finish(), 0);
        EXPECT_EQ(run.unread_input(), 0);
        run.expect_settings_restored();
    }
}

TEST(KeyWait, KeyTypedAheadEndsTheWaitAtOnce)
{
    TerminalRun run("k");
    ASSERT_TRUE(run.wait_for_output(PROMPT));
    EXPECT_EQ(run.finish(2), 0);
    run.expect_settings_restored();
}

TEST(KeyWait, TerminationSignalsRestoreTheTerminal)
{
    for (int signal_number : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal_number);
        TerminalRun run;
        ASSERT_TRUE(run.wait_for_output(PROMPT));
        ASSERT_TRUE(run.wait_for_key_mode());
        kill(run.pid, signal_number);
        EXPECT_EQ(run.finish(), 128 + signal_number);
        run.expect_settings_restored();
    }
}

TEST(KeyWait, RefusedRunAlsoWaitsForAKey)
{
    TerminalRun run("", "missing.txt\n");
    ASSERT_TRUE(run.wait_for_output(PROMPT));
    ASSERT_TRUE(run.wait_for_key_mode());
    EXPECT_TRUE(run.still_running(200));
    run.type(" ");
    EXPECT_EQ(run.finish(), 1);
    run.expect_settings_restored();
}

}  // namespace
