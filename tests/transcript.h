// The fixed console text of a run, byte for byte.
#pragma once

#include <string>

inline const std::string OPENING =
    "\n\n fravlin  ver 1.0 \n September 8, 2003\n"
    "\n  This program divides a response function by an excitation function. "
    "\n  Each function must be in complex format.  The functions may be "
    "\n  Fourier transforms. \n"
    "\n  Each file must have three columns:  frequency   real   imaginary \n"
    "\n\n Enter the name of the response file. \n";
inline const std::string EXCITATION_PROMPT = "\n Enter the name of the excitation file. \n";
inline const std::string CLOSING =
    "\n\n The output text files are: \n\n   complex.out  \n   magnitude_phase.out\n"
    "\n Press any key to exit.\n\n";
inline const std::string PRESS_ANY_KEY = "\n Press any key to exit.\n\n";
