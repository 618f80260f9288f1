// The oscillator behind the example spectra, shared by their generator and
// the test that checks the program recovers it.
#pragma once

#include <complex>

inline constexpr double NATURAL_FREQUENCY = 50.0;  // Hz
inline constexpr double DAMPING_RATIO = 0.02;
inline constexpr double STIFFNESS = 1.0;  // static compliance 1 / STIFFNESS
inline constexpr int EXAMPLE_POINTS = 801;
inline constexpr double FREQUENCY_STEP = 0.25;  // Hz, from 0 to 200 Hz

inline double example_frequency(int i)
{
    return i * FREQUENCY_STEP;
}

inline std::complex<double> example_frf(double frequency)
{
    const double r = frequency / NATURAL_FREQUENCY;
    return 1.0 / (STIFFNESS * std::complex<double>(1.0 - r * r, 2.0 * DAMPING_RATIO * r));
}
