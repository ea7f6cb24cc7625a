#include "SearchEdit.h"

#include "EditAccessible.h"

namespace lexigrove {

SearchEdit::SearchEdit(QWidget* parent) : QLineEdit(parent) { UseEditAccessibleFor(metaObject()->className()); }

}  // namespace lexigrove
