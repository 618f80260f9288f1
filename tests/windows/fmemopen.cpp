#include "fmemopen.h"

#include <windows.h>

std::FILE* fmemopen(void* buffer, std::size_t size, const char*)
{
    wchar_t folder[MAX_PATH + 1];
    wchar_t name[MAX_PATH + 1];
    if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"fmo", 0, name) == 0)
        return nullptr;
    // "D": delete on close.
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
