#include "fravlin/platform.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Bytes that belong to one key arrive together; this long a pause means the
// key is complete (a lone Escape, say).
constexpr int KEY_TAIL_TIMEOUT_MS = 50;

// What the signal handlers need to give the terminal back and to take it
// again after a stop.
int g_terminal = -1;
termios g_saved_settings;
termios g_key_settings;

// The signals whose default action ends the process and that can be
// caught. SIGXFSZ is ignored by prepare_process, SIGKILL cannot be caught.
constexpr int ENDING_SIGNALS[] = {
    SIGHUP,    SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT,   SIGBUS,  SIGFPE,  SIGSEGV,
    SIGUSR1,   SIGUSR2, SIGPIPE, SIGALRM, SIGTERM, SIGVTALRM, SIGPROF, SIGXCPU, SIGSYS,
#ifdef SIGPOLL
    SIGPOLL,
#endif
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
};
constexpr int STOP_SIGNALS[] = {SIGTSTP, SIGTTIN, SIGTTOU};

struct sigaction g_old_actions[NSIG];

// A process in the background must leave the terminal's settings to the
// job in the foreground (the shell, usually).
bool in_foreground()
{
    return tcgetpgrp(g_terminal) == getpgrp();
}

extern "C" void restore_terminal_and_die(int signal_number)
{
    // The handler was reset by SA_RESETHAND, so the signal raised again
    // ends the process as it would have, once the handler returns.
    if (in_foreground())
        tcsetattr(g_terminal, TCSANOW, &g_saved_settings);
    raise(signal_number);
}

// A stop (Ctrl-Z is a key here, but kill -TSTP, or a read or a change of
// the terminal from the background): the shell gets the terminal as it
// was, the process stops with the signal that stopped it, and once
// continued it takes the same signal again.
extern "C" void restore_terminal_and_stop(int signal_number)
{
    const int saved_errno = errno;
    if (in_foreground())
        tcsetattr(g_terminal, TCSANOW, &g_saved_settings);
    struct sigaction stop = {};
    stop.sa_handler = SIG_DFL;
    sigemptyset(&stop.sa_mask);
    struct sigaction handler;
    sigaction(signal_number, &stop, &handler);
    raise(signal_number);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    sigaddset(&unblocked, signal_number);
    sigprocmask(SIG_UNBLOCK, &unblocked, nullptr);  // the process stops here
    sigaction(signal_number, &handler, nullptr);
    errno = saved_errno;
}

// After fg the wait goes on for a single key; a process continued in the
// background leaves the terminal alone, and its read stops it again.
extern "C" void take_terminal_again(int)
{
    const int saved_errno = errno;
    if (in_foreground())
        tcsetattr(g_terminal, TCSANOW, &g_key_settings);
    errno = saved_errno;
}

// SA_RESETHAND is an unsigned constant on Linux; sa_flags is an int.
constexpr int RESET_HANDLER = static_cast<int>(SA_RESETHAND);

template <typename Action>
void for_each_handled_signal(Action action)
{
    for (int signal_number : ENDING_SIGNALS)
        action(signal_number, restore_terminal_and_die, RESET_HANDLER);
    // The real-time signals end the process too.
    for (int signal_number = SIGRTMIN; signal_number <= SIGRTMAX; ++signal_number)
        action(signal_number, restore_terminal_and_die, RESET_HANDLER);
    for (int signal_number : STOP_SIGNALS)
        action(signal_number, restore_terminal_and_stop, 0);
    action(SIGCONT, take_terminal_again, 0);
}

void handle_signals()
{
    for_each_handled_signal([](int signal_number, void (*handler)(int), int flags) {
        struct sigaction action = {};
        action.sa_handler = handler;
        action.sa_flags = flags;
        // No handler interrupts another, and the terminal's settings may be
        // changed from the background while a handler runs.
        sigemptyset(&action.sa_mask);
        for (int blocked : ENDING_SIGNALS)
            sigaddset(&action.sa_mask, blocked);
        for (int blocked : STOP_SIGNALS)
            sigaddset(&action.sa_mask, blocked);
        sigaction(signal_number, &action, &g_old_actions[signal_number]);
    });
}

void restore_signal_actions()
{
    for_each_handled_signal([](int signal_number, void (*)(int), int) {
        sigaction(signal_number, &g_old_actions[signal_number], nullptr);
    });
}

bool read_byte(int terminal, unsigned char& byte)
{
    for (;;) {
        ssize_t got = read(terminal, &byte, 1);
        if (got == 1)
            return true;
        if (got < 0 && errno == EINTR)
            continue;
        return false;
    }
}

bool read_byte_soon(int terminal, unsigned char& byte)
{
    pollfd ready{terminal, POLLIN, 0};
    int result;
    do
        result = poll(&ready, 1, KEY_TAIL_TIMEOUT_MS);
    while (result < 0 && errno == EINTR);
    return result == 1 && read_byte(terminal, byte);
}

// Cursor and function keys send ESC [ ... final or ESC O x, Alt+key sends
// ESC x; a character outside ASCII arrives as several UTF-8 bytes. Reading
// the whole of it leaves nothing behind for the shell.
void consume_rest_of_key(int terminal, unsigned char first)
{
    unsigned char byte;
    if (first == 0x1b) {
        if (!read_byte_soon(terminal, byte))
            return;
        if (byte == 'O') {
            read_byte_soon(terminal, byte);
        } else if (byte == '[') {
            for (int i = 0; i < 32 && read_byte_soon(terminal, byte); ++i)
                if (byte >= 0x40 && byte <= 0x7e)
                    break;
        }
        return;
    }
    int continuation = first >= 0xf0 ? 3 : first >= 0xe0 ? 2 : first >= 0xc0 ? 1 : 0;
    for (int i = 0; i < continuation && read_byte_soon(terminal, byte); ++i) {
    }
}

}  // namespace

void wait_for_key()
{
    int terminal = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal < 0)
        return;
    termios settings;
    if (tcgetattr(terminal, &settings) != 0) {
        close(terminal);
        return;
    }
    g_terminal = terminal;
    g_saved_settings = settings;

    // No echo, no line editing, and Ctrl-C, Ctrl-Z, Ctrl-S arrive as keys.
    // TCSANOW rather than TCSAFLUSH: keys typed ahead must stay queued.
    settings.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG | IEXTEN));
    settings.c_iflag &= static_cast<tcflag_t>(~(IXON | ICRNL));
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    g_key_settings = settings;
    handle_signals();

    if (tcsetattr(terminal, TCSANOW, &settings) == 0) {
        unsigned char key;
        if (read_byte(terminal, key))
            consume_rest_of_key(terminal, key);
        // The rest of what was typed (a name given after a refused one, a
        // pasted line) was meant for this program, not for the shell.
        tcflush(terminal, TCIFLUSH);
        tcsetattr(terminal, TCSANOW, &g_saved_settings);
    }

    restore_signal_actions();
    g_terminal = -1;
    close(terminal);
}

std::FILE* open_input_file(const char* name, FileError& error)
{
    errno = 0;
    std::FILE* file = std::fopen(name, "rb");
    if (file == nullptr) {
        error = FileError{name, errno_or(ENOENT)};
        return nullptr;
    }
    // fopen opens a directory for reading here; every read would then fail.
    struct stat status;
    if (fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode)) {
        std::fclose(file);
        error = FileError{name, EISDIR};
        return nullptr;
    }
    return file;
}

namespace {

// Device and inode identify a file, whatever name or link reached it.
bool same_identity(const struct stat& first, const struct stat& second)
{
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace

bool same_file(std::FILE* file, const char* path)
{
    struct stat open_status;
    struct stat path_status;
    return fstat(fileno(file), &open_status) == 0 && stat(path, &path_status) == 0
           && same_identity(open_status, path_status);
}

bool same_open_file(std::FILE* first, std::FILE* second)
{
    struct stat first_status;
    struct stat second_status;
    return fstat(fileno(first), &first_status) == 0 && fstat(fileno(second), &second_status) == 0
           && same_identity(first_status, second_status);
}

std::FILE* open_result_stream(const char* name, FileError& error)
{
    const int descriptor = open(name, O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        error = FileError{name, errno};
        return nullptr;
    }
    // "w" on a descriptor sets the stream's mode; it empties nothing.
    std::FILE* stream = fdopen(descriptor, "w");
    if (stream == nullptr) {
        error = FileError{name, errno};
        close(descriptor);
    }
    return stream;
}

namespace {

// Only a regular file is locked and emptied: a device such as /dev/null
// is shared by nature and has nothing to empty.
bool is_regular(std::FILE* file)
{
    struct stat status;
    return fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

FileError lock_result_stream(std::FILE* file, const char* name)
{
    if (!is_regular(file))
        return FileError{name, 0};
    if (flock(fileno(file), LOCK_EX | LOCK_NB) != 0) {
        // A file system without locks still takes the results.
        return FileError{name, errno == EWOULDBLOCK ? RESULT_FILE_LOCKED : 0};
    }
    // The lock belongs to the open file, and a second descriptor of it,
    // never closed, holds it after the stream is closed, through the key
    // wait to the end of the process.
    fcntl(fileno(file), F_DUPFD_CLOEXEC, 3);
    return FileError{name, 0};
}

FileError empty_result_stream(std::FILE* file, const char* name)
{
    if (is_regular(file) && ftruncate(fileno(file), 0) != 0)
        return FileError{name, errno};
    return FileError{name, 0};
}

void prepare_process()
{
    // A write over the file-size limit fails with EFBIG and is reported.
    std::signal(SIGXFSZ, SIG_IGN);
    // A closed standard stream is given a descriptor that refuses its use
    // (EBADF, as when closed), so that no file opened later takes its
    // number and receives what was meant for it.
    for (int descriptor = 0; descriptor <= 2; ++descriptor)
        if (fcntl(descriptor, F_GETFD) < 0 && errno == EBADF)
            open("/dev/null", descriptor == 0 ? O_WRONLY : O_RDONLY);
}
