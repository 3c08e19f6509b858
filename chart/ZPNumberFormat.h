// Number and date-time texts by pattern, as axis labels, value labels and
// display names show them. The decimal separator is always ".".
//
//   FormatFloat("#,##0.###", 12345.6789)          // "12,345.679"
//   FormatFloat("0.00", 2.5)                      // "2.50"
//   FormatDateTime("yyyy-mm-dd", 45000.0)         // "2023-03-15"
#pragma once

#include <string>

namespace zp::chart {

// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;

// Value by a float pattern: '0' a digit always shown, '#' a digit shown when
// significant, ',' in the integer part groups thousands, '.' the decimal
// point, quoted or other characters before and after the digits are copied.
// Only the first ';'-separated section is used. An empty pattern gives the
// shortest exact text (up to 15 digits).
std::string FormatFloat(const std::string& Format, double Value);

// Value by a date-time pattern: yyyy, yy, mm, m, dd, d (date; mm and m right
// after an hour mean minutes), hh, h, nn, n, ss, s, zzz, quoted literals.
// An empty pattern gives "yyyy-mm-dd hh:nn:ss", the time left out at midnight.
std::string FormatDateTime(const std::string& Format, TDateTime Value);

}  // namespace zp::chart
