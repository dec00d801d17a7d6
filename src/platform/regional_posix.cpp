#include "platform/regional.h"

namespace mirovane {

// Off Windows there is no user locale to follow: the program's own Japanese set applies.
RegionalSettings SystemRegional() { return FixedJapaneseRegional(); }

}  // namespace mirovane
