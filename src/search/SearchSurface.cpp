#include "SearchSurface.h"

#include <algorithm>

namespace lexigrove {

PropertyOutOfRange::PropertyOutOfRange(std::string_view className)
    : std::runtime_error(std::string(className) + " property out of range") {}

void ProgressModel::SetMaximum(int maximum) {
    if (maximum < 0) throw PropertyOutOfRange(className_);
    maximum_ = maximum;
    position_ = std::min(position_, maximum_);
}

void ProgressModel::SetPosition(int position) { position_ = std::clamp(position, 0, maximum_); }

}  // namespace lexigrove
