#include "program.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <sstream>
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

RunResult run_program(const fs::path& dir, const std::string& input)
{
    RunResult result = run_command(PROGRAM_ARGV, dir, input);
    result.out = windows_text_to_lf(result.out);
    result.err = windows_text_to_lf(result.err);
    return result;
}

RunResult run_command(const char* const argv[], const fs::path& dir, const std::string& input)
{
    ScratchDir io;
    write_file(io / "stdin", input);
    const std::string out = (io / "stdout").string();
    const std::string err = (io / "stderr").string();
    const std::string in = (io / "stdin").string();

    pid_t pid = fork();
    if (pid == 0) {
        setsid();  // no controlling terminal: the key wait must end at once
        if (chdir(dir.c_str()) != 0)
            _exit(125);
        int in_fd = open(in.c_str(), O_RDONLY);
        int out_fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err_fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(in_fd, 0);
        dup2(out_fd, 1);
        dup2(err_fd, 2);
        execv(argv[0], const_cast<char* const*>(argv));
        _exit(127);
    }
    RunResult result;
    result.status = wait_for_exit(pid, 120);
    result.out = read_file(out);
    result.err = read_file(err);
    return result;
}
