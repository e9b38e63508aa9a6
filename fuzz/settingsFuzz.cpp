// The settings block built from arbitrary field texts and values. A block that is built must
// read back, through the readout's decoder, as what was typed: the three numbers cut at 8 bytes,
// the codes, the capacity and the service life exactly; and it carries its CRC. A block that is
// refused has said why.
//
// Input: the texts of registration, serial and inventory number, full and zero code, capacity
// and service life (each a length byte and the bytes), the two dates (4 bytes each) and the
// three selections (a byte each, less one: a list index or a stored number less one).
#include <cstdint>
#include <cstring>
#include <string>

#include "data/cp1251.h"
#include "data/readout.h"
#include "fuzz/fuzzCheck.h"
#include "fuzz/fuzzInput.h"
#include "link/codings.h"
#include "link/commands.h"
#include "link/crc16.h"
#include "setup/settingsBlock.h"
#include "tests/support/reportLog.h"

namespace {

// A number text as the block holds it: the whole text as a number.
unsigned long typed(const std::string& text)
{
    return std::stoul(text);
}

void checkReadBack(const settingsFields& fields, const settingsBlock& block)
{
    uint8_t image[memoryImageSize] = {};
    std::memcpy(image, block.data(), block.size());
    devLink crane;
    decodeMemoryImage(image, crane, true);
    const std::pair<std::string, std::string> texts[] = {
        {fields.regNo, crane.regNo}, {fields.serNo, crane.serNo}, {fields.invNo, crane.invNo}};
    for (const auto& [text, stored] : texts) {
        std::string bytes;
        fuzzCheck(utf8ToCp1251(text, bytes), "a number text the block took but cannot hold");
        bytes = bytes.substr(0, 8);
        fuzzCheck(stored == bytes.substr(0, bytes.find('\0')), "a number text read back otherwise");
    }
    const unsigned long full = typed(fields.fullCode), zero = typed(fields.zeroCode);
    fuzzCheck(block[38] == full && block[39] == full && crane.adcZS == zero && block[49] == zero,
              "a code read back otherwise");
    fuzzCheck(zero < full && crane.adcFZS == full - zero && block[50] == full - zero,
              "a zero code not below the full code");
    fuzzCheck(crane.maxWeight == static_cast<float>(typed(fields.capacity)),
              "a capacity read back otherwise");
    const unsigned long years = typed(fields.serviceLife);
    fuzzCheck(crane.workMaxYears == years && crane.workMaxSeconds == years * 31536000u,
              "a service life read back otherwise");
    fuzzCheck(crane.workMaxGrp == static_cast<uint8_t>(fields.groupSelection + 1), "another group");
    fuzzCheck(crane.ogpH > crane.ogpL, "a limiter reset level not below its trip level");

    settingsBlock blank = block;
    blank[62] = blank[63] = 0;
    crc16 crc;
    fuzzCheck(getBe16(&block[62]) == crc.compute(blank.data(), blank.size()), "a wrong CRC");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzInput in(data, size);
    settingsFields fields;
    fields.regNo = in.text();
    fields.serNo = in.text();
    fields.invNo = in.text();
    fields.fullCode = in.text();
    fields.zeroCode = in.text();
    fields.capacity = in.text();
    fields.serviceLife = in.text();
    fields.workSince = static_cast<int32_t>(in.be32());
    fields.regiSince = static_cast<int32_t>(in.be32());
    fields.groupSelection = in.byte() - 1;
    fields.tripSelection = in.byte() - 1;
    fields.resetSelection = in.byte() - 1;

    reportLog::clear();
    const auto block = buildSettingsBlock(fields, reportLog::error);
    if (block) {
        fuzzCheck(reportLog::errors.empty(), "an error text beside a block");
        checkReadBack(fields, *block);
    } else {
        fuzzCheck(!reportLog::errors.empty(), "no block and no error text");
    }
    return 0;
}
