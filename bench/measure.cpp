// Runs a program once in a new session (no controlling terminal, so the key
// wait ends at once), with standard input from a file and its output
// discarded, and prints "SECONDS PEAK_KIB STATUS".
//
// The benchmark goes through this small launcher because the peak resident
// memory that the kernel reports for a child counts whatever the launching
// process had resident at the time of the spawn; from here that is little.
//
// Usage: measure INPUT PROGRAM
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: measure INPUT PROGRAM\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setsid();
        const int input = open(argv[1], O_RDONLY);
        const int nowhere = open("/dev/null", O_WRONLY);
        if (input < 0 || nowhere < 0)
            _exit(126);
        dup2(input, 0);
        dup2(nowhere, 1);
        dup2(nowhere, 2);
        execl(argv[2], argv[2], static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) {
        std::perror("measure");
        return 1;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%.6f %ld %d\n", elapsed.count(), usage.ru_maxrss,
                WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    return 0;
}
