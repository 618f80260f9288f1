// End-to-end runs of the built program: the console transcript byte for
// byte, the result files, and what happens on bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <sstream>
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
        "r.txt e.txt\n",             // both names on one line answer both prompts
        "\n\n   r.txt\n\n\te.txt",   // empty lines skipped, no final line end
        "r.txt\r\ne.txt\r\n",        // a CR is white space like any other
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
    EXPECT_EQ(run.err, "fravlin: big.txt: warning: the records after the first 1000000 were ignored\n");
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
    const char* expected_error;    // standard error, exactly
    bool excitation_prompt_shown;
};

void nothing(const fs::path&) {}
void make_directory(const fs::path& dir) { fs::create_directory(dir / "folder"); }
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
