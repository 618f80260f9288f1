// Typing the file names at a terminal: the line editor with its keys and
// Tab completion, the word rules on edited lines, and how the editor hands
// the terminal back to the key wait.
#include <gtest/gtest.h>

#include <csignal>

#include "terminal_run.h"

namespace fs = std::filesystem;

namespace {

const char RESPONSE_PROMPT[] = "Enter the name of the response file.";
const char EXCITATION_PROMPT[] = "Enter the name of the excitation file.";
const char KEY_PROMPT[] = "Press any key to exit.";

const char BACKSPACE[] = "\x7f";
const char CTRL_H[] = "\x08";
const char CTRL_A[] = "\x01";
const char CTRL_E[] = "\x05";
const char CTRL_U[] = "\x15";
const char CTRL_D[] = "\x04";
const char CTRL_C[] = "\x03";
const char LEFT[] = "\x1b[D";
const char UP[] = "\x1b[A";
const char HOME[] = "\x1b[H";
const char END[] = "\x1b[F";
const char HOME_KEYPAD[] = "\x1bOH";  // the same keys in application keypad mode
const char END_KEYPAD[] = "\x1bOF";

// "complex.out" for r.txt over e.txt, e.txt over r.txt and r.txt over itself.
const std::string R_OVER_E =
    "   1.00000e+01     1.0000e+00     0.0000e+00 \n"
    "   2.00000e+01     0.0000e+00     1.0000e+00 \n";
const std::string E_OVER_R =
    "   1.00000e+01     1.0000e+00     0.0000e+00 \n"
    "   2.00000e+01     0.0000e+00    -1.0000e+00 \n";
const std::string R_OVER_R =
    "   1.00000e+01     1.0000e+00     0.0000e+00 \n"
    "   2.00000e+01     1.0000e+00     0.0000e+00 \n";

// Names for completion: each of the prefixes typed below matches one entry
// of the folder, and none of them is r.txt or e.txt.
TerminalSetup at_terminal()
{
    TerminalSetup setup;
    setup.names = std::nullopt;
    setup.files = {{"response-spectrum.txt", RESPONSE_RECORDS},
                   {"excitation-spectrum.txt", EXCITATION_RECORDS},
                   {"data/response.txt", RESPONSE_RECORDS},
                   {"data/a(1)=b&c;d.txt", EXCITATION_RECORDS},
                   {"réponse.txt", RESPONSE_RECORDS}};
    setup.locale = "C.UTF-8";
    return setup;
}

std::string keys(const char* first)
{
    return first;
}

// Waits for the prompt and for the editor to take the terminal, then types.
::testing::AssertionResult answer(TerminalRun& run, const char* prompt, const std::string& typed)
{
    if (!run.wait_for_output(prompt))
        return ::testing::AssertionFailure() << "no prompt \"" << prompt << "\" in:\n"
                                             << run.screen;
    if (!run.wait_for_key_mode())
        return ::testing::AssertionFailure() << "the editor did not take the terminal";
    run.type(typed);
    return ::testing::AssertionSuccess();
}

// What is typed at the response prompt and, when the first line did not
// answer both, at the excitation prompt; each once the editor has the
// terminal.
struct Typing {
    std::string at_response_prompt;
    std::optional<std::string> at_excitation_prompt;
};

void type_names(TerminalRun& run, const Typing& typing)
{
    ASSERT_TRUE(answer(run, RESPONSE_PROMPT, typing.at_response_prompt));
    if (typing.at_excitation_prompt) {
        ASSERT_TRUE(answer(run, EXCITATION_PROMPT, *typing.at_excitation_prompt));
    }
}

struct TypedNames {
    const char* title;
    Typing typing;
    const std::string& complex_out;
};

const TypedNames TYPED_NAMES[] = {
    {"one name a line", {"r.txt\n", "e.txt\n"}, R_OVER_E},
    {"both names on one line", {"r.txt e.txt\n", std::nullopt}, R_OVER_E},
    {"second name first on the line", {"e.txt r.txt\n", std::nullopt}, E_OVER_R},
    // A Tab is a key for completion here, so only blanks separate the words.
    {"empty lines and blanks around the names", {"\n \n  r.txt  \n", "\n  e.txt \n"}, R_OVER_E},
    {"Backspace and Ctrl-H",
     {keys("x") + BACKSPACE + "r.txt\n", keys("e.txz") + CTRL_H + "t\n"},
     R_OVER_E},
    {"Ctrl-U drops the line typed so far",
     {keys("e.txt") + CTRL_U + "r.txt\n", "e.txt\n"},
     R_OVER_E},
    {"cursor left, then typing inserts",
     {keys("rtxt") + LEFT + LEFT + LEFT + ".\n", "e.txt\n"},
     R_OVER_E},
    {"Home and End", {keys("txt") + HOME + "r." + END + " e.txt\n", std::nullopt}, R_OVER_E},
    {"Home and End from the keypad",
     {keys("txt") + HOME_KEYPAD + "r." + END_KEYPAD + " e.txt\n", std::nullopt},
     R_OVER_E},
    {"Ctrl-A and Ctrl-E",
     {keys("txt") + CTRL_A + "r." + CTRL_E + " e.txt\n", std::nullopt},
     R_OVER_E},
    {"Up recalls the first name", {"r.txt\n", keys(UP) + "\n"}, R_OVER_R},
    {"Tab completes file names", {"resp\t\n", "exc\t\n"}, R_OVER_E},
    {"two completed names on one line", {"resp\texc\t\n", std::nullopt}, R_OVER_E},
    {"Tab completes a folder, then a file in it", {"da\tre\t\n", "e.txt\n"}, R_OVER_E},
    {"completion keeps characters a shell would quote", {"r.txt\n", "data/a\t\n"}, R_OVER_E},
    {"a name outside ASCII typed and completed", {"ré\t\n", "e.txt\n"}, R_OVER_E},
};

void check_typed_names(const TypedNames& names)
{
    TerminalRun run(at_terminal());
    type_names(run, names.typing);
    ASSERT_TRUE(run.wait_for_output(KEY_PROMPT)) << run.screen;
    // Had the editor been asked for a line that the first line had already
    // answered, it would take this key and the run would not end.
    run.type("q");
    EXPECT_EQ(run.finish(), 0) << run.screen;
    EXPECT_EQ(read_file(run.dir / "complex.out"), names.complex_out);
    EXPECT_EQ(run.unread_input(), 0);
    run.expect_settings_restored();
}

TEST(NameEditing, EditedLinesGiveTheNamesAsTyped)
{
    for (const TypedNames& names : TYPED_NAMES) {
        SCOPED_TRACE(names.title);
        check_typed_names(names);
    }
}

// The same run with the names piped in gives the transcript: at a terminal
// only the typed lines may come in between, and standard output sent to a
// file must get nothing of the editor's.
TEST(NameEditing, TranscriptIsTheOneOfAPipedRun)
{
    ScratchDir piped_dir;
    write_file(piped_dir / "r.txt", RESPONSE_RECORDS);
    write_file(piped_dir / "e.txt", EXCITATION_RECORDS);
    const std::string transcript = run_program(piped_dir.path, "r.txt\ne.txt\n").out;
    const std::string excitation_prompt = "\n Enter the name of the excitation file. \n";
    const std::size_t split = transcript.find(excitation_prompt);
    ASSERT_NE(split, std::string::npos);

    for (bool output_to_file : {false, true}) {
        SCOPED_TRACE(output_to_file ? "output to a file" : "output to the terminal");
        TerminalSetup setup = at_terminal();
        setup.output_to_file = output_to_file;
        if (output_to_file)
            setup.typed_ahead = "r.txt\ne.txt\nq";
        TerminalRun run(setup);
        if (output_to_file) {
            ASSERT_EQ(run.finish(), 0);
            EXPECT_EQ(read_file(run.dir / "stdout"), transcript);
            continue;
        }
        ASSERT_TRUE(answer(run, RESPONSE_PROMPT, "r.txt\n"));
        ASSERT_TRUE(answer(run, EXCITATION_PROMPT, "e.txt\n"));
        ASSERT_TRUE(run.wait_for_output(KEY_PROMPT));
        run.type("q");
        ASSERT_EQ(run.finish(), 0);
        std::string screen;
        for (std::size_t i = 0; i < run.screen.size(); ++i)
            if (!(run.screen[i] == '\r' && i + 1 < run.screen.size() && run.screen[i + 1] == '\n'))
                screen += run.screen[i];
        EXPECT_EQ(screen, transcript.substr(0, split) + "r.txt\n" + excitation_prompt + "e.txt\n"
                              + transcript.substr(split + excitation_prompt.size()));
    }
}

// The editor must hand the terminal back without flushing its input queue:
// a key typed ahead ends the key wait at once.
void check_key_typed_ahead(const std::string& before_start, const std::optional<Typing>& typing)
{
    TerminalSetup setup = at_terminal();
    setup.typed_ahead = before_start;
    TerminalRun run(setup);
    if (typing)
        type_names(run, *typing);
    EXPECT_EQ(run.finish(), 0) << run.screen;
    EXPECT_TRUE(run.wait_for_output(KEY_PROMPT));
    EXPECT_EQ(read_file(run.dir / "complex.out"), R_OVER_E);
    EXPECT_EQ(run.unread_input(), 0);
    run.expect_settings_restored();
}

TEST(NameEditing, KeyTypedAheadStillEndsTheKeyWait)
{
    {
        SCOPED_TRACE("key typed right after the second name");
        check_key_typed_ahead("", Typing{"r.txt\n", "e.txt\nk"});
    }
    {
        SCOPED_TRACE("names and key typed before the program started");
        check_key_typed_ahead("r.txt\ne.txt\nk", std::nullopt);
    }
}

void check_end_of_input(const Typing& typing)
{
    TerminalRun run(at_terminal());
    type_names(run, typing);
    ASSERT_TRUE(run.wait_for_output(KEY_PROMPT)) << run.screen;
    EXPECT_NE(run.screen.find("\r\nfravlin: standard input: no file name given\r\n"),
              std::string::npos)
        << run.screen;
    run.type("q");
    EXPECT_EQ(run.finish(), 1);
    EXPECT_FALSE(fs::exists(run.dir / "complex.out"));
    run.expect_settings_restored();
}

TEST(NameEditing, CtrlDBeforeANameEndsTheInput)
{
    const struct {
        const char* title;
        Typing typing;
    } cases[] = {
        {"at the first prompt", {CTRL_D, std::nullopt}},
        {"at the second prompt", {"r.txt\n", CTRL_D}},
        {"after an empty line", {keys("  \n") + CTRL_D, std::nullopt}},
    };
    for (const auto& end : cases) {
        SCOPED_TRACE(end.title);
        check_end_of_input(end.typing);
    }
}

// The editor gives the terminal back before a signal ends the run.
void check_signal_while_editing(int signal_number, bool typed)
{
    TerminalRun run(at_terminal());
    ASSERT_TRUE(answer(run, RESPONSE_PROMPT, "r.t"));
    if (typed)
        run.type(CTRL_C);
    else
        kill(run.pid, signal_number);
    EXPECT_EQ(run.finish(), 128 + signal_number);
    EXPECT_FALSE(fs::exists(run.dir / "complex.out"));
    run.expect_settings_restored();
}

TEST(NameEditing, SignalsWhileEditingRestoreTheTerminal)
{
    {
        SCOPED_TRACE("Ctrl-C typed");
        check_signal_while_editing(SIGINT, true);
    }
    for (int signal_number : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal_number);
        check_signal_while_editing(signal_number, false);
    }
}

}  // namespace
