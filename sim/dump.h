// The dump a simulator writes at exit, so that tests can check what a session wrote.
//
// One item a line, a keyword and blank-separated fields; numbers decimal unless said; bytes
// and addresses in hexadecimal:
//   identifier RP_v0001
//   device recorder|collector
//   slots N
//   clock SECONDS YYYY-MM-DD HH:MM:SS        device clock at exit: the calendar seconds the
//                                            readout decodes from it, then its fields
//   set-clock SECONDS YYYY-MM-DD HH:MM:SS    the same of the last SetClock, or "set-clock none"
//   set-clock-bcd SS MM HH WD DD MO YY       its 7 BCD bytes as received (only after a SetClock)
//   write SLOT ADDR VALUE                    every WriteByte served, in order (ADDR 4 hex digits)
//   memory SLOT ADDR B0 .. B15               each slot's memory, 16 bytes a line
// and, from the program served on the IrDA air, after these:
//   irda-connect ID                          every IrCOMM connection, in order (8 hex digits)
#pragma once

#include <ostream>

#include "sim/device.h"

void writeDump(const simDevice& device, std::ostream& out);
