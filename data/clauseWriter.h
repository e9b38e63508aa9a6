// Writer of the data file's clause syntax, in the layout the program has always written:
//
//     functor(type = "RAM",
//       'Ncycles' = 2).
//
// followed by an empty line; line ends are LF.
#pragma once

#include <string>

#include "data/clause.h"

void appendClause(std::string& out, const Clause& clause);
