// Runs the built fravlin in a scratch folder, as a user would from a shell,
// and collects what it printed.
#pragma once

#include <filesystem>
#include <string>

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

// Runs the program in `dir` with `input` as standard input and without a
// controlling terminal, so the key wait ends at once. A Windows build's
// output is given with LF line ends (see read_text_file).
RunResult run_program(const std::filesystem::path& dir, const std::string& input);

// The same for any command, whose output is given as it is.
RunResult run_command(const char* const argv[], const std::filesystem::path& dir,
                      const std::string& input);

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
