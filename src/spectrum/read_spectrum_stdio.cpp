#include "spectrum.h"

#include <cerrno>

Spectrum make_spectrum()
{
    Spectrum spectrum;
    // calloc hands out zeroed pages lazily, unlike a vector that writes them.
    spectrum.storage.reset(static_cast<double*>(std::calloc(3 * MAX_POINTS, sizeof(double))));
    if (spectrum.storage) {
        spectrum.frequency = spectrum.storage.get();
        spectrum.real = spectrum.frequency + MAX_POINTS;
        spectrum.imaginary = spectrum.real + MAX_POINTS;
    }
    return spectrum;
}

ReadOutcome read_spectrum_stdio(std::FILE* file, Spectrum& spectrum)
{
    ReadOutcome outcome;
    errno = 0;
    long i = 0;
    while (i < MAX_POINTS) {
        int fields = std::fscanf(file, "%lf %lf %lf", &spectrum.frequency[i], &spectrum.real[i],
                                 &spectrum.imaginary[i]);
        if (fields == EOF || fields == 0)
            break;
        ++i;
    }
    spectrum.count = i;
    if (i == MAX_POINTS) {
        double scratch[3];
        int fields = std::fscanf(file, "%lf %lf %lf", &scratch[0], &scratch[1], &scratch[2]);
        outcome.records_ignored = fields != EOF && fields > 0;
    }
    if (std::ferror(file))
        outcome.error = errno != 0 ? errno : EIO;
    return outcome;
}
