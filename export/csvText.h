// Tables as CSV that a spreadsheet set to Russian opens as it is: UTF-8 with a byte-order mark,
// ";" between fields, CR LF after each row, and numbers with the decimal separator chosen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

extern const char utf8ByteOrderMark[];

struct csvFormat {
    char decimal = ',';
};

// Appends fields of one row to a text; the first field of a row goes without a separator.
class csvRow {
public:
    csvRow(std::string& out, csvFormat format) : out(out), format(format) {}
    ~csvRow() { out += "\r\n"; }
    csvRow(const csvRow&) = delete;
    csvRow& operator=(const csvRow&) = delete;

    // A text, quoted when it holds a separator, a quote or a line break.
    csvRow& text(std::string_view utf8);
    csvRow& integer(int64_t value);
    // "%.<decimals>f" with the chosen decimal separator.
    csvRow& number(double value, int decimals);
    csvRow& empty();

private:
    void next();

    std::string& out;
    csvFormat format;
    bool first = true;
};

// Local time as "%d.%m.%Y %H:%M:%S" or "%d.%m.%Y", the forms a Russian spreadsheet reads as a
// date. Rows of one graph follow each other by seconds: the local time is looked up once a
// minute and the seconds counted on, which is exact for every zone since 1972, whose offsets
// change on whole minutes.
class clockText {
public:
    std::string_view dateTime(int64_t t);
    static std::string date(int32_t t);

private:
    int64_t minute = INT64_MIN;
    char text[20] = {};   // "dd.mm.yyyy hh:mm:ss"
};
