// The key wait on a pseudo-terminal: the program runs with the terminal as
// its controlling terminal and its output, standard input redirected from a
// file, as when a user pipes the names in.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include "terminal_run.h"

namespace {

const char PROMPT[] = "Press any key to exit.";

// One key, not echoed, ends the wait; the terminal is as it was and
// nothing is left in its input.
void expect_one_silent_key_ends_the_wait(TerminalRun& run)
{
    run.screen.clear();
    run.type("q");
    EXPECT_EQ(run.finish(), 0);
    run.wait_for_output("q", 200);
    EXPECT_EQ(run.screen.find('q'), std::string::npos) << "the key was echoed";
    run.expect_settings_restored();
    EXPECT_EQ(run.unread_input(), 0);
}

TEST(KeyWait, WaitsForOneKeyWithoutEchoAndRestoresTheTerminal)
{
    TerminalRun run;
    ASSERT_TRUE(run.wait_for_output(PROMPT));
    ASSERT_TRUE(run.wait_for_key_mode());
    EXPECT_TRUE(run.still_running(300))
        << "the line end after the second name must not end the wait";
    expect_one_silent_key_ends_the_wait(run);
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
    const int signals[] = {SIGTERM, SIGHUP,  SIGINT,  SIGQUIT,   SIGALRM,  SIGUSR1,
                           SIGUSR2, SIGPIPE, SIGPOLL, SIGVTALRM, SIGPROF,  SIGXCPU,
                           SIGSYS,  SIGABRT, SIGSEGV, SIGPWR,    SIGRTMIN, SIGRTMAX};
    for (int signal_number : signals) {
        SCOPED_TRACE(strsignal(signal_number));
        TerminalRun run;
        ASSERT_TRUE(run.wait_for_output(PROMPT));
        ASSERT_TRUE(run.wait_for_key_mode());
        kill(run.pid, signal_number);
        EXPECT_EQ(run.finish(), 128 + signal_number);
        run.expect_settings_restored();
    }
}

// Ctrl-Z (and a read or a change of the terminal from the background)
// stops the program with the terminal as it was; after fg one key, not
// echoed, still ends the wait.
TEST(KeyWait, StoppedAndContinuedItWaitsForOneKeyAgain)
{
    for (int signal_number : {SIGTSTP, SIGTTIN, SIGTTOU}) {
        SCOPED_TRACE(strsignal(signal_number));
        TerminalSetup setup;
        setup.as_job = true;
        TerminalRun run(setup);
        ASSERT_TRUE(run.wait_for_output(PROMPT));
        ASSERT_TRUE(run.wait_for_key_mode());
        kill(run.program(), signal_number);
        ASSERT_TRUE(run.wait_for_stopped(true));
        run.expect_settings_restored();
        kill(run.program(), SIGCONT);
        ASSERT_TRUE(run.wait_for_stopped(false));
        ASSERT_TRUE(run.wait_for_key_mode());
        expect_one_silent_key_ends_the_wait(run);
    }
}

// A second name typed while the first one was refused goes nowhere: its
// first key ends the wait and the rest is not left for the shell.
TEST(KeyWait, TypedAheadAfterARefusedNameIsDiscarded)
{
    TerminalSetup setup;
    setup.names = std::nullopt;
    TerminalRun run(setup);
    ASSERT_TRUE(run.wait_for_output("Enter the name of the response file."));
    ASSERT_TRUE(run.wait_for_key_mode());
    run.type("typo.txt\re.txt\r");
    EXPECT_TRUE(run.wait_for_output(PROMPT));
    EXPECT_EQ(run.finish(), 1);
    EXPECT_EQ(run.unread_input(), 0);
    run.expect_settings_restored();
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
