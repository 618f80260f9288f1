#include "spectrum/spectrum.h"

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
