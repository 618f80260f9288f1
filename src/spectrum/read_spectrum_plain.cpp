// The plain build reads with fscanf itself.
#include "spectrum/read_spectrum_detail.h"

ReadOutcome read_spectrum(std::FILE* file, Spectrum& spectrum)
{
    return read_spectrum_fscanf(file, spectrum);
}
