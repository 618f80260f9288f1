// fmemopen for MinGW, whose C library lacks it: the bytes are copied into a
// temporary file, which is deleted when it is closed. Writes go to the file,
// not back into the buffer; the tests only read.
#pragma once

#include <cstdio>

std::FILE* fmemopen(void* buffer, std::size_t size, const char* mode);
