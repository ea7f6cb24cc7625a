#include "AtspiCheckableStopgap.h"

#include <atspi/atspi-constants.h>

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QList>
#include <QPointer>

#include <utility>

namespace lexigrove {
namespace {

// Qt's bridge keeps its connection to the accessibility bus under this
// name. It serves every accessible object under kAccessiblePath:
// "<path>/root" is the application, "<path>/<id>" the object whose
// QAccessible id is <id>.
const char* const kBridgeConnection = "a11y";
const char* const kAccessiblePath = "/org/a11y/atspi/accessible";

// One bit per AtspiStateType, as GetState sends them in two 32-bit words.
using StateBits = quint64;

StateBits Bit(AtspiStateType state) { return StateBits{1} << state; }

// The states of `item` as Qt's bridge sends them, with `checkable` added.
StateBits BusStates(QAccessibleInterface* item) {
    const QAccessible::State st = CheckMarkStates(item);
    const std::pair<bool, AtspiStateType> mapped[] = {
        {st.active, ATSPI_STATE_ACTIVE},
        {st.editable, ATSPI_STATE_EDITABLE},
        {!st.disabled, ATSPI_STATE_ENABLED},
        {!st.disabled, ATSPI_STATE_SENSITIVE},
        {st.selected, ATSPI_STATE_SELECTED},
        {st.focused, ATSPI_STATE_FOCUSED},
        {st.pressed, ATSPI_STATE_PRESSED},
        {st.checkable, ATSPI_STATE_CHECKABLE},
        {st.checked, ATSPI_STATE_CHECKED},
        {st.checkStateMixed, ATSPI_STATE_INDETERMINATE},
        {st.readOnly, ATSPI_STATE_READ_ONLY},
        {st.defaultButton, ATSPI_STATE_IS_DEFAULT},
        {st.expandable, ATSPI_STATE_EXPANDABLE},
        {st.expanded, ATSPI_STATE_EXPANDED},
        {st.collapsed, ATSPI_STATE_COLLAPSED},
        {st.busy, ATSPI_STATE_BUSY},
        {st.marqueed || st.animated, ATSPI_STATE_ANIMATED},
        {!st.invisible && !st.offscreen, ATSPI_STATE_SHOWING},
        {!st.invisible && !st.offscreen, ATSPI_STATE_VISIBLE},
        {st.sizeable, ATSPI_STATE_RESIZABLE},
        {st.focusable, ATSPI_STATE_FOCUSABLE},
        {st.selectable || st.extSelectable, ATSPI_STATE_SELECTABLE},
        {st.traversed, ATSPI_STATE_VISITED},
        {st.multiSelectable, ATSPI_STATE_MULTISELECTABLE},
        {st.modal, ATSPI_STATE_MODAL},
        {st.multiLine, ATSPI_STATE_MULTI_LINE},
        {item->tableInterface() != nullptr, ATSPI_STATE_MANAGES_DESCENDANTS},
        // Screen readers do not cache list and tree items, which come and go.
        {item->role() == QAccessible::ListItem || item->role() == QAccessible::TreeItem, ATSPI_STATE_TRANSIENT},
    };
    StateBits bits = 0;
    for (const auto& [on, state] : mapped)
        if (on) bits |= Bit(state);
    return bits;
}

// The object a path of the bridge's names, or null for the application and
// for paths that name nothing.
QAccessibleInterface* ItemAt(const QString& path) {
    const QString prefix = QLatin1String(kAccessiblePath) + QLatin1Char('/');
    if (!path.startsWith(prefix)) return nullptr;
    bool isNumber = false;
    const QAccessible::Id id = QStringView(path).mid(prefix.size()).toUInt(&isNumber);
    return isNumber ? QAccessible::accessibleInterface(id) : nullptr;
}

class CheckableStatesLayer : public QDBusVirtualObject {
public:
    CheckableStatesLayer(QDBusVirtualObject* bridge, QObject* parent) : QDBusVirtualObject(parent), bridge_(bridge) {}

    QString introspect(const QString& path) const override { return bridge_ ? bridge_->introspect(path) : QString(); }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.type() == QDBusMessage::MethodCallMessage &&
            message.interface() == QLatin1String(ATSPI_DBUS_INTERFACE_ACCESSIBLE) &&
            message.member() == QLatin1String("GetState")) {
            QAccessibleInterface* item = ItemAt(message.path());
            if (item && item->isValid() && CheckMarkStates(item).checkable) {
                const StateBits bits = BusStates(item);
                const QList<uint> words{static_cast<uint>(bits & 0xFFFFFFFFU), static_cast<uint>(bits >> 32)};
                return connection.send(message.createReply(QVariant::fromValue(words)));
            }
        }
        return bridge_ && bridge_->handleMessage(message, connection);
    }

private:
    QPointer<QDBusVirtualObject> bridge_;
};

// Takes the bridge's place on the bus, unless it is not there yet or the
// layer is there already.
void PutLayerInFront() {
    QDBusConnection bus(QString::fromLatin1(kBridgeConnection));
    if (!bus.isConnected()) return;
    const QString path = QLatin1String(kAccessiblePath);
    auto* bridge = qobject_cast<QDBusVirtualObject*>(bus.objectRegisteredAt(path));
    if (bridge == nullptr || dynamic_cast<CheckableStatesLayer*>(bridge) != nullptr) return;
    auto* layer = new CheckableStatesLayer(bridge, QCoreApplication::instance());
    bus.unregisterObject(path);
    if (!bus.registerVirtualObject(path, layer, QDBusConnection::SubPath)) {
        bus.registerVirtualObject(path, bridge, QDBusConnection::SubPath);
        delete layer;
    }
}

// Qt turns its bridge on, then puts it on the bus: the layer follows once
// both are done.
class BridgeWatcher : public QObject, public QAccessible::ActivationObserver {
public:
    explicit BridgeWatcher(QObject* application) : QObject(application) {
        QAccessible::installActivationObserver(this);
    }
    ~BridgeWatcher() override { QAccessible::removeActivationObserver(this); }
    BridgeWatcher(const BridgeWatcher&) = delete;
    BridgeWatcher& operator=(const BridgeWatcher&) = delete;

    void accessibilityActiveChanged(bool active) override {
        if (active) QMetaObject::invokeMethod(this, &PutLayerInFront, Qt::QueuedConnection);
    }
};

}  // namespace

QAccessible::State CheckMarkStates(QAccessibleInterface* item) {
    QAccessible::State st = item->state();
    QAccessibleTableCellInterface* cell = item->tableCellInterface();
    QAccessibleInterface* table = cell ? cell->table() : nullptr;
    const auto* view = table ? qobject_cast<const QAbstractItemView*>(table->object()) : nullptr;
    if (!view || !view->model()) return st;
    const QModelIndex index = view->model()->index(cell->rowIndex(), cell->columnIndex(), view->rootIndex());
    const QVariant check = index.data(Qt::CheckStateRole);
    if ((index.flags() & Qt::ItemIsUserCheckable) && check.isValid()) {
        st.checkable = true;
        st.checkStateMixed = check.toInt() == Qt::PartiallyChecked;
    }
    return st;
}

void SendDescriptionChange(QAccessibleInterface* item, const QString& text) {
    QDBusConnection bus(QString::fromLatin1(kBridgeConnection));
    if (!bus.isConnected() || item == nullptr) return;
    const QString path =
        QLatin1String(kAccessiblePath) + QLatin1Char('/') + QString::number(QAccessible::uniqueId(item));
    QDBusMessage signal = QDBusMessage::createSignal(path, QStringLiteral(ATSPI_DBUS_INTERFACE_EVENT_OBJECT),
                                                     QStringLiteral("PropertyChange"));
    // The application the object belongs to: its bus name and root object.
    QDBusArgument application;
    application.beginStructure();
    application << bus.baseService() << QDBusObjectPath(QLatin1String(kAccessiblePath) + QLatin1String("/root"));
    application.endStructure();
    signal << QStringLiteral("accessible-description") << 0 << 0 << QVariant::fromValue(QDBusVariant(text))
           << QVariant::fromValue(application);
    bus.send(signal);
}

void InstallAtspiCheckableStopgap() {
    auto* watcher = new BridgeWatcher(QCoreApplication::instance());
    if (QAccessible::isActive()) watcher->accessibilityActiveChanged(true);
}

}  // namespace lexigrove
