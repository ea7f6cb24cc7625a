#include "FirstLineValidator.h"

#include <QString>

#include <algorithm>

namespace lexigrove {
namespace {

qsizetype FirstLineBreak(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r' || c == u'\n' || c == u'\u2028' || c == u'\u2029') return i;
    }
    return -1;
}

}  // namespace

QValidator::State FirstLineOfInsertion::validate(QString& input, int& caret) const {
    // The text already held has no line break, so the first one lies in
    // what was just put in, which ends at the caret.
    for (qsizetype lineBreak = FirstLineBreak(input); lineBreak >= 0; lineBreak = FirstLineBreak(input)) {
        const qsizetype insertionEnd = std::max<qsizetype>(caret, lineBreak + 1);
        input.remove(lineBreak, insertionEnd - lineBreak);
        caret = static_cast<int>(lineBreak);
    }
    return Acceptable;
}

}  // namespace lexigrove
