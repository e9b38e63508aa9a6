// Reader of the data file's clause syntax.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "data/clause.h"

// Parses a whole text: commands `word.`, `word(arguments).` or `[arguments].`, with blanks,
// tabs, line ends (LF or CR LF) and /* comments */ between tokens. Every `word` and
// `word(...)` command becomes a clause, in text order; a list command is checked and dropped, and
// so are arguments without a name. Nothing on any syntax error.
std::optional<std::vector<Clause>> readClauses(std::string_view text);
