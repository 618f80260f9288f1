// The file names typed at a terminal or console.
//
// When standard input (and, on POSIX, standard output) is a terminal or
// console, read_name takes the names from whole lines that the user edits:
// - FRAVLIN_LINE_EDITING (POSIX): lines edited with libedit: cursor keys,
//   Home/End, Ctrl-U, an in-memory history and Tab completion of file and
//   folder names;
// - FRAVLIN_CONSOLE_NAMES (Windows): lines read from the console in UTF-16,
//   edited and echoed by the console itself, and handed on in UTF-8, so
//   that a name may hold any character whatever the console's code page.
// The words are taken from those lines by the same rules as "%s" (see
// name_words.h): white space before a name is skipped, a name ends at white
// space, and what follows it on the line answers the next prompt. Otherwise
// read_name reads standard input itself.
#pragma once

#include <string>

#if defined(FRAVLIN_LINE_EDITING) || defined(FRAVLIN_CONSOLE_NAMES)

bool use_line_editor();

// The next name from edited lines; false at the end of input (Ctrl-D on an
// empty line at a terminal, Ctrl-Z and Enter at a console, or a failed
// read) before a name.
bool read_edited_name(std::string& name);

#else

inline bool use_line_editor() { return false; }
inline bool read_edited_name(std::string&) { return false; }

#endif

#ifdef FRAVLIN_CONSOLE_NAMES

#include <string_view>

// A line as the console gave it (UTF-16, with its CR LF) in UTF-8. A Ctrl-Z
// ends the input, as it ends standard input read in text mode: the text
// before it is kept, and the result is false.
bool console_line_to_utf8(std::wstring_view typed, std::string& line);

#endif
