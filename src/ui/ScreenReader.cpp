#include "ScreenReader.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <utility>

#ifdef LEXIGROVE_ATSPI_CHECKABLE_STOPGAP
#include "AtspiCheckableStopgap.h"
#endif

namespace lexigrove {
namespace {

class ActivationWatcher : public QObject, public QAccessible::ActivationObserver {
public:
    ActivationWatcher(QObject* owner, std::function<void(bool)> changed)
        : QObject(owner), changed_(std::move(changed)) {
        QAccessible::installActivationObserver(this);
    }
    ~ActivationWatcher() override { QAccessible::removeActivationObserver(this); }
    ActivationWatcher(const ActivationWatcher&) = delete;
    ActivationWatcher& operator=(const ActivationWatcher&) = delete;

    void accessibilityActiveChanged(bool active) override { changed_(active); }

private:
    std::function<void(bool)> changed_;
};

// Where an announcement is carried: the control it was made on tells the
// screen reader its own description again once the focus has moved on.
class Announcement : public QObject {
public:
    explicit Announcement(QWidget* target) : QObject(target), target_(target) {
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* /*old*/, QWidget* now) {
            if (now == target_ || leaving_) return;
            leaving_ = true;
            // Once the screen reader has heard of the focus's move, so that
            // it does not take the control's own description for news.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (!leaving_) return;
                    if (QAccessibleInterface* item = QAccessible::queryAccessibleInterface(target_))
                        AnnounceFor(item, item->text(QAccessible::Description));
                    deleteLater();
                },
                Qt::QueuedConnection);
        });
    }

    static Announcement* On(QWidget* target) {
        for (QObject* child : target->children())
            if (auto* announcement = dynamic_cast<Announcement*>(child)) {
                announcement->leaving_ = false;
                return announcement;
            }
        return new Announcement(target);
    }

private:
    QWidget* target_;
    bool leaving_ = false;
};

class FocusedRowTeller : public QObject {
public:
    explicit FocusedRowTeller(QAbstractItemView* list) : QObject(list), list_(list) { list->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == list_ && event->type() == QEvent::FocusIn && QAccessible::isActive())
            // After Qt has told of the list itself.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    const QModelIndex current = list_->currentIndex();
                    if (!list_->hasFocus() || !current.isValid()) return;
                    QAccessibleEvent focus(list_, QAccessible::Focus);
                    focus.setChild(current.row());
                    QAccessible::updateAccessibility(&focus);
                },
                Qt::QueuedConnection);
        return false;
    }

private:
    QAbstractItemView* list_;
};

Announcer& CurrentAnnouncer() {
    static Announcer announcer;
    return announcer;
}

enum class ReadAs : int { Heading = 1, Paragraph, Hidden, Link };
const char* const kReadAs = "lexigroveReadAs";

// Holds what a link's action does.
class LinkAction : public QObject {
public:
    LinkAction(QLabel* label, std::function<void()> open) : QObject(label), open_(std::move(open)) {}
    void Open() const { open_(); }

private:
    std::function<void()> open_;
};

QAccessible::Role RoleFor(ReadAs as) {
    switch (as) {
        case ReadAs::Heading:
            return QAccessible::Heading;
        case ReadAs::Paragraph:
            return QAccessible::Paragraph;
        case ReadAs::Link:
            return QAccessible::Link;
        case ReadAs::Hidden:
            break;
    }
    return QAccessible::StaticText;
}

class LabelAccessible : public QAccessibleWidget {
public:
    LabelAccessible(QLabel* label, ReadAs as) : QAccessibleWidget(label, RoleFor(as)), as_(as) {}

    QAccessible::State state() const override {
        QAccessible::State st = QAccessibleWidget::state();
        if (as_ == ReadAs::Hidden) st.invisible = true;
        if (as_ == ReadAs::Link) st.linked = true;
        return st;
    }

    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty()) text = static_cast<QLabel*>(widget())->text();
        return text;
    }

    QStringList actionNames() const override {
        return as_ == ReadAs::Link ? QStringList{pressAction()} : QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (as_ == ReadAs::Link && name == pressAction()) {
            if (const auto* action = widget()->findChild<LinkAction*>(QString(), Qt::FindDirectChildrenOnly))
                action->Open();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

private:
    ReadAs as_;
};

QAccessibleInterface* LabelFactory(const QString& /*className*/, QObject* object) {
    auto* label = qobject_cast<QLabel*>(object);
    const int as = label != nullptr ? label->property(kReadAs).toInt() : 0;
    return as != 0 ? new LabelAccessible(label, static_cast<ReadAs>(as)) : nullptr;
}

void Mark(QLabel* label, ReadAs as) {
    static const bool installed = [] {
        QAccessible::installFactory(&LabelFactory);
        return true;
    }();
    (void)installed;
    label->setProperty(kReadAs, static_cast<int>(as));
    // An interface made for the label before now would go on answering for
    // it; the next one asked for is made as marked.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(label);
    if (made != nullptr && dynamic_cast<LabelAccessible*>(made) == nullptr)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

}  // namespace

void WhileScreenReaderRuns(QObject* owner, std::function<void(bool running)> changed) {
    changed(QAccessible::isActive());
    new ActivationWatcher(owner, std::move(changed));
}

void AnnounceFor(QAccessibleInterface* item, const QString& text) {
    if (item == nullptr) return;
    if (CurrentAnnouncer()) {
        CurrentAnnouncer()(item, text);
        return;
    }
    if (!QAccessible::isActive()) return;
#ifdef LEXIGROVE_ATSPI_CHECKABLE_STOPGAP
    SendDescriptionChange(item, text);
#endif
}

void Announce(QWidget* fallback, const QString& text) {
    if (!QAccessible::isActive() && !CurrentAnnouncer()) return;
    QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : fallback;
    if (target == nullptr) return;
    Announcement::On(target);
    AnnounceFor(QAccessible::queryAccessibleInterface(target), text);
}

Announcer SetAnnouncer(Announcer announcer) { return std::exchange(CurrentAnnouncer(), std::move(announcer)); }

void TellFocusedRowOnEntry(QAbstractItemView* list) { new FocusedRowTeller(list); }

void ReadAsHeading(QLabel* label) { Mark(label, ReadAs::Heading); }

void ReadAsParagraph(QLabel* label) { Mark(label, ReadAs::Paragraph); }

void HideFromScreenReaders(QLabel* label) { Mark(label, ReadAs::Hidden); }

void ReadAsLink(QLabel* label, std::function<void()> open) {
    new LinkAction(label, std::move(open));
    Mark(label, ReadAs::Link);
}

}  // namespace lexigrove
