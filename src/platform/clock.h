// The local wall clock as a date-time value (days since 1899-12-30, milliseconds included).
#pragma once

namespace mirovane {

double LocalNow();

}  // namespace mirovane
