// Reader of the data file's clause syntax.
#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "data/clause.h"

// Parses a whole text: commands `word.`, `word(arguments).` or `[arguments].`, with blanks,
// tabs, line ends (LF or CR LF) and /* comments */ between tokens. Every `word` and
// `word(...)` command becomes a clause, in text order; a list command is checked and dropped, and
// so are arguments without a name. Nothing on any syntax error.
std::optional<std::vector<Clause>> readClauses(std::string_view text);

// The same, handing each clause over as soon as it is complete, so that a large file need not be
// held twice; false on a syntax error, after the clauses before it were handed over.
using ClauseSink = std::function<void(Clause&&)>;
bool readClauses(std::string_view text, const ClauseSink& take);
