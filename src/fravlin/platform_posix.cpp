#include "console.h"

#include <cerrno>
#include <csignal>
#include <iterator>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Bytes that belong to one key arrive together; this long a pause means the
// key is complete (a lone Escape, say).
constexpr int KEY_TAIL_TIMEOUT_MS = 50;

// What the signal handler needs to give the terminal back.
int g_terminal = -1;
termios g_saved_settings;

constexpr int HANDLED_SIGNALS[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT};
struct sigaction g_old_actions[std::size(HANDLED_SIGNALS)];

extern "C" void restore_terminal_and_die(int signal_number)
{
    // tcsetattr is async-signal-safe; the handler was reset by SA_RESETHAND,
    // so the signal raised again ends the process as it would have.
    tcsetattr(g_terminal, TCSANOW, &g_saved_settings);
    raise(signal_number);
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

    struct sigaction restore = {};
    restore.sa_handler = restore_terminal_and_die;
    restore.sa_flags = SA_RESETHAND;
    sigemptyset(&restore.sa_mask);
    for (std::size_t i = 0; i < std::size(HANDLED_SIGNALS); ++i)
        sigaction(HANDLED_SIGNALS[i], &restore, &g_old_actions[i]);

    // No echo, no line editing, and Ctrl-C, Ctrl-Z, Ctrl-S arrive as keys.
    // TCSANOW rather than TCSAFLUSH: keys typed ahead must stay queued.
    settings.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG | IEXTEN));
    settings.c_iflag &= static_cast<tcflag_t>(~(IXON | ICRNL));
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (tcsetattr(terminal, TCSANOW, &settings) == 0) {
        unsigned char key;
        if (read_byte(terminal, key))
            consume_rest_of_key(terminal, key);
        tcsetattr(terminal, TCSANOW, &g_saved_settings);
    }

    for (std::size_t i = 0; i < std::size(HANDLED_SIGNALS); ++i)
        sigaction(HANDLED_SIGNALS[i], &g_old_actions[i], nullptr);
    g_terminal = -1;
    close(terminal);
}

std::FILE* open_input_file(const char* name, int& error)
{
    errno = 0;
    std::FILE* file = std::fopen(name, "rb");
    if (file == nullptr) {
        error = errno != 0 ? errno : ENOENT;
        return nullptr;
    }
    // fopen opens a directory for reading here; every read would then fail.
    struct stat status;
    if (fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode)) {
        std::fclose(file);
        error = EISDIR;
        return nullptr;
    }
    return file;
}

int open_error(const char*, int error)
{
    return error;
}

bool same_file(std::FILE* file, const char* path)
{
    struct stat open_status;
    struct stat path_status;
    return fstat(fileno(file), &open_status) == 0 && stat(path, &path_status) == 0
        && open_status.st_dev == path_status.st_dev && open_status.st_ino == path_status.st_ino;
}
