// One table of all cranes held: their numbers, dates, capacity and counters, and the
// classification of the protocol (Q with Kp, U with N, A, T of each mechanism, resource used).
#pragma once

#include <string>
#include <vector>

#include "data/devLink.h"
#include "export/csvText.h"

std::string summaryCsv(const std::vector<const devLink*>& cranes, csvFormat format);
