#include "fravlin/platform.h"

#include <cerrno>
#include <conio.h>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <string>
#include <sys/stat.h>
#include <windows.h>

namespace {

bool is_ascii(const char* text)
{
    for (; *text != '\0'; ++text)
        if (static_cast<unsigned char>(*text) >= 0x80)
            return false;
    return true;
}

std::wstring widen(const char* name)
{
    if (is_ascii(name))
        return std::wstring(name, name + std::strlen(name));
    const int size = MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0);
    if (size <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, name, -1, wide.data(), size);
    wide.resize(static_cast<std::size_t>(size - 1));
    return wide;
}

// A file name as the wide functions take it. A full path of MAX_PATH
// characters or more is only opened in the \\?\ form, which in turn takes
// no relative names, no "." or ".." and no forward slashes: the full path
// that GetFullPathNameW resolves has none of them.
std::wstring windows_path(const char* name)
{
    std::wstring path = widen(name);
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size < MAX_PATH)  // also when it failed (0): the open reports why
        return path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\"))
        return full;
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

bool identify(HANDLE handle, BY_HANDLE_FILE_INFORMATION& information)
{
    return handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &information);
}

HANDLE handle_of(std::FILE* file)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
}

// The volume serial number and the file index identify a file on FAT and
// NTFS volumes, whatever name (or hard link) it was opened by.
bool same_identity(const BY_HANDLE_FILE_INFORMATION& first,
                   const BY_HANDLE_FILE_INFORMATION& second)
{
    return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber
           && first.nFileIndexHigh == second.nFileIndexHigh
           && first.nFileIndexLow == second.nFileIndexLow;
}

// Only a file on a disk is emptied; a device such as NUL has nothing to
// empty.
bool is_disk_file(std::FILE* file)
{
    return GetFileType(handle_of(file)) == FILE_TYPE_DISK;
}

// Windows refuses to open a directory as a file, with "access denied", and
// a name with characters that no file name may hold (* ? < > | ") as an
// invalid argument: no such file can exist.
int explain_open_error(const char* name, int error)
{
    if (error == EINVAL)
        return ENOENT;
    if (error != EACCES)
        return error;
    const DWORD attributes = GetFileAttributesW(windows_path(name).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return EISDIR;
    return error;
}

}  // namespace

// _getch reads the console's own input buffer through CONIN$, whatever
// standard input is, without echo and without Enter. It skips key releases,
// mouse and focus events and the modifier keys pressed alone; Ctrl-C comes
// as the key 3. Function and cursor keys give 0 or 224 first and their code
// second, and both are read so that nothing of the key is left for the
// shell, nor what is still queued after it. A process without a console
// (started detached, or by a service) has no CONIN$ to open, and the wait
// ends at once.
void wait_for_key()
{
    HANDLE console =
        CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE)
        return;
    DWORD mode;
    if (GetConsoleMode(console, &mode) != 0) {
        const int key = _getch();
        if (key == 0 || key == 0xe0)
            _getch();
        FlushConsoleInputBuffer(console);
    }
    CloseHandle(console);
}

std::FILE* open_input_file(const char* name, FileError& error)
{
    const std::wstring path = windows_path(name);
    errno = 0;
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr)
        error = FileError{name, explain_open_error(name, errno_or(ENOENT))};
    return file;
}

bool same_file(std::FILE* file, const char* path)
{
    BY_HANDLE_FILE_INFORMATION open_file;
    if (!identify(handle_of(file), open_file))
        return false;
    HANDLE named = CreateFileW(windows_path(path).c_str(), 0,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION named_file;
    const bool identified = identify(named, named_file);
    if (named != INVALID_HANDLE_VALUE)
        CloseHandle(named);
    return identified && same_identity(open_file, named_file);
}

bool same_open_file(std::FILE* first, std::FILE* second)
{
    BY_HANDLE_FILE_INFORMATION first_file;
    BY_HANDLE_FILE_INFORMATION second_file;
    return identify(handle_of(first), first_file) && identify(handle_of(second), second_file)
           && same_identity(first_file, second_file);
}

// The share mode is the lock: while the file is open here, others may read
// it but not open it for writing, and another run's open fails with a
// sharing violation. _wsopen with _O_CREAT and without _O_TRUNC is
// CreateFileW with OPEN_ALWAYS; the C library keeps the system's error in
// _doserrno and gives its errno value.
std::FILE* open_result_stream(const char* name, FileError& error)
{
    errno = 0;
    _doserrno = 0;
    const int descriptor =
        _wsopen(windows_path(name).c_str(), _O_WRONLY | _O_CREAT | _O_TEXT | _O_NOINHERIT,
                _SH_DENYWR, _S_IREAD | _S_IWRITE);
    if (descriptor < 0) {
        error = FileError{name, _doserrno == ERROR_SHARING_VIOLATION
                                    ? RESULT_FILE_LOCKED
                                    : explain_open_error(name, errno_or(EACCES))};
        return nullptr;
    }
    // Text mode: lines end in CR LF.
    std::FILE* stream = _fdopen(descriptor, "w");
    if (stream == nullptr) {
        error = FileError{name, errno_or(EMFILE)};
        _close(descriptor);
    }
    return stream;
}

// A second handle of the file, never closed, keeps the share mode in force
// after the stream is closed, through the key wait to the end of the
// process.
FileError lock_result_stream(std::FILE* file, const char* name)
{
    HANDLE kept;
    DuplicateHandle(GetCurrentProcess(), handle_of(file), GetCurrentProcess(), &kept, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    return FileError{name, 0};
}

FileError empty_result_stream(std::FILE* file, const char* name)
{
    if (is_disk_file(file) && _chsize(_fileno(file), 0) != 0)
        return FileError{name, errno_or(EIO)};
    return FileError{name, 0};
}

void prepare_process() {}
