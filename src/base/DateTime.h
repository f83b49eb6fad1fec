#pragma once
// Date-time values as documents store them: days since 1899-12-30 as a
// double, the fraction being the time of day.

namespace vellum {

// Now, local time.
double NowDateTime();

} // namespace vellum
