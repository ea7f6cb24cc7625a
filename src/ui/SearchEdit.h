// The edit box that takes the letters or the pattern.
#pragma once

#include <QLineEdit>

namespace lexigrove {

// A single-line edit box that screen readers read through EditAccessible.
class SearchEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit SearchEdit(QWidget* parent = nullptr);
};

}  // namespace lexigrove
