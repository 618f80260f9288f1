// The plain fscanf reader: the behaviour that read_spectrum reproduces.
#include "read_spectrum_detail.h"

#include <cerrno>

Spectrum make_spectrum()
{
    Spectrum spectrum;
    spectrum.storage.reset(static_cast<double*>(std::calloc(3 * MAX_POINTS, sizeof(double))));
    if (double* block = spectrum.storage.get()) {
        spectrum.frequency = block;
        spectrum.real = block + MAX_POINTS;
        spectrum.imaginary = block + 2 * MAX_POINTS;
    }
    return spectrum;
}

ReadOutcome read_spectrum_stdio_limited(std::FILE* file, Spectrum& spectrum, long max_points)
{
    ReadOutcome outcome;
    spectrum.count = 0;
    if (!spectrum.storage) {
        outcome.error = ENOMEM;
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
        outcome.error = errno != 0 ? errno : EIO;
    return outcome;
}

ReadOutcome read_spectrum_stdio(std::FILE* file, Spectrum& spectrum)
{
    return read_spectrum_stdio_limited(file, spectrum, MAX_POINTS);
}
