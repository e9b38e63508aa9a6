// Feeds arbitrary bytes to the data-file reader. Under the sanitizers any crash, leak or
// undefined behaviour is a finding; so is a file that the writer makes from what was read and
// that then does not read back.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "data/aList.h"
#include "data/dataFile.h"

namespace {

void ignoreReport(const char*, ...) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    aList cranes;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (readDataText(text, cranes, ignoreReport) != DataFileResult::ok)
        return 0;
    aList again;
    if (readDataText(dataFileText(cranes), again, ignoreReport) != DataFileResult::ok ||
        again.count() != cranes.count())
        std::abort();
    return 0;
}
