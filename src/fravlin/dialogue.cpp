#include "fravlin/dialogue.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "division/division.h"
#include "division/number_text.h"
#include "fravlin/input_report.h"
#include "fravlin/name_input.h"
#include "fravlin/platform.h"
#include "fravlin/report.h"

namespace {

void report_error(const char* name, int code)
{
    report(FileError{name, code});
}

// A result file given as an input would be emptied before it is read.
void refuse_result_file(const char* name, const char* result_name)
{
    char reason[160];
    std::snprintf(reason, sizeof reason,
                  "is the result file %s, which this run would empty; copy it under another name "
                  "first",
                  result_name);
    report(name, reason);
}

// Every run ends here: the key prompt, then the wait. Standard output that
// could not be written fails the run, with its reason.
int end_run(int status)
{
    std::fputs("\n Press any key to exit.\n\n", stdout);
    flush_output();
    if (const int code = output_error(); code != 0) {
        report_error("standard output", code);
        status = EXIT_FAILED;
    }
    wait_for_key();
    return status;
}

int give_up()
{
    return end_run(EXIT_FAILED);
}

// Asks for one input file and opens it. A result file given as an input is
// refused now, before the next prompt; open_results checks again.
std::FILE* ask_for_input(const char* prompt, std::string& name)
{
    std::fputs(prompt, stdout);
    flush_output();
    NameRead outcome;
    try {
        outcome = read_name(name);
    } catch (const std::bad_alloc&) {
        report_error("standard input", ENOMEM);
        return nullptr;
    }
    if (outcome == NameRead::TOO_LONG) {
        // The rest of it stays unread: it may have no end.
        report(name, std::strerror(ENAMETOOLONG));
        return nullptr;
    }
    if (outcome == NameRead::NONE) {
        if (std::ferror(stdin))
            report_error("standard input", errno_or(EIO));
        else
            report("standard input", "no file name given");
        return nullptr;
    }
    FileError error;
    std::FILE* file = open_input_file(name.c_str(), error);
    if (file == nullptr) {
        report(error);
        return nullptr;
    }
    for (const char* result_name : {COMPLEX_FILE_NAME, MAGNITUDE_PHASE_FILE_NAME}) {
        if (same_file(file, result_name)) {
            refuse_result_file(name.c_str(), result_name);
            std::fclose(file);
            return nullptr;
        }
    }
    return file;
}

struct Input {
    std::FILE* file;
    const std::string& name;
};

// Tells why a result file cannot be taken, when it is an input or the
// other result file; false when it is neither. By name for a file that
// could not be opened, by the open files otherwise.
bool refuse_as_input(const Input (&inputs)[2], std::FILE* first_result, const char* name,
                     std::FILE* stream)
{
    for (const Input& input : inputs) {
        if (stream != nullptr ? same_open_file(input.file, stream) : same_file(input.file, name)) {
            refuse_result_file(input.name.c_str(), name);
            return true;
        }
    }
    if (first_result != nullptr
        && (stream != nullptr ? same_open_file(first_result, stream)
                              : same_file(first_result, name))) {
        report(name,
               "is the same file as complex.out, so the two results would mix; remove the link "
               "first");
        return true;
    }
    return false;
}

void report_result_error(const FileError& error)
{
    if (error.code == RESULT_FILE_LOCKED)
        report(error.name, "another fravlin run is writing the results in this folder");
    else
        report(error);
}

void close_streams(std::FILE* const (&streams)[2])
{
    for (std::FILE* stream : streams)
        if (stream != nullptr)
            std::fclose(stream);
}

// Opens the result files without emptying them, checks them, takes them
// from other runs and only then empties them: the identity compared is
// that of the files opened, so a rename or a link made while the names
// were typed cannot make the run empty an input. Nothing is emptied unless
// both files pass.
bool open_results(ResultFiles& results, const Input (&inputs)[2])
{
    const char* const names[2] = {COMPLEX_FILE_NAME, MAGNITUDE_PHASE_FILE_NAME};
    std::FILE* streams[2] = {};
    for (int i = 0; i < 2; ++i) {
        FileError error;
        streams[i] = open_result_stream(names[i], error);
        if (refuse_as_input(inputs, i == 1 ? streams[0] : nullptr, names[i], streams[i])) {
            close_streams(streams);
            return false;
        }
        if (streams[i] == nullptr) {
            report_result_error(error);
            close_streams(streams);
            return false;
        }
    }
    // Locked only once known to be two files (two locks of one file in one
    // process would refuse each other), and both locked before either is
    // emptied.
    for (FileError (*step)(std::FILE*, const char*) : {lock_result_stream, empty_result_stream}) {
        for (int i = 0; i < 2; ++i) {
            if (const FileError error = step(streams[i], names[i]); error.code != 0) {
                report_result_error(error);
                close_streams(streams);
                return false;
            }
        }
    }
    if (const FileError error = open_result_files(results, streams[0], streams[1]);
        error.code != 0) {
        report(error);
        return false;
    }
    return true;
}

bool read_input(std::FILE* file, const std::string& name, Spectrum& spectrum, ReadOutcome& outcome)
{
    outcome = read_spectrum(file, spectrum);
    if (outcome.error.code != 0) {
        report_error(name.c_str(), outcome.error.code);
        return false;
    }
    if (outcome.records_ignored)
        report(name.c_str(), "warning: the records after the first 1000000 were ignored");
    return true;
}

}  // namespace

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
    const Input inputs[2] = {{response_file, response_name}, {excitation_file, excitation_name}};
    if (!open_results(results, inputs))
        return give_up();

    ReadOutcome response_outcome, excitation_outcome;
    if (!read_input(response_file, response_name, response, response_outcome)
        || !read_input(excitation_file, excitation_name, excitation, excitation_outcome)) {
        results.state.reset();  // nothing was written to them
        return give_up();
    }
    const long common_count = response.count < excitation.count ? response.count : excitation.count;

    print_spectrum_summary("\n\n Response Function Statistics \n", response,
                           "\n ending frequency   = %12.5g \n");
    print_spectrum_summary("\n\n Excitation Function Statistics \n", excitation,
                           "\n ending frequency   = %12.5g \n\n");

    const long divided = divide_spectra(response, excitation, common_count, results);

    // The files are complete on disk before they are announced; each one
    // that is not is named with its reason.
    FileError failures[2];
    if (!close_result_files(results, failures)) {
        for (const FileError& failure : failures)
            if (failure.code != 0)
                report(failure);
        return give_up();
    }
    const bool suspect =
        report_inputs({response_name.c_str(), response_file, &response, response_outcome},
                      {excitation_name.c_str(), excitation_file, &excitation, excitation_outcome},
                      common_count, divided);
    std::fclose(response_file);
    std::fclose(excitation_file);

    std::fputs("\n\n The output text files are: \n\n   complex.out  \n   magnitude_phase.out\n",
               stdout);
    if (divided < common_count)
        return end_run(EXIT_SYNC_ERROR);
    return end_run(suspect ? EXIT_SUSPECT_INPUT : EXIT_COMPLETE);
}
