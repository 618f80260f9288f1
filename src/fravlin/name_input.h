// Line editing of the file names typed at a terminal.
//
// When the editor is built in (FRAVLIN_LINE_EDITING) and both standard input
// and standard output are terminals, read_name takes the names from lines
// edited with libedit: cursor keys, Home/End, Ctrl-U, an in-memory history
// and Tab completion of file and folder names. The words are taken from
// those lines by the same rules as "%s": white space before a name is
// skipped, a name ends at white space, and what follows it on the line
// answers the next prompt. Otherwise read_name reads standard input itself.
#pragma once

#include <string>

#ifdef FRAVLIN_LINE_EDITING

bool use_line_editor();

// The next name from edited lines; false at the end of input (Ctrl-D on an
// empty line) before a name.
bool read_edited_name(std::string& name);

#else

inline bool use_line_editor() { return false; }
inline bool read_edited_name(std::string&) { return false; }

#endif
