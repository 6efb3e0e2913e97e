// The colonies report: every colony owned by one race, and the systems it
// controls, as a text file (CRLF).
#pragma once

#include <string>

namespace orrimar {

// Writes logBase + ".log" for the colonies of `race` in the sector; the old
// log is replaced only when the new one is complete.
void WriteColoniesReport(const std::string& sectorBase, long race, const std::string& logBase);

}  // namespace orrimar
