#include "CheckMarkAccessible.h"

#include "AccessibleLeaf.h"

#include <QAccessible>
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>

namespace lexigrove {
namespace {

const char* const kReportsCheckMark = "lexigroveReportsCheckMark";

QMenu* MenuOf(const QAction* action) {
    for (QObject* owner : action->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(owner)) return menu;
    return nullptr;
}

// The menu item's text without its mnemonic marks ("&&" stays one "&").
QString WithoutMnemonic(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) plain += text[++i];
            continue;
        }
        plain += text[i];
    }
    return plain;
}

// A menu item with a check mark: the state says it can be checked and
// whether it is; its one action presses it, as a click does.
class CheckMenuItemAccessible : public lexigrove::AccessibleLeaf {
public:
    CheckMenuItemAccessible(QMenu* menu, QAction* action) : menu_(menu), action_(action) {}

    bool isValid() const override { return menu_ && action_; }
    QObject* object() const override { return action_; }
    QWindow* window() const override { return menu_ ? menu_->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(menu_.data()); }
    QAccessible::Role role() const override { return QAccessible::MenuItem; }

    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name) return WithoutMnemonic(action_->text());
        if (t == QAccessible::Accelerator) {
            if (!action_->shortcut().isEmpty()) return action_->shortcut().toString(QKeySequence::NativeText);
            const QKeySequence mnemonic = QKeySequence::mnemonic(action_->text());
            return mnemonic.isEmpty() ? QString() : mnemonic.toString(QKeySequence::NativeText);
        }
        return {};
    }

    QRect rect() const override {
        if (!isValid()) return {};
        const QRect local = menu_->actionGeometry(action_);
        return QRect(menu_->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::State state() const override {
        QAccessible::State st;
        if (!isValid()) return st;
        if (!menu_->isVisible() || !action_->isVisible()) st.invisible = true;
        if (menu_->activeAction() == action_) st.focused = true;
        if (!action_->isEnabled()) st.disabled = true;
        st.checkable = true;
        st.checked = action_->isChecked();
        return st;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && action_->isEnabled()) action_->trigger();
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QMenu> menu_;
    QPointer<QAction> action_;
};

QAccessibleInterface* CheckMenuItemFactory(const QString& key, QObject* object) {
    if (key != QLatin1String("QAction") || !object) return nullptr;
    auto* action = static_cast<QAction*>(object);
    if (!action->property(kReportsCheckMark).toBool()) return nullptr;
    QMenu* menu = MenuOf(action);
    return menu ? new CheckMenuItemAccessible(menu, action) : nullptr;
}

// Announces the mark once its handler is done with it, so that a handler
// that flips the mark back and forth announces only where it ended.
class MarkAnnouncer : public QObject {
public:
    explicit MarkAnnouncer(QAction* action) : QObject(action), action_(action), announced_(action->isChecked()) {
        connect(action, &QAction::toggled, this, [this] {
            if (pending_) return;
            pending_ = true;
            QMetaObject::invokeMethod(
                this, [this] { Announce(); }, Qt::QueuedConnection);
        });
    }

private:
    void Announce() {
        pending_ = false;
        if (action_->isChecked() == announced_) return;
        announced_ = action_->isChecked();
        if (!QAccessible::isActive()) return;
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(action_, changed);
        QAccessible::updateAccessibility(&event);
    }

    QAction* action_;
    bool announced_;
    bool pending_ = false;
};

}  // namespace

void ReportCheckMark(QAction* action) {
    static const bool installed = [] {
        QAccessible::installFactory(CheckMenuItemFactory);
        return true;
    }();
    (void)installed;
    action->setProperty(kReportsCheckMark, true);
    new MarkAnnouncer(action);
}

}  // namespace lexigrove
