#include "setup/settingsRows.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "data/cp1251.h"
#include "data/devLink.h"
#include "data/readout.h"
#include "data/timeText.h"
#include "link/commands.h"

namespace {

std::string number(unsigned value, const char* format = "%u")
{
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The field texts of a block, in the order of the labels, read as the readout reads the first
// 64 bytes of a memory image.
std::vector<std::string> texts(const settingsBlock& block)
{
    uint8_t image[memoryImageSize] = {};
    std::copy(block.begin(), block.end(), image);
    devLink c;
    decodeMemoryImage(image, c, true);
    const unsigned group = c.workMaxGrp;
    return {
        cp1251ToUtf8(c.regNo),
        cp1251ToUtf8(c.serNo),
        cp1251ToUtf8(c.invNo),
        localTimeText(c.regiSince, "%d.%m.%Y"),
        localTimeText(c.workSince, "%d.%m.%Y"),
        number(static_cast<unsigned>(c.maxWeight)),
        number(c.workMaxYears),
        number(group, group >= 1 && group <= 8 ? "A%u" : "%u"),
        number(c.adcZS),
        number(unsigned{c.adcZS} + c.adcFZS),
        number(c.ogpH, "%u%%"),
        number(c.ogpL, "%u%%"),
    };
}

}  // namespace

std::vector<settingsRow> settingsRows(const settingsBlock& current, const settingsBlock& next)
{
    static const char* const labels[] = {
        settingsLabel::regNo,     settingsLabel::serNo,       settingsLabel::invNo,
        settingsLabel::regiSince, settingsLabel::workSince,   settingsLabel::capacity,
        settingsLabel::serviceLife, settingsLabel::group,     settingsLabel::zeroCode,
        settingsLabel::fullCode,  settingsLabel::tripLevel,   settingsLabel::resetLevel,
    };
    const std::vector<std::string> now = texts(current), then = texts(next);
    std::vector<settingsRow> rows;
    for (std::size_t i = 0; i < std::size(labels); ++i)
        rows.push_back({labels[i], now[i], then[i]});
    return rows;
}
