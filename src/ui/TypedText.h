// The edit box's text as the search engine reads it, and back. The engine
// counts bytes, the user characters: each character the user sees becomes
// one byte. One written with several code points (a letter with an accent
// of its own, a surrogate pair) counts as one, and any character outside
// ASCII becomes a byte that is neither a letter nor '?', so it never
// matches a letter and never stands for one. Those characters are kept, in
// order, to be put back in their place.
#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lexigrove {

class TypedText {
public:
    // The byte that stands for a character outside ASCII.
    static constexpr char kOther = '\x80';

    // The bytes for `text`, one per character; remembers the characters
    // outside ASCII for Restore.
    std::string Read(const QString& text);

    // The text for `bytes` (the bytes of the last Read, with letters maybe
    // lowercased, or a line that repeats them): each byte outside ASCII
    // in turn becomes the character it stood for, and any beyond those
    // U+FFFD.
    QString Restore(std::string_view bytes) const;

private:
    // The text read last, and where in it each character outside ASCII
    // stands (start and length), in order.
    QString text_;
    std::vector<std::pair<qsizetype, qsizetype>> others_;
};

}  // namespace lexigrove
