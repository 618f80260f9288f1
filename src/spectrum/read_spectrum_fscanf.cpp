// The fscanf reader: the reference whose behaviour read_spectrum reproduces,
// and the reader of the plain build.
#include "spectrum/read_spectrum_detail.h"

#include <cerrno>

ReadOutcome read_spectrum_fscanf_limited(std::FILE* file, Spectrum& spectrum, long max_points)
{
    ReadOutcome outcome;
    spectrum.count = 0;
    if (!spectrum.storage) {
        outcome.error.code = ENOMEM;
        return outcome;
    }
    long i = 0;
    while (i < max_points) {
        int n = std::fscanf(file, "%lf %lf %lf", &spectrum.frequency[i], &spectrum.real[i],
                            &spectrum.imaginary[i]);
        if (n == EOF || n == 0) {
            outcome.stopped_at_text = n == 0;
            break;
        }
        outcome.last_record_fields = n;
        ++i;  // a read of one or two fields is a record too
    }
    spectrum.count = i;
    if (i == max_points) {
        double f = 0.0, re = 0.0, im = 0.0;
        outcome.records_ignored = std::fscanf(file, "%lf %lf %lf", &f, &re, &im) >= 1;
    }
    if (std::ferror(file))
        outcome.error.code = errno_or(EIO);
    return outcome;
}

ReadOutcome read_spectrum_fscanf(std::FILE* file, Spectrum& spectrum)
{
    return read_spectrum_fscanf_limited(file, spectrum, MAX_POINTS);
}
