// What the unit tests need of a Windows build beyond GoogleTest.
#include "fmemopen.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

// CMake reads GoogleTest's list of tests line by line and would take the CR
// of a text-mode line end as part of a test's name.
[[maybe_unused]] const int binary_standard_output = _setmode(_fileno(stdout), _O_BINARY);

}  // namespace

std::FILE* fmemopen(void* buffer, std::size_t size, const char*)
{
    wchar_t folder[MAX_PATH + 1];
    wchar_t name[MAX_PATH + 1];
    if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"fmo", 0, name) == 0)
        return nullptr;
    // "D": deleted when closed.
    std::FILE* file = _wfopen(name, L"w+bD");
    if (file == nullptr)
        return nullptr;
    if (std::fwrite(buffer, 1, size, file) != size || std::fflush(file) != 0) {
        std::fclose(file);
        return nullptr;
    }
    std::rewind(file);
    return file;
}
