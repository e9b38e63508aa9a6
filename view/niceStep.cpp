#include "view/niceStep.h"

#include <charconv>
#include <cmath>

float niceStep(float& max, float& min, int n, ReportCallback error)
{
    if (!std::isfinite(max) || !std::isfinite(min))
        return 1;
    const float rough = (max - min) / static_cast<float>(n < 1 ? 1 : n);

    // One significant digit, as "%.0e" writes it ("3e+01"), rounded to 1, 2 or 5.
    char text[32];
    const auto written =
        std::to_chars(text, text + sizeof text, rough, std::chars_format::scientific, 0);
    float factor = 1;
    switch (text[0]) {
    case '3':
        text[0] = '2';
        break;
    case '4':
    case '6':
    case '7':
        text[0] = '5';
        break;
    case '8':
    case '9':
        text[0] = '1';
        factor = 10;
        break;
    case '0':
        error("sprintf failure: %f, [%f, %f]", rough, min, max);
        break;
    }
    double readBack = 0;
    std::from_chars(text, written.ptr, readBack);
    float step = static_cast<float>(readBack) * factor;
    if (!(step >= 1) || std::isinf(step))
        step = 1;

    max = static_cast<float>(std::ceil(max / step) * step);
    min = static_cast<float>(std::floor(min / step) * step);
    return step;
}
