// Runs the built fravlin on a pseudo-terminal: the terminal is its
// controlling terminal and takes its output, and the test types at it.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <termios.h>
#include <unistd.h>

#include "program.h"

struct TerminalSetup {
    // Standard input: a file of this content, or the terminal itself when
    // empty (std::nullopt).
    std::optional<std::string> names = "r.txt\ne.txt\n";
    // Keys in the terminal's input queue before the program starts.
    std::string typed_ahead;
    // Files made in the program's folder beforehand (folders as needed);
    // r.txt and e.txt are always there.
    std::vector<std::pair<std::string, std::string>> files;
    // LC_ALL for the program; the environment's when empty.
    std::string locale;
    // Standard output to the file "stdout" in the folder instead of the
    // terminal; standard error stays on the terminal.
    bool output_to_file = false;
    // The program run as a shell runs a job: in a process group of its own,
    // in the foreground, its parent in the session. Only such a job is
    // stopped by Ctrl-Z and its kin.
    bool as_job = false;
};

// (10, 1+0i), (20, 0+1i) and (10, 1+0i), (20, 1+0i): each of r/e, e/r and
// r/r gives a different "complex.out".
inline constexpr char RESPONSE_RECORDS[] = "10 1 0\n20 0 1\n";
inline constexpr char EXCITATION_RECORDS[] = "10 1 0\n20 1 0\n";

struct TerminalRun {
    ScratchDir dir;
    int master = -1;
    int slave = -1;
    pid_t pid = -1;  // the program, or for a job the "shell" that waits for it
    termios initial{};
    std::string screen;  // all the program wrote to the terminal so far

    explicit TerminalRun(const TerminalSetup& setup);
    // Standard input from a file of `names`, as when a user pipes them in.
    explicit TerminalRun(const std::string& typed_ahead = "",
                         const std::string& names = "r.txt\ne.txt\n");
    ~TerminalRun();
    TerminalRun(const TerminalRun&) = delete;
    TerminalRun& operator=(const TerminalRun&) = delete;

    void type(const std::string& keys);

    // Collects the terminal's output until `text` appears or time runs out.
    bool wait_for_output(const std::string& text, int timeout_ms = 20000);

    // Waits until the program has switched the terminal to single keys, as
    // the line editor does while it reads a line and the key wait while it
    // waits. The prompt is out a moment before that; keys typed in between
    // would meet the terminal's own line editing, and a Ctrl-C would still
    // be a signal.
    bool wait_for_key_mode(int timeout_ms = 20000);

    bool still_running(int for_ms);

    // The exit status; -1 (and the program killed) when it has not ended
    // within `seconds`.
    int finish(double seconds = 20);

    // The program's own process: the job in the foreground for a job.
    pid_t program() const;

    // Waits until the program is stopped (true) or running.
    bool wait_for_stopped(bool stopped, int timeout_ms = 20000) const;

    // Bytes typed but not read by anyone.
    int unread_input() const;

    void expect_settings_restored() const;
};
