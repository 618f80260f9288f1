// The program reads with the fast reader.
#include "spectrum/read_spectrum_detail.h"

ReadOutcome read_spectrum(std::FILE* file, Spectrum& spectrum)
{
    return read_spectrum_limited(file, spectrum, MAX_POINTS, DEFAULT_CHUNK_SIZE);
}
