#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "fravlin/dialogue.h"
#include "fravlin/platform.h"
#include "fravlin/report.h"

int main()
{
    prepare_process();
    int status;
    // Memory short anywhere ends the run with its reason, never with an
    // abort.
    try {
        status = run_dialogue();
    } catch (const std::bad_alloc&) {
        report(FileError{"fravlin", ENOMEM});
        status = EXIT_FAILED;
    }
    // A console that could not take the dialogue's text is a failed run too.
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        status = EXIT_FAILED;
    return status;
}
