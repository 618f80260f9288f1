// Runs the built fravlin in a scratch folder, as a user would from a shell,
// and collects what it printed.
#pragma once

#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <utility>
#include <vector>

// A fresh folder under the system's temporary folder, removed at the end.
struct ScratchDir {
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::filesystem::path path;
    std::filesystem::path operator/(const std::string& name) const { return path / name; }
};

void write_file(const std::filesystem::path& path, const std::string& content);
std::string read_file(const std::filesystem::path& path);

struct RunResult {
    std::string out;
    std::string err;
    int status = -1;  // exit status, or 128 + signal number
};

// How a run is set up beyond its folder and its input.
struct RunOptions {
    // Standard input from this file ("/dev/zero") instead of the input.
    const char* input_file = nullptr;
    // Standard output to this file ("/dev/full"), or closed; nothing of it
    // is collected then.
    const char* output_file = nullptr;
    bool output_closed = false;
    // Resource limits for the program, soft and hard: {RLIMIT_FSIZE, bytes}.
    std::vector<std::pair<int, rlim_t>> limits = {};
    // When not 0, a file system of this many bytes is mounted on the empty
    // folder "disk" of the run's folder, and the program runs in it; the
    // mount is the program's own and goes with it. The status is
    // NO_SMALL_DISK when it cannot be made here.
    std::size_t small_disk = 0;
};
inline constexpr int NO_SMALL_DISK = 124;

// Runs the program in `dir` with `input` as standard input and without a
// controlling terminal, so the key wait ends at once. A Windows build's
// output is given with LF line ends (see read_text_file).
RunResult run_program(const std::filesystem::path& dir, const std::string& input,
                      const RunOptions& options = {});

// The same for any command, whose output is given as it is.
RunResult run_command(const char* const argv[], const std::filesystem::path& dir,
                      const std::string& input, const RunOptions& options = {});

// The program started in `dir` with standard input and output on pipes:
// the test types the names as it goes and reads what the program says, so
// it can hold the program at a prompt.
struct HeldRun {
    explicit HeldRun(const std::filesystem::path& dir);
    ~HeldRun();
    HeldRun(const HeldRun&) = delete;
    HeldRun& operator=(const HeldRun&) = delete;

    void type(const std::string& text);
    // Collects standard output until `text` appears or time runs out.
    bool wait_for_output(const std::string& text, int timeout_ms = 20000);
    // Ends standard input, collects the rest and waits for the end.
    RunResult finish();

    ScratchDir io;
    int pid = -1;
    int input = -1;
    int output = -1;
    std::string out;
};

// Whether the program under test is a Windows build, run through an
// emulator: its text output has CR LF line ends.
#ifdef FRAVLIN_WINDOWS_PROGRAM
inline constexpr bool WINDOWS_PROGRAM = true;
#else
inline constexpr bool WINDOWS_PROGRAM = false;
#endif

// Text that the program wrote in text mode, with LF line ends: those of a
// Windows build are CR LF.
std::string windows_text_to_lf(const std::string& text);

// A file that the program wrote as text, with LF line ends.
std::string read_text_file(const std::filesystem::path& path);

// Waits up to `seconds` for the child; kills it and returns -1 on time-out.
int wait_for_exit(int pid, double seconds);
