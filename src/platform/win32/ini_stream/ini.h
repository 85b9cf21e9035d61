// The settings file's line reader where no inih library exists for the target (mingw-w64): the
// one entry point the settings use, with inih's types and its Debian build's rules.
#pragma once

// Returns the next line (with its newline) into str, at most num - 1 characters, or null at the end.
typedef char* (*ini_reader)(char* str, int num, void* stream);
// Called for each NAME = VALUE line; returns nonzero when the line was taken.
typedef int (*ini_handler)(void* user, const char* section, const char* name, const char* value);

// Reads every line from reader: ';' or '#' at the start of a line, or ';' after a space, starts
// a comment; "[name]" starts a section; "NAME = VALUE" or "NAME: VALUE" goes to handler; an
// indented line continues the previous value (handler is called again with that name). Returns
// 0, or the number of the first line that was not understood (reading goes on after it).
int ini_parse_stream(ini_reader reader, void* stream, ini_handler handler, void* user);
