#include "platform/ui/tristatebutton.h"

#include <QAction>
#include <QStyle>
#include <QToolBar>
#include <QWidget>

namespace TriStateButton {

namespace {
constexpr const char* kMixed = "MixedState";

// Neither the sunken look of a pressed button nor the flat one of an unpressed button.
const QString& mixedLook() {
    static const QString look =
        QStringLiteral("QToolButton[MixedState=\"true\"] { background: palette(midlight); "
                       "border: 1px dotted palette(dark); }");
    return look;
}
} // namespace

void SetState(QToolBar* bar, QAction* action, int state) {
    if (action == nullptr) {
        return;
    }
    action->setCheckable(true);
    action->setChecked(state == 1);
    action->setProperty(kMixed, state == -1);
    if (bar == nullptr) {
        return;
    }
    if (!bar->styleSheet().contains(mixedLook())) {
        bar->setStyleSheet(bar->styleSheet() + mixedLook());
    }
    if (QWidget* button = bar->widgetForAction(action)) {
        button->setProperty(kMixed, state == -1);
        // A style sheet reads dynamic properties only when the widget is polished again.
        button->style()->unpolish(button);
        button->style()->polish(button);
        button->update();
    }
}

int State(const QAction* action) {
    if (action == nullptr) {
        return 0;
    }
    if (action->property(kMixed).toBool()) {
        return -1;
    }
    return action->isChecked() ? 1 : 0;
}

} // namespace TriStateButton
