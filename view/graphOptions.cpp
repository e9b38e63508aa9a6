#include "view/graphOptions.h"

float fixedLoadStep(int intervals)
{
    for (const float step : {5.0f, 25.0f})
        if (fixedLoadTop / step <= static_cast<float>(intervals))
            return step;
    return fixedLoadTop;
}

std::vector<levelLine> levelLinesOf(const devLink& crane)
{
    std::vector<levelLine> lines{{levelKind::rated, 100}};
    if (crane.ogpH != 0)
        lines.push_back({levelKind::limiterTrip, crane.ogpH});
    if (crane.ogpL != 0)
        lines.push_back({levelKind::limiterReset, crane.ogpL});
    return lines;
}
