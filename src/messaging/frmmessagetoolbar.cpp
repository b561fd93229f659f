// The e-mail window's two toolbars and the one dispatcher every button goes through.
#include "messaging/frmmessage.h"

#include "core/printing/templateprinting.h"
#include "messaging/messagewindowcommands.h"
#include "messaging/safebodyview.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/imagelist.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/toolbarcaptions.h"
#include "platform/ui/toolbarimages.h"
#include "platform/ui/tristatebutton.h"
#include "platform/ui/twips.h"
#include "platform/ui/umessageaddress.h"

#include <QAction>
#include <QHash>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include <functional>

namespace {

enum class Style { Push, Separator, Placeholder, DropDown };

struct ToolbarButtonDef {
    const char* key;
    Style style;
    const char* tag; // "edit", "notedit" or ""
    const char* tooltip;
};

constexpr ToolbarButtonDef kMainButtons[] = {
    {"sendsep", Style::Separator, "edit", ""},
    {"send", Style::Placeholder, "edit", ""},
    {"replysep", Style::Separator, "notedit", ""},
    {"reply", Style::Placeholder, "notedit", "Reply"},
    {"replyall", Style::Placeholder, "notedit", "Reply To All"},
    {"forward", Style::Placeholder, "notedit", "Forward"},
    {"savesep", Style::Separator, "edit", ""},
    {"save", Style::Push, "edit", "Save"},
    {"printsep", Style::Separator, "notedit", ""},
    {"print", Style::Push, "", "Print"},
    {"delete", Style::Push, "", "Delete"},
    {"foldersep", Style::Separator, "", ""},
    {"copymessage", Style::Push, "", "Copy to Folder"},
    {"movemessage", Style::Push, "", "Move to Folder"},
    {"editsep", Style::Separator, "", ""},
    {"historysep", Style::Separator, "", ""},
    {"history", Style::Push, "", "Display this users recent activity history"},
    {"helpsep", Style::Separator, "", ""},
    {"help", Style::Push, "", "Help!"},
};

constexpr ToolbarButtonDef kEditButtons[] = {
    {"undosep", Style::Separator, "", ""},
    {"undo", Style::Push, "edit", "Undo last edit"},
    {"redo", Style::Push, "edit", "Redo last edit"},
    {"", Style::Separator, "", ""},
    {"cut", Style::Push, "edit", "Cut"},
    {"copy", Style::Push, "edit", "Copy"},
    {"paste", Style::Push, "edit", "Paste"},
    {"", Style::Push, "edit", "Delete"},
    {"", Style::Separator, "", ""},
    {"font", Style::DropDown, "edit", "Font"},
    {"resetfont", Style::Push, "", "Reset font to the default"},
    {"bold", Style::Push, "edit", "Bold"},
    {"italic", Style::Push, "edit", "Italic"},
    {"underline", Style::Push, "edit", "Underline"},
    {"strikethrough", Style::Push, "edit", "Strike-Through"},
    {"", Style::Separator, "", ""},
    {"bulletlist", Style::Push, "edit", "Bullet points"},
    {"addattachmentsep", Style::Separator, "", ""},
    {"addattachment", Style::Push, "", "Add Attachment"},
    {"hyperlinksep", Style::Separator, "", ""},
    {"hyperlink", Style::Push, "edit", "Insert/Change Hyperlink"},
    {"internetsep", Style::Separator, "", ""},
    {"internet", Style::Push, "edit", ""},
    {"spellsep", Style::Separator, "", ""},
    {"spell", Style::Push, "edit", "Check the spelling of the Story"},
    {"helpsep", Style::Separator, "", ""},
    {"help", Style::Push, "", "Help!"},
};

// The text a button shows; its tool tip says the rest.
QString caption(const ToolbarButtonDef& b) {
    static const QHash<QString, QString> kShort = {
        {QStringLiteral("undo"), QStringLiteral("Undo")},
        {QStringLiteral("redo"), QStringLiteral("Redo")},
        {QStringLiteral("resetfont"), QStringLiteral("Reset")},
        {QStringLiteral("bold"), QStringLiteral("B")},
        {QStringLiteral("italic"), QStringLiteral("I")},
        {QStringLiteral("underline"), QStringLiteral("U")},
        {QStringLiteral("strikethrough"), QStringLiteral("S")},
        {QStringLiteral("bulletlist"), QStringLiteral("Bullets")},
        {QStringLiteral("addattachment"), QStringLiteral("Attach")},
        {QStringLiteral("hyperlink"), QStringLiteral("Link")},
        {QStringLiteral("internet"), QStringLiteral("Internet")},
        {QStringLiteral("spell"), QStringLiteral("Spelling")},
        {QStringLiteral("history"), QStringLiteral("History")},
        {QStringLiteral("help"), QStringLiteral("Help")},
    };
    const QString key = QString::fromUtf8(b.key);
    return kShort.value(key, QString::fromUtf8(b.tooltip));
}

int placeholderWidth(const char* key) {
    const QString k = QString::fromUtf8(key);
    return k == QStringLiteral("send")       ? 855
           : k == QStringLiteral("reply")    ? 885
           : k == QStringLiteral("replyall") ? 1425
                                             : 1065;
}

} // namespace

void frmMessage::buildToolbars() {
    ImageList pictures;
    FillToolbarImages(pictures);
    const auto fill = [this, &pictures](QToolBar* bar, const auto& table) {
        bar->setIconSize(QSize(16, 16));
        for (const ToolbarButtonDef& b : table) {
            QAction* action = nullptr;
            if (b.style == Style::Placeholder) {
                // A gap of the button's width, over which the window puts that button.
                auto* gap = new QWidget(bar);
                gap->setFixedSize(TwipsToPixels(placeholderWidth(b.key)), TwipsToPixels(315));
                gap->setObjectName(QStringLiteral("placeholder"));
                gap->installEventFilter(this); // its button follows it

                action = bar->addWidget(gap);
            } else if (b.style == Style::Separator) {
                action = bar->addSeparator();
            } else {
                action = bar->addAction(caption(b));
                action->setToolTip(QString::fromUtf8(b.tooltip));
                // The edit bar's unnamed Delete goes by its tip.
                const QString picture = *b.key != '\0' ? QString::fromUtf8(b.key)
                                                       : QString::fromUtf8(b.tooltip).toLower();
                action->setIcon(QIcon(pictures.ListImages(picture)));
            }
            action->setObjectName(QString::fromUtf8(b.key));
            action->setData(QString::fromUtf8(b.tag));
            if (b.style == Style::DropDown) {
                auto* menu = new QMenu(this);
                for (int size = 1; size <= 7; ++size) {
                    QAction* item = menu->addAction(QStringLiteral("Size %1").arg(size));
                    item->setObjectName(QStringLiteral("fontsize%1").arg(size));
                    connect(item, &QAction::triggered, this,
                            [this, size] { SetBodyFontSize(size); });
                }
                action->setMenu(menu);
                if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
                    button->setPopupMode(QToolButton::MenuButtonPopup);
                }
            }
        }
        for (QAction* action : bar->actions()) {
            if (QWidget* w = bar->widgetForAction(action)) {
                w->setFocusPolicy(Qt::NoFocus); // the command acts where the user was typing
            }
        }
        connect(bar, &QToolBar::actionTriggered, this, [this](QAction* action) {
            if (action->menu() == nullptr || action->objectName() == QStringLiteral("font")) {
                DoToolbarCommand(action->objectName());
            }
        });
    };
    // The edit toolbar lies over the end of the main one and hides what is under it.
    toolBarEdit_->setAutoFillBackground(true);
    // The main bar keeps its captions beside the pictures; the edit bar's were only stand-ins.
    toolbarMain_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    fill(toolbarMain_, kMainButtons);
    fill(toolBarEdit_, kEditButtons);
    ToolbarCaptions::FitToWidth(toolbarMain_);
    const std::pair<const char*, QPushButton*> ownButtons[] = {{"send", cmdSend_},
                                                               {"reply", cmdReply_},
                                                               {"replyall", cmdReplyAll_},
                                                               {"forward", cmdForward_}};
    for (const auto& [key, button] : ownButtons) {
        button->setIcon(QIcon(pictures.ListImages(QString::fromUtf8(key))));
    }
}

QAction* frmMessage::EditToolbarButton(const QString& key) const {
    return toolBarEdit_->findChild<QAction*>(key.toLower(), Qt::FindDirectChildrenOnly);
}

void frmMessage::DoToolbarCommand(const QString& key) {
    const QString command = key.toLower();
    QWidget* focus = focusWidget();
    QLineEdit* subject = focus == txtSubject_ ? txtSubject_ : nullptr;
    BodyEditor* body = wbBody_->HoldsFocus(focus) ? wbBody_ : nullptr;
    if (command == QStringLiteral("save")) {
        SaveDetails();
    } else if (command == QStringLiteral("print")) {
        if (message_) {
            wbBody_->FlushChanges();
            PrintMessageFromTemplate(message_.get(), this);
        }
    } else if (command == QStringLiteral("delete")) {
        deleteMessage();
    } else if (command == QStringLiteral("addattachment")) {
        AttachFiles();
    } else if (command == QStringLiteral("movemessage")) {
        moveOrCopy(true);
    } else if (command == QStringLiteral("copymessage")) {
        wbBody_->FlushChanges();
        moveOrCopy(false);
    } else if (command == QStringLiteral("undo") || command == QStringLiteral("redo")) {
        const bool undo = command == QStringLiteral("undo");
        if (subject != nullptr &&
            (undo ? subject->isUndoAvailable() : subject->isRedoAvailable())) {
            undo ? subject->undo() : subject->redo();
        } else if (body != nullptr && editable_) {
            body->Command(command);
        }
    } else if (command == QStringLiteral("cut") || command == QStringLiteral("copy") ||
               command == QStringLiteral("paste")) {
        if (subject != nullptr) {
            command == QStringLiteral("cut")    ? subject->cut()
            : command == QStringLiteral("copy") ? subject->copy()
                                                : subject->paste();
        } else if (body != nullptr) {
            body->Command(command);
        }
    } else if (body != nullptr && editable_) {
        if (command == QStringLiteral("font")) {
            body->ChooseFont(this);
        } else if (command == QStringLiteral("hyperlink")) {
            body->ChooseLink(this);
            // Counted as an edit even when the dialog is cancelled or changes nothing.
            if (message_) {
                message_->SetEdited(true);
            }
        } else {
            body->Command(command);
        }
        SelectionChanged();
    }
}

void frmMessage::SelectionChanged() {
    const BodyStyles styles = wbBody_->Styles();
    const std::pair<const char*, int> states[] = {{"bold", styles.Bold},
                                                  {"italic", styles.Italic},
                                                  {"underline", styles.Underline},
                                                  {"strikethrough", styles.StrikeThrough}};
    for (const auto& [key, state] : states) {
        TriStateButton::SetState(toolBarEdit_, EditToolbarButton(QString::fromUtf8(key)), state);
    }
    EditToolbarButton(QStringLiteral("copy"))->setEnabled(styles.HasSelection);
    EditToolbarButton(QStringLiteral("cut"))->setEnabled(styles.HasSelection && editable_);
    EditToolbarButton(QStringLiteral("paste"))->setEnabled(editable_ && styles.CanPaste);
}

void frmMessage::SetBodyFontSize(int size) {
    if (!wbBody_->HoldsFocus(focusWidget()) || !editable_ || size < 1 || size > 7) {
        return;
    }
    wbBody_->SetFontSize(size);
}

void frmMessage::deleteMessage() {
    if (message_ && messagewindow::Delete(*message_, this)) {
        closeSelf();
    }
}

void frmMessage::moveOrCopy(bool move) {
    if (message_ && messagewindow::MoveOrCopy(*message_, move, this)) {
        closeSelf();
    }
}
