#include <cstdio>

#include "dialogue.h"

int main()
{
    int status = run_dialogue();
    // A console that could not take the dialogue's text is a failed run too.
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        status = EXIT_FAILED;
    return status;
}
