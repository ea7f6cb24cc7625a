#include "ConsoleSurface.h"

#include <limits>

#include "Ascii.h"

namespace lexigrove {

ConsoleSurface::ConsoleSurface(std::string text, std::array<bool, kLengthOptionCount> options)
    : owned_(std::move(text)), text_(owned_), options_(options) {}

void ConsoleSurface::LendFrom(std::span<char> text) {
    owned_.clear();
    text_ = text;
}

void ConsoleSurface::WriteText(const std::string& text) {
    owned_ = text;
    text_ = owned_;
}

void ConsoleSurface::LowercaseText() { ascii::Lowercase(text_); }

void ConsoleSurface::ResultsAppendJoined(std::string_view head, std::string_view tail) {
    lineCount_ += lineCount_ < std::numeric_limits<int>::max();
    if (countOnly_) {
        found_ += tail == " - Found";
        return;
    }
    if (sink_ != nullptr && head.size() >= kFlushAt) {
        // A long line (a pasted text in Exact's answer) goes out as it is,
        // not copied into the log first.
        Flush();
        sink_->write(head.data(), static_cast<std::streamsize>(head.size()));
    } else {
        output_.append(head);
    }
    if (!tail.empty()) output_.append(tail);
    output_ += '\n';
    if (sink_ != nullptr && output_.size() >= kFlushAt) Flush();
}

void ConsoleSurface::StreamTo(std::ostream* sink) {
    sink_ = sink;
    // The log then stays below kFlushAt, but for the line that crosses it.
    if (sink_ != nullptr) output_.reserve(kFlushAt + 256);
}

void ConsoleSurface::ResultsClear() {
    output_.clear();
    lineCount_ = 0;
    found_ = 0;
}

void ConsoleSurface::Flush() {
    if (sink_ != nullptr) sink_->write(output_.data(), static_cast<std::streamsize>(output_.size()));
    output_.clear();
}

}  // namespace lexigrove
