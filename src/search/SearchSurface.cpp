#include "SearchSurface.h"

#include <algorithm>

#include "Ascii.h"

namespace lexigrove {

PropertyOutOfRange::PropertyOutOfRange(std::string_view className)
    : std::runtime_error(std::string(className) + " property out of range") {}

void SearchSurface::LowercaseText() {
    std::string text = ReadText();
    ascii::Lowercase(text);
    WriteText(text);
}

void SearchSurface::ResultsAppendJoined(std::string_view head, std::string_view tail) {
    std::string line;
    line.reserve(head.size() + tail.size());
    line.append(head).append(tail);
    ResultsAppend(line);
}

void ProgressModel::SetMaximum(int maximum) {
    if (maximum < 0) throw PropertyOutOfRange(className_);
    maximum_ = maximum;
    position_ = std::min(position_, maximum_);
}

void ProgressModel::SetPosition(int position) { position_ = std::clamp(position, 0, maximum_); }

}  // namespace lexigrove
