// The file names the user gives, read as "%s" reads words: white space
// (that of the "C" locale) before a name is skipped, and a name ends at
// the next white space, which stays unread. Names are UTF-8.
//
// read_name reads the next name. Typed at a terminal or console
// (use_line_editor, platform.h), names come from whole lines that the user
// edits, and the words left on a line answer the next prompts before
// another line is asked for; otherwise standard input is read byte by
// byte. GIVEN with the name; NONE at the end of input (or a read error,
// which ferror(stdin) tells) before a name; TOO_LONG as soon as the name
// passes MAX_NAME_LENGTH, with the rest of it left unread, since it may
// have no end. A shortage of memory throws std::bad_alloc.
#pragma once

#include <string>

enum class NameRead { GIVEN, NONE, TOO_LONG };

NameRead read_name(std::string& name);
