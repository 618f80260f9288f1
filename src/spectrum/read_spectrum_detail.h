// The readers with their limits as parameters, so that tests and the fuzz
// target can reach the record limit and the chunk boundaries with small
// inputs. read_spectrum and read_spectrum_fscanf call these with MAX_POINTS
// and the default chunk size, locate_positions with the default chunk size.
#pragma once

#include "spectrum/input_positions.h"
#include "spectrum/spectrum.h"

#include <cstddef>

inline constexpr std::size_t DEFAULT_CHUNK_SIZE = std::size_t{1} << 16;

// max_points must not exceed MAX_POINTS (the room in a Spectrum);
// chunk_size is the number of bytes asked of fread at a time (at least 1).
ReadOutcome read_spectrum_limited(std::FILE* file, Spectrum& spectrum, long max_points,
                                  std::size_t chunk_size);

// The same reading done with fscanf itself: the reference that the fast
// reader is held against.
ReadOutcome read_spectrum_fscanf(std::FILE* file, Spectrum& spectrum);
ReadOutcome read_spectrum_fscanf_limited(std::FILE* file, Spectrum& spectrum, long max_points);

InputPositions locate_positions_limited(std::FILE* file, const PositionQuery& query,
                                        std::size_t chunk_size);
