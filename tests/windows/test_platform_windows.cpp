// The Windows console layer: input names as they reach it (bytes of UTF-8
// or of the ANSI code page, of any length), what it says when a name cannot
// be opened, file identity, and the key wait without a console.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <windows.h>

#include "fravlin/platform.h"

namespace fs = std::filesystem;

namespace {

// A fresh folder that is the current directory while the object lives.
struct ScratchFolder {
    fs::path path;
    fs::path previous;

    ScratchFolder()
    {
        path = fs::temp_directory_path()
               / ("fravlin-" + std::to_string(GetCurrentProcessId()) + "-"
                  + std::to_string(GetTickCount()));
        fs::create_directory(path);
        previous = fs::current_path();
        fs::current_path(path);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        fs::current_path(previous, ignored);
        fs::remove_all(path, ignored);
    }
};

void write_file(const fs::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

std::string first_line(std::FILE* file)
{
    char line[400] = {};
    return std::fgets(line, sizeof line, file) != nullptr ? line : "";
}

// The name in the ANSI code page, or "" when that has no byte for some
// character of it.
std::string ansi(const std::wstring& name)
{
    BOOL lossy = FALSE;
    char bytes[MAX_PATH];
    const int size =
        WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, bytes, sizeof bytes, nullptr, &lossy);
    return size > 0 && !lossy ? bytes : "";
}

TEST(WindowsConsoleLayer, OpensNamesOfEveryKind)
{
    ScratchFolder folder;
    const std::wstring accented = L"r\u00e9ponse.txt";
    const std::wstring long_folder(120, L'd');
    const std::wstring long_name = long_folder + L"\\" + std::wstring(150, L'n');
    fs::create_directory(long_folder);
    for (const std::wstring& name : {accented, std::wstring(L"\u65e5\u672c\u20ac.txt"), long_name})
        write_file(name, "content of " + fs::path(name).filename().string() + "\n");

    const struct {
        const char* title;
        std::string name;
        std::wstring file;
    } cases[] = {
        {"UTF-8", "r\xc3\xa9ponse.txt", accented},
        {"ANSI code page", ansi(accented), accented},
        {"UTF-8 beyond any ANSI code page", "\xe6\x97\xa5\xe6\x9c\xac\xe2\x82\xac.txt",
         L"\u65e5\u672c\u20ac.txt"},
        {"a path of more than MAX_PATH characters", fs::path(long_name).string(), long_name},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        if (c.name.empty()) {
            ADD_FAILURE() << "the ANSI code page has no e acute";
            continue;
        }
        // As a name read from a pipe reaches the open: in UTF-8.
        std::string name = c.name;
        name_bytes_to_utf8(name);
        FileError error;
        std::FILE* file = open_input_file(name.c_str(), error);
        ASSERT_NE(file, nullptr) << "errno " << error.code;
        EXPECT_EQ(first_line(file), "content of " + fs::path(c.file).filename().string() + "\n");
        std::fclose(file);
    }
}

TEST(WindowsConsoleLayer, ReasonsWhyANameCannotBeOpened)
{
    ScratchFolder folder;
    fs::create_directory("folder");
    const struct {
        const char* name;
        int error;
    } cases[] = {
        {"missing.txt", ENOENT}, {"folder", EISDIR}, {"folder\\", EISDIR},
        {"a*b", ENOENT},         {"what?", ENOENT},  {"a|b", ENOENT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FileError error;
        EXPECT_EQ(open_input_file(c.name, error), nullptr);
        EXPECT_EQ(error.code, c.error) << std::strerror(error.code);
    }
}

TEST(WindowsConsoleLayer, SameFileByIdentityNotByName)
{
    ScratchFolder folder;
    write_file("complex.out", "1\n");
    write_file("copy.out", "1\n");
    fs::create_directory("sub");
    ASSERT_TRUE(CreateHardLinkW(L"sub\\hard.txt", L"complex.out", nullptr));
    FileError error;
    std::FILE* file = open_input_file("complex.out", error);
    ASSERT_NE(file, nullptr);
    const struct {
        const char* path;
        bool same;
    } cases[] = {
        {"complex.out", true},   {".\\complex.out", true},
        {"./complex.out", true}, {"sub\\..\\complex.out", true},
        {"sub/hard.txt", true},  {"copy.out", false},
        {"missing.out", false},  {".", false},
        {"sub", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(same_file(file, c.path), c.same) << c.path;
    std::fclose(file);
}

std::string content_of(const char* name)
{
    std::ifstream file(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A result file is opened without losing its content, checked by identity,
// emptied only when asked, written as text, and denied to other writers
// (another run) from its opening to the end of the process.
TEST(WindowsConsoleLayer, ResultFilesOpenedInSteps)
{
    ScratchFolder folder;
    write_file("complex.out", "precious\n");
    FileError error;
    std::FILE* result = open_result_stream("complex.out", error);
    ASSERT_NE(result, nullptr) << "errno " << error.code;
    EXPECT_EQ(content_of("complex.out"), "precious\n");

    std::FILE* input = open_input_file("complex.out", error);
    ASSERT_NE(input, nullptr) << "an input open for reading does not keep a result file";
    EXPECT_TRUE(same_open_file(input, result));
    std::fclose(input);

    EXPECT_EQ(open_result_stream("complex.out", error), nullptr);
    EXPECT_EQ(error.code, RESULT_FILE_LOCKED);
    ASSERT_TRUE(CreateHardLinkW(L"hard.out", L"complex.out", nullptr));
    EXPECT_EQ(open_result_stream("hard.out", error), nullptr) << "one file under two names";
    EXPECT_EQ(error.code, RESULT_FILE_LOCKED);

    EXPECT_EQ(lock_result_stream(result, "complex.out").code, 0);
    EXPECT_EQ(empty_result_stream(result, "complex.out").code, 0);
    EXPECT_EQ(content_of("complex.out"), "");
    std::fputs("line\n", result);
    EXPECT_EQ(std::fclose(result), 0);
    EXPECT_EQ(content_of("complex.out"), "line\r\n");
    EXPECT_EQ(open_result_stream("complex.out", error), nullptr) << "the lock went with the stream";
    EXPECT_EQ(error.code, RESULT_FILE_LOCKED);

    write_file("other.out", "");
    std::FILE* other = open_result_stream("other.out", error);
    ASSERT_NE(other, nullptr);
    input = open_input_file("complex.out", error);
    ASSERT_NE(input, nullptr);
    EXPECT_FALSE(same_open_file(input, other));
    std::fclose(input);
    std::fclose(other);
    fs::create_directory("folder");
    EXPECT_EQ(open_result_stream("folder", error), nullptr);
    EXPECT_EQ(error.code, EISDIR);
}

// With a console the wait would want a key; without one it must not wait.
TEST(WindowsConsoleLayer, KeyWaitWithoutAConsoleReturnsAtOnce)
{
    HANDLE console =
        CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD mode;
    const bool has_console = console != INVALID_HANDLE_VALUE && GetConsoleMode(console, &mode);
    if (console != INVALID_HANDLE_VALUE)
        CloseHandle(console);
    if (has_console)
        GTEST_SKIP() << "this process has a console";
    wait_for_key();
}

}  // namespace
