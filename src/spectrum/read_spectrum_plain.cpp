// The plain build reads with fscanf itself.
#include "spectrum.h"

ReadOutcome read_spectrum(std::FILE* file, Spectrum& spectrum)
{
    return read_spectrum_stdio(file, spectrum);
}
