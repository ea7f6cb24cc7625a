// What the edit box keeps of a paste.
#pragma once

#include <QValidator>

namespace lexigrove {

// A single-line edit box keeps of a paste only what comes before its first
// line break (CR, LF, or a Unicode line or paragraph separator).
class FirstLineOfInsertion : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& caret) const override;
};

}  // namespace lexigrove
