#include "platform/ui/toolbarcaptions.h"

#include <QAction>
#include <QEvent>
#include <QHash>
#include <QLayout>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>

namespace {
class CaptionFitter : public QObject {
public:
    explicit CaptionFitter(QToolBar* toolbar)
        : QObject(toolbar), toolbar_(toolbar), watched_(toolbar) {
        // The room each button wants as designed, measured before any caption is put away:
        // what it needs does not depend on how it shows now, so a decision never undoes itself.
        for (QAction* action : toolbar->actions()) {
            if (auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(action))) {
                designed_.insert(button,
                                 {action, button->toolButtonStyle(), button->sizeHint().width()});
            }
        }
        toolbar->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // Compared as the object it was, not through the toolbar's pointer: a toolbar being
        // taken apart still sends events while it is no longer a toolbar.
        if ((event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest ||
             event->type() == QEvent::Show) &&
            watched == watched_) {
            fit();
        }
        return false;
    }

private:
    struct Design {
        QPointer<QAction> action;
        Qt::ToolButtonStyle style;
        int width;
    };

    void fit() {
        if (toolbar_ == nullptr || toolbar_->layout() == nullptr) {
            return;
        }
        int needed = toolbar_->layout()->sizeHint().width();
        for (auto it = designed_.cbegin(); it != designed_.cend(); ++it) {
            QToolButton* button = it.key();
            // An action's visibility, not the button's: a button behind the extension button
            // is hidden too, and still wants its room.
            if (it->action != nullptr && it->action->isVisible()) {
                needed += it->width - button->sizeHint().width();
            }
        }
        const bool room = needed <= toolbar_->width();
        for (auto it = designed_.cbegin(); it != designed_.cend(); ++it) {
            if (QToolButton* button = it.key()) {
                button->setToolButtonStyle(room ? it->style : Qt::ToolButtonIconOnly);
            }
        }
    }

    QPointer<QToolBar> toolbar_;
    const QObject* watched_;
    QHash<QToolButton*, Design> designed_;
};
} // namespace

namespace ToolbarCaptions {
void FitToWidth(QToolBar* toolbar) {
    if (toolbar != nullptr) {
        new CaptionFitter(toolbar); // the toolbar's child
    }
}
} // namespace ToolbarCaptions
