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
// controlling terminal, so the key wait ends at once.
RunResult run_program(const std::filesystem::path& dir, const std::string& input);

// Waits up to `seconds` for the child; kills it and returns -1 on time-out.
int wait_for_exit(int pid, double seconds);
