// Number texts of the drawings and the protocol. The fractional formats always write a '.',
// whatever LC_NUMERIC says (a Russian locale would otherwise print commas).
#pragma once

#include <string>

#include "link/report.h"

// printf into a string; for the integer and text conversions, which no locale changes.
std::string printfText(const char* format, ...) BRENNIX_PRINTF_TYPE;

// "%.<decimals>f"
std::string fixedText(double value, int decimals);

// "%g": six significant digits, exponent form where printf would choose it.
std::string generalText(double value);
