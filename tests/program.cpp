#include "program.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace fs = std::filesystem;

ScratchDir::ScratchDir()
{
    std::string pattern = (fs::temp_directory_path() / "fravlin-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    path = pattern;
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path, ignored);
}

void write_file(const fs::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

std::string read_file(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

int wait_for_exit(int pid, double seconds)
{
    const timespec pause{0, 5'000'000};
    for (double waited = 0; waited < seconds; waited += 0.005) {
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        nanosleep(&pause, nullptr);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

namespace {

#ifdef FRAVLIN_EMULATOR_ARGV
const char* const PROGRAM_ARGV[] = {FRAVLIN_EMULATOR_ARGV, FRAVLIN_EXE, nullptr};
#else
const char* const PROGRAM_ARGV[] = {FRAVLIN_EXE, nullptr};
#endif

}  // namespace

std::string windows_text_to_lf(const std::string& text)
{
    if (!WINDOWS_PROGRAM)
        return text;
    std::string converted;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n')
            converted += text[i];
    return converted;
}

std::string read_text_file(const fs::path& path)
{
    return windows_text_to_lf(read_file(path));
}

RunResult run_program(const fs::path& dir, const std::string& input, const RunOptions& options)
{
    RunResult result = run_command(PROGRAM_ARGV, dir, input, options);
    result.out = windows_text_to_lf(result.out);
    result.err = windows_text_to_lf(result.err);
    return result;
}

namespace {

// The program's side of a run, in the child: its folder, its three
// standard streams and its limits, then the program.
[[noreturn]] void exec_in(const char* const argv[], const fs::path& dir, int in_fd, int out_fd,
                          int err_fd, const RunOptions& options)
{
    setsid();  // no controlling terminal: the key wait must end at once
    if (chdir(dir.c_str()) != 0)
        _exit(125);
    if (options.small_disk != 0) {
        const std::string size = "size=" + std::to_string(options.small_disk);
        // Root may mount in a namespace of its own; others need a user
        // namespace too, where the system allows them one.
        if ((unshare(CLONE_NEWNS) != 0 && unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || mount("fravlin-test", "disk", "tmpfs", 0, size.c_str()) != 0 || chdir("disk") != 0)
            _exit(NO_SMALL_DISK);
    }
    dup2(in_fd, 0);
    dup2(out_fd, 1);
    dup2(err_fd, 2);
    if (options.output_closed)
        close(1);
    for (const auto& [resource, limit] : options.limits) {
        const rlimit both{limit, limit};
        setrlimit(resource, &both);
    }
    execv(argv[0], const_cast<char* const*>(argv));
    _exit(127);
}

}  // namespace

RunResult run_command(const char* const argv[], const fs::path& dir, const std::string& input,
                      const RunOptions& options)
{
    ScratchDir io;
    write_file(io / "stdin", input);
    const std::string out = (io / "stdout").string();
    const std::string err = (io / "stderr").string();
    const std::string in =
        options.input_file != nullptr ? options.input_file : (io / "stdin").string();
    const std::string out_path = options.output_file != nullptr ? options.output_file : out;

    pid_t pid = fork();
    if (pid == 0) {
        int in_fd = open(in.c_str(), O_RDONLY);
        int out_fd = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err_fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        exec_in(argv, dir, in_fd, out_fd, err_fd, options);
    }
    RunResult result;
    result.status = wait_for_exit(pid, 120);
    result.out = read_file(out);
    result.err = read_file(err);
    return result;
}

HeldRun::HeldRun(const fs::path& dir)
{
    int to_program[2];
    int from_program[2];
    if (pipe2(to_program, O_CLOEXEC) != 0 || pipe2(from_program, O_CLOEXEC) != 0)
        std::abort();
    const std::string err = (io / "stderr").string();
    pid = fork();
    if (pid == 0) {
        int err_fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        exec_in(PROGRAM_ARGV, dir, to_program[0], from_program[1], err_fd, RunOptions{});
    }
    close(to_program[0]);
    close(from_program[1]);
    input = to_program[1];
    output = from_program[0];
}

HeldRun::~HeldRun()
{
    if (pid > 0)
        wait_for_exit(pid, 0);
    if (input >= 0)
        close(input);
    close(output);
}

void HeldRun::type(const std::string& text)
{
    if (write(input, text.data(), text.size()) != ssize_t(text.size()))
        std::abort();
}

bool HeldRun::wait_for_output(const std::string& text, int timeout_ms)
{
    for (int waited = 0; out.find(text) == std::string::npos && waited < timeout_ms; waited += 10) {
        pollfd ready{output, POLLIN, 0};
        if (poll(&ready, 1, 10) == 1) {
            char buffer[4096];
            const ssize_t got = read(output, buffer, sizeof buffer);
            if (got > 0)
                out.append(buffer, size_t(got));
        }
    }
    return out.find(text) != std::string::npos;
}

RunResult HeldRun::finish()
{
    close(input);
    input = -1;
    char buffer[4096];
    for (ssize_t got; (got = read(output, buffer, sizeof buffer)) > 0;)
        out.append(buffer, size_t(got));
    RunResult result;
    result.status = wait_for_exit(pid, 120);
    pid = -1;
    result.out = windows_text_to_lf(out);
    result.err = windows_text_to_lf(read_file(io / "stderr"));
    return result;
}
