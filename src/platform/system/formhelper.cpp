#include "platform/system/formhelper.h"

#include "platform/system/registrystore.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QStringList>
#include <QTextEdit>

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace {
constexpr int kMinimumWidth = 200;
constexpr int kMinimumHeight = 150;
constexpr int kMaximumSize = 10000;
constexpr int kVisibleWidth = 100;
constexpr int kVisibleHeight = 50;
// Beyond this a stored place is off every screen anyway; keeping it here keeps the
// arithmetic on it within int.
constexpr int kFarAway = 1000000;

// Watches one control's focus for SelectAllTextOnFocus; a child of the control, so it goes
// with it.
class SelectOnFocus : public QObject {
public:
    SelectOnFocus(QWidget* control, std::function<bool()> wanted)
        : QObject(control), wanted_(std::move(wanted)) {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && (!wanted_ || wanted_())) {
            QPointer<QWidget> control(qobject_cast<QWidget*>(watched));
            FormHelper::SelectAllText(control);
            // Again behind the event that brought the focus, whose caret may have undone
            // it; a focus gone again by then (a second Tab at once) selects nothing more.
            QMetaObject::invokeMethod(
                this,
                [control] {
                    if (control && control->hasFocus()) {
                        FormHelper::SelectAllText(control);
                    }
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<bool()> wanted_;
};

enum PlacementState { StateNormal = 0, StateMinimised = 1, StateMaximised = 2 };

QString PlacementKey(const QString& key, const QWidget* form) {
    const QString name = form->objectName();
    return key + QLatin1Char('\\') + (name.isEmpty() ? QStringLiteral("Window") : name);
}

std::optional<qint32> ReadPlacementValue(const QString& key, const char* name) {
    bool found = false;
    const qint32 value =
        RegistryStore::ReadNumber(RegistryRoot::CurrentUser, key, QLatin1String(name), 0, &found);
    if (!found) {
        return std::nullopt;
    }
    return value;
}

// Whole-number item data as the 32-bit value it stands for (an unsigned 32-bit number,
// such as a colour number, keeps its bits).
std::optional<qint32> ItemDataNumber(const QVariant& data) {
    switch (data.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return data.toInt();
    case QMetaType::UInt:
        return static_cast<qint32>(data.toUInt());
    case QMetaType::Long:
    case QMetaType::LongLong: {
        const qint64 v = data.toLongLong();
        if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<quint32>::max()) {
            return std::nullopt;
        }
        return static_cast<qint32>(static_cast<quint32>(v));
    }
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const quint64 v = data.toULongLong();
        if (v > std::numeric_limits<quint32>::max()) {
            return std::nullopt;
        }
        return static_cast<qint32>(static_cast<quint32>(v));
    }
    default:
        return std::nullopt;
    }
}
struct Placement {
    QRect place;
    int state = StateNormal;
};

// The form's normal geometry (also while maximised or minimised) and its state.
Placement CurrentPlacement(const QWidget* form) {
    const Qt::WindowStates states = form->windowState();
    Placement p;
    if (states.testFlag(Qt::WindowMinimized)) {
        p.state = StateMinimised;
    } else if (states.testFlag(Qt::WindowMaximized)) {
        p.state = StateMaximised;
    }
    const bool normal =
        !(states & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    p.place = normal ? form->geometry() : form->normalGeometry();
    if (!p.place.isValid()) {
        p.place = form->geometry(); // a form never shown normal has no normal geometry
    }
    return p;
}

// Places the form after the checks every stored placement passes; false when one fails.
bool ApplyPlacement(QWidget* form, qint32 left, qint32 top, qint32 width, qint32 height,
                    qint32 state) {
    if (width < kMinimumWidth || height < kMinimumHeight || width > kMaximumSize ||
        height > kMaximumSize || state < StateNormal || state > StateMaximised) {
        return false;
    }
    QRect place(std::clamp(left, -kFarAway, kFarAway), std::clamp(top, -kFarAway, kFarAway), width,
                height);
    if (!FormHelper::IsPlacementOnScreen(place)) {
        if (const QScreen* primary = QGuiApplication::primaryScreen()) {
            const QRect area = primary->availableGeometry();
            // A form larger than the screen keeps its top left corner (and title) on it.
            place.moveTo(area.x() + std::max(0, (area.width() - place.width()) / 2),
                         area.y() + std::max(0, (area.height() - place.height()) / 2));
        }
    }
    Qt::WindowStates states = form->windowState();
    if (states & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
        states &= ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
        form->setWindowState(states);
    }
    form->setGeometry(place);
    if (state == StateMaximised) {
        form->setWindowState(states | Qt::WindowMaximized);
    }
    return true;
}
} // namespace

void FormHelper::SelectAllText(QWidget* control) {
    if (auto* line = qobject_cast<QLineEdit*>(control)) {
        line->selectAll();
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (combo->isEditable() && combo->lineEdit() != nullptr) {
            combo->lineEdit()->selectAll();
        }
    } else if (auto* text = qobject_cast<QTextEdit*>(control)) {
        text->selectAll();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
        plain->selectAll();
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(control)) {
        spin->selectAll();
    }
}

void FormHelper::SelectAllTextOnFocus(QWidget* control, std::function<bool()> wanted) {
    if (control != nullptr) {
        new SelectOnFocus(control, std::move(wanted)); // owned by the control
    }
}

void FormHelper::SaveWindowPlacement(const QString& key, QWidget* form) {
    if (form == nullptr) {
        return;
    }
    const Placement p = CurrentPlacement(form);
    const QString placementKey = PlacementKey(key, form);
    const auto write = [&](const char* name, qint32 value) {
        RegistryStore::WriteNumber(RegistryRoot::CurrentUser, placementKey, QLatin1String(name),
                                   value);
    };
    write("Left", p.place.x());
    write("Top", p.place.y());
    write("Width", p.place.width());
    write("Height", p.place.height());
    write("State", p.state);
}

bool FormHelper::IsPlacementOnScreen(const QRect& geometry) {
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
        const QRect seen = geometry.intersected(screen->availableGeometry());
        return seen.width() >= kVisibleWidth && seen.height() >= kVisibleHeight;
    });
}

void FormHelper::RestoreWindowPlacement(const QString& key, QWidget* form) {
    if (form == nullptr) {
        return;
    }
    const QString placementKey = PlacementKey(key, form);
    const auto left = ReadPlacementValue(placementKey, "Left");
    const auto top = ReadPlacementValue(placementKey, "Top");
    const auto width = ReadPlacementValue(placementKey, "Width");
    const auto height = ReadPlacementValue(placementKey, "Height");
    const auto state = ReadPlacementValue(placementKey, "State");
    if (!left || !top || !width || !height || !state) {
        return;
    }
    ApplyPlacement(form, *left, *top, *width, *height, *state);
}

QString FormHelper::GetPlacementText(QWidget* form) {
    if (form == nullptr) {
        return {};
    }
    const Placement p = CurrentPlacement(form);
    return QStringLiteral("%1,%2,%3,%4,%5")
        .arg(p.place.x())
        .arg(p.place.y())
        .arg(p.place.width())
        .arg(p.place.height())
        .arg(p.state);
}

bool FormHelper::ApplyPlacementText(const QString& text, QWidget* form) {
    if (form == nullptr) {
        return false;
    }
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 5) {
        return false;
    }
    qint32 values[5] = {};
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        values[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok) {
            return false;
        }
    }
    return ApplyPlacement(form, values[0], values[1], values[2], values[3], values[4]);
}

int FormHelper::ListIndexOfItemData(QComboBox* combo, qint32 itemData) {
    if (combo == nullptr) {
        return -1;
    }
    if (QAbstractItemModel* model = combo->model();
        model != nullptr && model->property("findsItemData").toBool()) {
        // A list over a whole directory finds its entries itself, through its indexes: walked,
        // it would read every entry.
        const QModelIndexList found =
            model->match(model->index(0, combo->modelColumn(), combo->rootModelIndex()),
                         Qt::UserRole, itemData, 1, Qt::MatchExactly);
        return found.isEmpty() ? -1 : found.front().row();
    }
    for (int i = 0; i < combo->count(); ++i) {
        if (ItemDataNumber(combo->itemData(i)) == itemData) {
            return i;
        }
    }
    return -1;
}
