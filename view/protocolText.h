// The crane's operating-conditions protocol as HTML: passport data, classification, counters and
// the last hour's mechanism activity. Built as UTF-8; the crane texts are converted from
// Windows-1251.
#pragma once

#include <string>

#include "data/devLink.h"

extern const char htmlCharsetMeta[];
extern const char printedByLine[];
extern const char printedByHtml[];

std::string protocolText(const devLink& crane);

// The word after a number of years: "год", "года" or "лет".
const char* yearWord(int years);
