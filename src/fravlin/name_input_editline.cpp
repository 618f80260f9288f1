// The POSIX side of the name input: lines edited with libedit at a terminal.
#include "fravlin/platform.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include <editline/readline.h>

namespace {

// The editor decodes the keys in the terminal's character set, which the
// environment names; the rest of the program keeps the "C" locale, so it is
// switched for the editor's own calls only.
class TerminalLocale {
public:
    TerminalLocale() : saved_(std::setlocale(LC_CTYPE, nullptr)) { std::setlocale(LC_CTYPE, ""); }
    ~TerminalLocale() { std::setlocale(LC_CTYPE, saved_.c_str()); }
    TerminalLocale(const TerminalLocale&) = delete;
    TerminalLocale& operator=(const TerminalLocale&) = delete;

private:
    std::string saved_;
};

// File and folder names, as they are: the dialogue takes a name verbatim,
// so a completion must not put backslashes before characters that a shell
// would treat specially. The library's default completion does that; its
// own list of matches, offered through this hook, is inserted unchanged.
// A single match gets a blank after it, ready for the next name, or a slash
// when it is a folder, ready for a name in it.
char** complete_file_name(const char* text, int, int)
{
    char** matches = rl_completion_matches(text, rl_filename_completion_function);
    rl_completion_append_character = ' ';
    const bool single = matches != nullptr && matches[0] != nullptr
                        && (matches[1] == nullptr || matches[2] == nullptr);
    struct stat status;
    if (single && stat(matches[0], &status) == 0 && S_ISDIR(status.st_mode))
        rl_completion_append_character = '/';
    return matches;
}

void set_up_editor()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // Only white space ends a name, so completion works on the whole word
    // before the cursor, whatever other characters the name holds.
    rl_basic_word_break_characters = " \t\n\v\f\r";
    rl_attempted_completion_function = complete_file_name;
    rl_readline_name = "fravlin";
    rl_initialize();
}

}  // namespace

bool use_line_editor()
{
    static const bool terminal = isatty(0) == 1 && isatty(1) == 1;
    return terminal;
}

bool read_typed_line(std::string& text)
{
    char* line = nullptr;
    {
        TerminalLocale locale;
        set_up_editor();
        // The prompt texts were printed by the dialogue; they must be on the
        // screen before the editor takes the terminal.
        std::fflush(stdout);
        line = readline("");
    }
    if (line == nullptr) {
        // The editor shows the Ctrl-D as "^D" and leaves the cursor after
        // it; what comes next starts a line of its own.
        std::fputs("\n", stdout);
        return false;
    }
    text = line;
    std::free(line);
    if (text.find_first_not_of(" \t\n\v\f\r") != std::string::npos)
        add_history(text.c_str());
    return true;
}

// Names read as bytes are taken as they are.
void name_bytes_to_utf8(std::string&) {}
