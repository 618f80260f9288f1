#include "dialogue.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "console.h"
#include "input_report.h"
#include "name_input.h"
#include "division/division.h"
#include "division/number_text.h"

namespace {

// Standard output is flushed first so that the console shows the two
// streams in the order they were written.
void report(const char* name, const char* reason)
{
    std::fflush(stdout);
    std::fprintf(stderr, "fravlin: %s: %s\n", name, reason);
}

void report_error(const char* name, int error)
{
    report(name, std::strerror(error));
}

int give_up()
{
    std::fputs("\n Press any key to exit.\n\n", stdout);
    std::fflush(stdout);
    wait_for_key();
    return EXIT_FAILED;
}

// Asks for one input file and opens it. A result file given as an input
// would be emptied before it is read, so it is refused.
std::FILE* ask_for_input(const char* prompt, std::string& name)
{
    std::fputs(prompt, stdout);
    std::fflush(stdout);
    if (!read_name(name)) {
        if (std::ferror(stdin))
            report_error("standard input", errno != 0 ? errno : EIO);
        else
            report("standard input", "no file name given");
        return nullptr;
    }
    int error = 0;
    std::FILE* file = open_input_file(name.c_str(), error);
    if (file == nullptr) {
        report_error(name.c_str(), error);
        return nullptr;
    }
    for (const char* result_name : {COMPLEX_FILE_NAME, MAGNITUDE_PHASE_FILE_NAME}) {
        if (same_file(file, result_name)) {
            std::fflush(stdout);
            std::fprintf(stderr,
                         "fravlin: %s: is the result file %s, which this run would empty; "
                         "copy it under another name first\n",
                         name.c_str(), result_name);
            std::fclose(file);
            return nullptr;
        }
    }
    return file;
}

bool read_input(std::FILE* file, const std::string& name, Spectrum& spectrum, ReadOutcome& outcome)
{
    outcome = read_spectrum(file, spectrum);
    if (outcome.error != 0) {
        report_error(name.c_str(), outcome.error);
        return false;
    }
    if (outcome.records_ignored)
        report(name.c_str(), "warning: the records after the first 1000000 were ignored");
    return true;
}

}  // namespace

bool read_name(std::string& name)
{
    if (use_line_editor())
        return read_edited_name(name);
    int c;
    do
        c = std::getchar();
    while (c != EOF && std::isspace(c));
    if (c == EOF)
        return false;
    name.clear();
    do {
        name.push_back(static_cast<char>(c));
        c = std::getchar();
    } while (c != EOF && !std::isspace(c));
    if (c != EOF)
        std::ungetc(c, stdin);
    return true;
}

void print_spectrum_summary(const char* title, const Spectrum& spectrum, const char* last_line)
{
    std::fputs(title, stdout);
    std::printf("\n number of points   = %ld ", spectrum.count);
    print_number("\n starting frequency = %12.5g", spectrum.frequency[0]);
    // An empty spectrum shows the zero-filled first slot as its end too.
    const long last = spectrum.count > 0 ? spectrum.count - 1 : 0;
    print_number(last_line, spectrum.frequency[last]);
}

int run_dialogue()
{
    Spectrum response = make_spectrum();
    Spectrum excitation = make_spectrum();
    if (!response.storage || !excitation.storage) {
        report_error("fravlin", ENOMEM);
        return EXIT_FAILED;
    }

    std::fputs("\n\n fravlin  ver 1.0 \n September 8, 2003\n", stdout);
    std::fputs("\n  This program divides a response function by an excitation function. ", stdout);
    std::fputs("\n  Each function must be in complex format.  The functions may be ", stdout);
    std::fputs("\n  Fourier transforms. \n", stdout);
    std::fputs("\n  Each file must have three columns:  frequency   real   imaginary \n", stdout);

    std::string response_name;
    std::FILE* response_file =
        ask_for_input("\n\n Enter the name of the response file. \n", response_name);
    if (response_file == nullptr)
        return give_up();
    std::string excitation_name;
    std::FILE* excitation_file =
        ask_for_input("\n Enter the name of the excitation file. \n", excitation_name);
    if (excitation_file == nullptr)
        return give_up();

    ResultFiles results;
    if (const FileError error = open_result_files(results); error.name != nullptr) {
        report_error(error.name, open_error(error.name, error.error));
        return give_up();
    }

    ReadOutcome response_outcome, excitation_outcome;
    if (!read_input(response_file, response_name, response, response_outcome)
        || !read_input(excitation_file, excitation_name, excitation, excitation_outcome)) {
        close_result_files(results);
        return give_up();
    }
    const long common_count = response.count < excitation.count ? response.count : excitation.count;

    print_spectrum_summary("\n\n Response Function Statistics \n", response,
                           "\n ending frequency   = %12.5g \n");
    print_spectrum_summary("\n\n Excitation Function Statistics \n", excitation,
                           "\n ending frequency   = %12.5g \n\n");

    const bool complete = divide_spectra(response, excitation, common_count, results);

    // The files are complete on disk before they are announced.
    if (const FileError error = close_result_files(results); error.name != nullptr) {
        report_error(error.name, error.error);
        return give_up();
    }
    const bool suspect =
        report_inputs({response_name.c_str(), response_file, &response, response_outcome},
                      {excitation_name.c_str(), excitation_file, &excitation, excitation_outcome},
                      common_count);
    std::fclose(response_file);
    std::fclose(excitation_file);

    std::fputs("\n\n The output text files are: \n\n   complex.out  \n   magnitude_phase.out\n",
               stdout);
    std::fputs("\n Press any key to exit.\n\n", stdout);
    std::fflush(stdout);
    wait_for_key();
    if (!complete)
        return EXIT_SYNC_ERROR;
    return suspect ? EXIT_SUSPECT_INPUT : EXIT_COMPLETE;
}
