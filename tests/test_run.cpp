// End-to-end runs of the built program: the console transcript byte for
// byte, the result files, and what happens on bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <complex>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "example_system.h"
#include "program.h"
#include "transcript.h"

namespace fs = std::filesystem;

namespace {

// Summaries of two spectra of three records at 10, 20 and 30.
const std::string SUMMARIES_10_TO_30 =
    "\n\n Response Function Statistics \n"
    "\n number of points   = 3 "
    "\n starting frequency =           10"
    "\n ending frequency   =           30 \n"
    "\n\n Excitation Function Statistics \n"
    "\n number of points   = 3 "
    "\n starting frequency =           10"
    "\n ending frequency   =           30 \n\n";

// (1+0i)/(1+0i), (0+1i)/(1+0i), (2+0i)/(0+2i)
const std::string RESPONSE = "10 1 0\n20 0 1\n30 2 0\n";
const std::string EXCITATION = "10 1 0\n20 1 0\n30 0 2\n";
const std::string COMPLEX_LINES =
    "   1.00000e+01     1.0000e+00     0.0000e+00 \n"
    "   2.00000e+01     0.0000e+00     1.0000e+00 \n"
    "   3.00000e+01     0.0000e+00    -1.0000e+00 \n";
const std::string MAGNITUDE_PHASE_LINES =
    "   1.00000e+01     1.0000e+00      0.0000e+00\n"
    "   2.00000e+01     1.0000e+00      9.0000e+01\n"
    "   3.00000e+01     1.0000e+00     -9.0000e+01\n";

struct Fixture {
    ScratchDir dir;
    Fixture(const std::string& response, const std::string& excitation)
    {
        write_file(dir / "r.txt", response);
        write_file(dir / "e.txt", excitation);
    }
    RunResult run(const std::string& input) const { return run_program(dir.path, input); }
    std::string result(const char* name) const { return read_text_file(dir / name); }
};

TEST(Run, WholeTranscriptAndResultFilesForEveryWayOfTypingTheNames)
{
    const char* inputs[] = {
        "r.txt\ne.txt\n",
        "r.txt e.txt\n",            // both names on one line answer both prompts
        "\n\n   r.txt\n\n\te.txt",  // empty lines skipped, no final line end
        "r.txt\r\ne.txt\r\n",       // a CR is white space like any other
    };
    for (const char* input : inputs) {
        SCOPED_TRACE(input);
        Fixture fixture(RESPONSE, EXCITATION);
        const RunResult run = fixture.run(input);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, OPENING + EXCITATION_PROMPT + SUMMARIES_10_TO_30 + CLOSING);
        EXPECT_EQ(fixture.result("complex.out"), COMPLEX_LINES);
        EXPECT_EQ(fixture.result("magnitude_phase.out"), MAGNITUDE_PHASE_LINES);
    }
}

TEST(Run, FrequencyMismatchStopsTheDivisionAndExitsWithTwo)
{
    Fixture fixture("10 1 0\n20 1 0\n30 1 0\n", "10 1 0\n21.5 1 0\n30 1 0\n");
    const RunResult run = fixture.run("r.txt e.txt\n");
    EXPECT_EQ(run.status, 2);
    const std::string summaries = SUMMARIES_10_TO_30;
    EXPECT_EQ(run.out, OPENING + EXCITATION_PROMPT + summaries
                           + "\n sync error \n 20.000000 21.500000 \n" + CLOSING);
    EXPECT_EQ(fixture.result("complex.out"), "   1.00000e+01     1.0000e+00     0.0000e+00 \n");
    EXPECT_EQ(fixture.result("magnitude_phase.out"),
              "   1.00000e+01     1.0000e+00      0.0000e+00\n");
}

TEST(Run, FrequenciesWithinOneUnitOrNotANumberAgree)
{
    Fixture fixture("10 1 0\nnan 1 0\n", "11 1 0\n20 1 0\n");
    const RunResult run = fixture.run("r.txt e.txt\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.find("sync error"), std::string::npos);
    EXPECT_EQ(fixture.result("complex.out"),
              "   1.00000e+01     1.0000e+00     0.0000e+00 \n"
              "           nan     1.0000e+00     0.0000e+00 \n");
}

TEST(Run, ZeroExcitationWritesWhatTheDivisionGivesAndGoesOn)
{
    Fixture fixture("10 1 0\n20 1 0\n", "10 0 0\n20 1 0\n");
    const RunResult run = fixture.run("r.txt e.txt\n");
    EXPECT_EQ(run.status, 0);
    // 0/0 gives the processor's default NaN, whose sign bit is set.
    EXPECT_EQ(fixture.result("complex.out"),
              "   1.00000e+01           -nan           -nan \n"
              "   2.00000e+01     1.0000e+00     0.0000e+00 \n");
    EXPECT_EQ(fixture.result("magnitude_phase.out"),
              "   1.00000e+01           -nan            -nan\n"
              "   2.00000e+01     1.0000e+00      0.0000e+00\n");
}

TEST(Run, EmptyInputShowsZeroPointsAndLeavesEmptyResultFiles)
{
    Fixture fixture("", "10 1 0\n");
    write_file(fixture.dir / "complex.out", "left by an earlier run\n");
    const RunResult run = fixture.run("r.txt e.txt\n");
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "fravlin: r.txt: warning: no records: the file holds no numbers\n");
    EXPECT_EQ(run.out, OPENING + EXCITATION_PROMPT
                           + "\n\n Response Function Statistics \n"
                             "\n number of points   = 0 "
                             "\n starting frequency =            0"
                             "\n ending frequency   =            0 \n"
                             "\n\n Excitation Function Statistics \n"
                             "\n number of points   = 1 "
                             "\n starting frequency =           10"
                             "\n ending frequency   =           10 \n\n"
                           + CLOSING);
    EXPECT_TRUE(fs::exists(fixture.dir / "magnitude_phase.out"));
    EXPECT_EQ(fixture.result("complex.out"), "");
    EXPECT_EQ(fixture.result("magnitude_phase.out"), "");
}

TEST(Run, LongerSpectrumIsCutToTheCommonCount)
{
    Fixture fixture("1 1 0\n2 1 0\n3 1 0\n4 1 0\n5 1 0\n", "1 1 0\n2 1 0\n3 1 0\n");
    const RunResult run = fixture.run("r.txt e.txt\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("number of points   = 5 "), std::string::npos);
    EXPECT_NE(run.out.find("number of points   = 3 "), std::string::npos);
    const std::string complex = fixture.result("complex.out");
    EXPECT_EQ(std::count(complex.begin(), complex.end(), '\n'), 3);
}

TEST(Run, NamesOfAnyLength)
{
    const std::string folder(120, 'd');
    const struct {
        const char* title;
        std::string name;
    } names[] = {
        {"200 characters", std::string(200, 'n')},
        {"a path of more than 260 characters", folder + "/" + std::string(150, 'n')},
        {"outside ASCII, in UTF-8", "r\xc3\xa9ponse\xe2\x82\xac\xe6\x97\xa5.txt"},
    };
    for (const auto& name : names) {
        SCOPED_TRACE(name.title);
        Fixture fixture(RESPONSE, EXCITATION);
        fs::create_directory(fixture.dir / folder);
        fs::rename(fixture.dir / "r.txt", fixture.dir / name.name);
        const RunResult run = fixture.run(name.name + "\ne.txt\n");
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(fixture.result("complex.out"), COMPLEX_LINES);
    }
}

TEST(Run, TooManyRecordsAreCutWithAWarning)
{
    ScratchDir dir;
    std::string records;
    records.reserve(6 * 1000001);
    for (int i = 0; i < 1000001; ++i)
        records += "1 1 0\n";
    write_file(dir / "big.txt", records);
    write_file(dir / "e.txt", "1 1 0\n");
    const RunResult run = run_program(dir.path, "big.txt e.txt\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("number of points   = 1000000 "), std::string::npos);
    EXPECT_EQ(run.err,
              "fravlin: big.txt: warning: the records after the first 1000000 were ignored\n");
}

TEST(Run, ExactlyMaxPointsRecordsGiveNoWarning)
{
    ScratchDir dir;
    std::string records;
    for (int i = 0; i < 1000000; ++i)
        records += "1 1 0\n";
    write_file(dir / "big.txt", records + "\n  \n");
    write_file(dir / "e.txt", "1 1 0\n");
    const RunResult run = run_program(dir.path, "big.txt e.txt\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
}

// Runs that cannot be carried out: a message on standard error naming the
// file, "Press any key", exit status 1, and no result file touched.
struct FaultCase {
    const char* title;
    void (*prepare)(const fs::path& dir);
    const char* input;
    const char* expected_error;  // standard error, exactly
    bool excitation_prompt_shown;
};

void nothing(const fs::path&) {}
void make_directory(const fs::path& dir)
{
    fs::create_directory(dir / "folder");
}
void old_results(const fs::path& dir)
{
    write_file(dir / "complex.out", "precious\n");
    write_file(dir / "magnitude_phase.out", "precious too\n");
}
void linked_results(const fs::path& dir)
{
    old_results(dir);
    fs::create_symlink(dir / "complex.out", dir / "link.txt");
    fs::create_hard_link(dir / "magnitude_phase.out", dir / "hard.txt");
}

const FaultCase FAULTS[] = {
    {"missing response", nothing, "missing.txt e.txt\n",
     "fravlin: missing.txt: No such file or directory\n", false},
    {"missing excitation", nothing, "r.txt missing.txt\n",
     "fravlin: missing.txt: No such file or directory\n", true},
    {"directory", make_directory, "folder e.txt\n", "fravlin: folder: Is a directory\n", false},
    {"result file as response", old_results, "complex.out e.txt\n",
     "fravlin: complex.out: is the result file complex.out, which this run would empty; copy it "
     "under another name first\n",
     false},
    {"result file under another spelling", old_results, "r.txt ./magnitude_phase.out\n",
     "fravlin: ./magnitude_phase.out: is the result file magnitude_phase.out, which this run would "
     "empty; copy it under another name first\n",
     true},
    {"symbolic link to a result file", linked_results, "link.txt e.txt\n",
     "fravlin: link.txt: is the result file complex.out, which this run would empty; copy it "
     "under another name first\n",
     false},
    {"hard link to a result file", linked_results, "r.txt hard.txt\n",
     "fravlin: hard.txt: is the result file magnitude_phase.out, which this run would empty; copy "
     "it under another name first\n",
     true},
    {"a name with control bytes, shown escaped", nothing, "a\x1b[2J\x7f e.txt\n",
     "fravlin: a\\x1b[2J\\x7f: No such file or directory\n", false},
    {"no input at all", nothing, "", "fravlin: standard input: no file name given\n", false},
    {"only blank lines", nothing, "\n \n\t\n", "fravlin: standard input: no file name given\n",
     false},
    {"input ends after the first name", nothing, "r.txt\n",
     "fravlin: standard input: no file name given\n", true},
};

TEST(Run, RefusedRunsTouchNoResultFile)
{
    for (const FaultCase& fault : FAULTS) {
        SCOPED_TRACE(fault.title);
        Fixture fixture(RESPONSE, EXCITATION);
        fault.prepare(fixture.dir.path);
        const bool had_results = fs::exists(fixture.dir / "complex.out");
        const RunResult run = fixture.run(fault.input);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, fault.expected_error);
        EXPECT_EQ(run.out, OPENING + (fault.excitation_prompt_shown ? EXCITATION_PROMPT : "")
                               + PRESS_ANY_KEY);
        if (had_results) {
            EXPECT_EQ(fixture.result("complex.out"), "precious\n");
            EXPECT_EQ(fixture.result("magnitude_phase.out"), "precious too\n");
        } else {
            EXPECT_FALSE(fs::exists(fixture.dir / "complex.out"));
            EXPECT_FALSE(fs::exists(fixture.dir / "magnitude_phase.out"));
        }
    }
}

TEST(Run, ResultFileThatCannotBeCreated)
{
    Fixture fixture(RESPONSE, EXCITATION);
    fs::create_directory(fixture.dir / "magnitude_phase.out");
    const RunResult run = fixture.run("r.txt e.txt\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "fravlin: magnitude_phase.out: Is a directory\n");
    EXPECT_EQ(run.out, OPENING + EXCITATION_PROMPT + PRESS_ANY_KEY);
    EXPECT_EQ(fixture.result("complex.out"), "");
}

TEST(Run, FullDiskIsReportedInsteadOfAnnouncingTheFiles)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    if (WINDOWS_PROGRAM)
        GTEST_SKIP() << "Wine reports a write to /dev/full as an input/output error";
    Fixture fixture(RESPONSE, EXCITATION);
    fs::create_symlink("/dev/full", fixture.dir / "complex.out");
    const RunResult run = fixture.run("r.txt e.txt\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "fravlin: complex.out: No space left on device\n");
    EXPECT_EQ(run.out, OPENING + EXCITATION_PROMPT + SUMMARIES_10_TO_30 + PRESS_ANY_KEY);
    EXPECT_EQ(fixture.result("magnitude_phase.out"), MAGNITUDE_PHASE_LINES);
}

// A name typed, the program held at the second prompt while the folder
// changes, then the second name: the files opened are checked, not the
// names seen before.
struct ChangeDuringTheWait {
    const char* title;
    void (*change)(const fs::path& dir);
    const char* expected_error;
    const char* response_now;  // where the response's records are afterwards
    // Windows refuses to rename a file that is open for reading; renamed
    // behind Wine's back, the file shows Wine another identity.
    bool on_windows = true;
};

const ChangeDuringTheWait CHANGES[] = {
    {"symbolic link made to the response",
     [](const fs::path& dir) { fs::create_symlink("r.txt", dir / "complex.out"); },
     "fravlin: r.txt: is the result file complex.out, which this run would empty; copy it under "
     "another name first\n",
     "r.txt"},
    {"hard link made to the response",
     [](const fs::path& dir) { fs::create_hard_link(dir / "r.txt", dir / "complex.out"); },
     "fravlin: r.txt: is the result file complex.out, which this run would empty; copy it under "
     "another name first\n",
     "r.txt"},
    {"response renamed to a result file",
     [](const fs::path& dir) { fs::rename(dir / "r.txt", dir / "magnitude_phase.out"); },
     "fravlin: r.txt: is the result file magnitude_phase.out, which this run would empty; copy it "
     "under another name first\n",
     "magnitude_phase.out", false},
};

TEST(Run, InputThatBecomesAResultFileWhileTheProgramWaitsIsRefused)
{
    for (const ChangeDuringTheWait& change : CHANGES) {
        SCOPED_TRACE(change.title);
        if (WINDOWS_PROGRAM && !change.on_windows)
            continue;
        Fixture fixture(RESPONSE, EXCITATION);
        HeldRun run(fixture.dir.path);
        run.type("r.txt\n");
        ASSERT_TRUE(run.wait_for_output("Enter the name of the excitation file."));
        change.change(fixture.dir.path);
        run.type("e.txt\n");
        const RunResult result = run.finish();
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, change.expected_error);
        EXPECT_EQ(result.out, OPENING + EXCITATION_PROMPT + PRESS_ANY_KEY);
        EXPECT_EQ(read_file(fixture.dir / change.response_now), RESPONSE);
    }
}

TEST(Run, ResultFilesThatAreOneFileAreRefused)
{
    const struct {
        const char* title;
        void (*link)(const fs::path& dir);
    } links[] = {
        {"symbolic link",
         [](const fs::path& dir) {
             fs::create_symlink("complex.out", dir / "magnitude_phase.out");
         }},
        {"hard link",
         [](const fs::path& dir) {
             fs::create_hard_link(dir / "complex.out", dir / "magnitude_phase.out");
         }},
    };
    for (const auto& link : links) {
        SCOPED_TRACE(link.title);
        Fixture fixture(RESPONSE, EXCITATION);
        write_file(fixture.dir / "complex.out", "precious\n");
        link.link(fixture.dir.path);
        const RunResult run = fixture.run("r.txt e.txt\n");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err,
                  "fravlin: magnitude_phase.out: is the same file as complex.out, so the "
                  "two results would mix; remove the link first\n");
        EXPECT_EQ(run.out, OPENING + EXCITATION_PROMPT + PRESS_ANY_KEY);
        EXPECT_EQ(read_file(fixture.dir / "complex.out"), "precious\n");
    }
}

// The first run reads its response from a FIFO, so it holds its result
// files, emptied, until the test has written the records.
TEST(Run, SecondRunAtOnceInTheSameFolderIsRefusedAndTheFirstCompletes)
{
    Fixture fixture(RESPONSE, EXCITATION);
    write_file(fixture.dir / "complex.out", "left by an earlier run\n");
    ASSERT_EQ(mkfifo((fixture.dir / "r.fifo").c_str(), 0600), 0);
    const int fifo = open((fixture.dir / "r.fifo").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fifo, 0);
    HeldRun first(fixture.dir.path);
    first.type("r.fifo e.txt\n");
    for (int waited = 0; fs::file_size(fixture.dir / "complex.out") != 0 && waited < 20000;
         waited += 10)
        usleep(10000);
    ASSERT_EQ(fs::file_size(fixture.dir / "complex.out"), 0u) << "the first run did not start";

    const RunResult second = fixture.run("e.txt r.txt\n");
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.err,
              "fravlin: complex.out: another fravlin run is writing the results in this folder\n");
    EXPECT_EQ(second.out, OPENING + EXCITATION_PROMPT + PRESS_ANY_KEY);

    ASSERT_EQ(write(fifo, RESPONSE.data(), RESPONSE.size()), ssize_t(RESPONSE.size()));
    close(fifo);
    const RunResult completed = first.finish();
    EXPECT_EQ(completed.status, 0);
    EXPECT_EQ(completed.err, "");
    EXPECT_EQ(fixture.result("complex.out"), COMPLEX_LINES);
    EXPECT_EQ(fixture.result("magnitude_phase.out"), MAGNITUDE_PHASE_LINES);

    // The lock went with the first run.
    EXPECT_EQ(fixture.run("r.txt e.txt\n").status, 0);
}

std::string many_records(int count)
{
    std::string records;
    for (int i = 0; i < count; ++i)
        records += std::to_string(i) + " 1 0\n";
    return records;
}

// Results of about 900 KB in each file, over several blocks of lines:
// every file that could not be written completely is named with the
// reason of its first failed write.
TEST(Run, ResultFilesNotWrittenCompletelyAreNamedWithTheirReason)
{
    if (WINDOWS_PROGRAM)
        GTEST_SKIP() << "Wine turns the reasons of these failed writes into others";
    const std::string records = many_records(20000);
    const struct {
        const char* title;
        RunOptions options;
        void (*prepare)(const fs::path& dir);
        const char* expected_error;
    } cases[] = {
        {"a full file system", RunOptions{.small_disk = 200 * 1024}, nothing,
         "fravlin: complex.out: No space left on device\n"
         "fravlin: magnitude_phase.out: No space left on device\n"},
        {"a file-size limit", RunOptions{.limits = {{RLIMIT_FSIZE, 16 * 1024}}}, nothing,
         "fravlin: complex.out: File too large\nfravlin: magnitude_phase.out: File too large\n"},
        {"a full device", RunOptions{},
         [](const fs::path& dir) { fs::create_symlink("/dev/full", dir / "complex.out"); },
         "fravlin: complex.out: No space left on device\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        Fixture fixture(records, records);
        fs::create_directory(fixture.dir / "disk");
        c.prepare(fixture.dir.path);
        const bool on_disk = c.options.small_disk != 0;
        const RunResult run = run_program(
            fixture.dir.path, on_disk ? "../r.txt ../e.txt\n" : "r.txt e.txt\n", c.options);
        if (run.status == NO_SMALL_DISK)
            GTEST_SKIP() << "no file system can be mounted here";
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, c.expected_error);
        EXPECT_EQ(run.out.find("The output text files are"), std::string::npos);
        EXPECT_TRUE(run.out.ends_with(PRESS_ANY_KEY));
    }
}

TEST(Run, StandardOutputThatCannotBeWrittenIsNamedWithItsReason)
{
    const struct {
        const char* title;
        RunOptions options;
        const char* expected_error;
    } cases[] = {
        {"on a full device", RunOptions{.output_file = "/dev/full"},
         "fravlin: standard output: No space left on device\n"},
        {"closed", RunOptions{.output_closed = true},
         "fravlin: standard output: Bad file descriptor\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        Fixture fixture(RESPONSE, EXCITATION);
        const RunResult run = run_program(fixture.dir.path, "r.txt e.txt\n", c.options);
        EXPECT_EQ(run.status, 1);
        if (WINDOWS_PROGRAM)
            EXPECT_TRUE(run.err.starts_with("fravlin: standard output: ")) << run.err;
        else
            EXPECT_EQ(run.err, c.expected_error);
        // The results themselves are complete, and no input was written.
        EXPECT_EQ(fixture.result("complex.out"), COMPLEX_LINES);
        EXPECT_EQ(read_file(fixture.dir / "r.txt"), RESPONSE);
    }
}

// Longer than PATH_MAX bytes, and than 32,767 UTF-16 units on Windows.
std::string too_long(const std::string& start)
{
    return start + std::string(WINDOWS_PROGRAM ? 32768 : PATH_MAX + 1, 'n');
}

// The rest of a name too long to open is never read: the run ends there.
TEST(Run, NameTooLongIsRefusedAndShownCut)
{
    const std::string e_acute = "\xc3\xa9";
    std::string accented = "x";
    for (int i = 0; i < 60; ++i)
        accented += e_acute;
    const struct {
        const char* title;
        std::string input;
        std::string shown;
    } cases[] = {
        {"plain", too_long("") + "\ne.txt\n", std::string(100, 'n') + "..."},
        // Byte 100 continues a character: the name is cut before it.
        {"cut at a character", too_long(accented) + "\n", accented.substr(0, 99) + "..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        Fixture fixture(RESPONSE, EXCITATION);
        const RunResult run = fixture.run(c.input);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "fravlin: " + c.shown + ": File name too long\n");
        EXPECT_EQ(run.out, OPENING + PRESS_ANY_KEY);
    }
}

TEST(Run, EndlessNameUnderAMemoryLimitIsRefused)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any limit";
#endif
    if (WINDOWS_PROGRAM)
        GTEST_SKIP() << "Wine needs more address space than the limit";
    Fixture fixture(RESPONSE, EXCITATION);
    const RunOptions options{.input_file = "/dev/zero", .limits = {{RLIMIT_AS, 256 << 20}}};
    const RunResult run = run_program(fixture.dir.path, "", options);
    EXPECT_EQ(run.status, 1);
    // 25 NUL bytes, escaped, fill the 100 bytes shown of the name.
    std::string shown;
    for (int i = 0; i < 25; ++i)
        shown += "\\x00";
    EXPECT_EQ(run.err, "fravlin: " + shown + "...: File name too long\n");
    EXPECT_EQ(run.out, OPENING + PRESS_ANY_KEY);
}

TEST(Run, ReadErrorOnAnInputIsReported)
{
    // Reading a process's own memory from offset 0 fails with EIO.
    if (WINDOWS_PROGRAM)
        GTEST_SKIP() << "no /proc on Windows; under Wine the error depends on the size of the read";
    Fixture fixture(RESPONSE, EXCITATION);
    const RunResult run = fixture.run("/proc/self/mem e.txt\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "fravlin: /proc/self/mem: Input/output error\n");
    EXPECT_EQ(run.out, OPENING + EXCITATION_PROMPT + PRESS_ANY_KEY);
}

}  // namespace

namespace {

// The example spectra are the response of a known oscillator to a broadband
// force; their quotient must be that oscillator's frequency response.
TEST(Run, ExampleSpectraRecoverTheOscillator)
{
    ScratchDir dir;
    const std::string examples = FRAVLIN_EXAMPLES;
    const RunResult run =
        run_program(dir.path, examples + "/response.txt " + examples + "/excitation.txt\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");

    std::istringstream lines(read_file(dir / "magnitude_phase.out"));
    int points = 0;
    double peak_frequency = 0;
    double peak_magnitude = 0;
    double frequency, magnitude, phase;
    while (lines >> frequency >> magnitude >> phase) {
        const std::complex<double> expected = example_frf(frequency);
        EXPECT_NEAR(magnitude, std::abs(expected), 1e-4 * std::abs(expected)) << frequency;
        EXPECT_NEAR(phase, std::arg(expected) * 180 / M_PI, 1e-2) << frequency;
        if (magnitude > peak_magnitude) {
            peak_magnitude = magnitude;
            peak_frequency = frequency;
        }
        if (frequency == NATURAL_FREQUENCY) {
            EXPECT_NEAR(phase, -90.0, 1e-3);
        }
        ++points;
    }
    EXPECT_EQ(points, EXAMPLE_POINTS);
    EXPECT_NEAR(peak_frequency, NATURAL_FREQUENCY, FREQUENCY_STEP);
    EXPECT_NEAR(peak_magnitude, 1 / (2 * DAMPING_RATIO * STIFFNESS), 0.05);
}

}  // namespace
