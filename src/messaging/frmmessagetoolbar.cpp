// The e-mail window's two toolbars and the one dispatcher every button goes through.
#include "messaging/frmmessage.h"

#include "core/printing/templateprinting.h"
#include "messaging/messagewindowcommands.h"
#include "messaging/safebodyview.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/fontconversion.h"
#include "platform/ui/imagelist.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/toolbarimages.h"
#include "platform/ui/twips.h"
#include "platform/ui/umessageaddress.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHash>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextList>
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
    SafeBodyView* body = focus == wbBody_ ? wbBody_ : nullptr;
    if (command == QStringLiteral("save")) {
        SaveDetails();
    } else if (command == QStringLiteral("print")) {
        if (message_) {
            PrintMessageFromTemplate(message_.get(), this);
        }
    } else if (command == QStringLiteral("delete")) {
        deleteMessage();
    } else if (command == QStringLiteral("addattachment")) {
        AttachFiles();
    } else if (command == QStringLiteral("movemessage")) {
        moveOrCopy(true);
    } else if (command == QStringLiteral("copymessage")) {
        moveOrCopy(false);
    } else if (command == QStringLiteral("undo") || command == QStringLiteral("redo")) {
        const bool undo = command == QStringLiteral("undo");
        if (subject != nullptr &&
            (undo ? subject->isUndoAvailable() : subject->isRedoAvailable())) {
            undo ? subject->undo() : subject->redo();
        } else if (body != nullptr && editable_) {
            undo ? body->undo() : body->redo();
        }
    } else if (command == QStringLiteral("cut") || command == QStringLiteral("copy") ||
               command == QStringLiteral("paste")) {
        if (subject != nullptr) {
            command == QStringLiteral("cut")    ? subject->cut()
            : command == QStringLiteral("copy") ? subject->copy()
                                                : subject->paste();
        } else if (body != nullptr) {
            command == QStringLiteral("cut")    ? body->cut()
            : command == QStringLiteral("copy") ? body->copy()
                                                : body->paste();
        }
    } else if (body != nullptr && editable_) {
        formatBody(command);
        SelectionChanged();
    }
}

void frmMessage::formatBody(const QString& command) {
    QTextCharFormat format;
    const QTextCharFormat current = wbBody_->currentCharFormat();
    if (command == QStringLiteral("bold")) {
        format.setFontWeight(current.fontWeight() > QFont::Normal ? QFont::Normal : QFont::Bold);
    } else if (command == QStringLiteral("italic")) {
        format.setFontItalic(!current.fontItalic());
    } else if (command == QStringLiteral("underline")) {
        format.setFontUnderline(!current.fontUnderline());
    } else if (command == QStringLiteral("strikethrough")) {
        format.setFontStrikeOut(!current.fontStrikeOut());
    } else if (command == QStringLiteral("bulletlist")) {
        QTextCursor cursor = wbBody_->textCursor();
        if (QTextList* list = cursor.currentList()) {
            // Pressed again: the paragraph leaves the list.
            QTextBlockFormat block = cursor.blockFormat();
            list->remove(cursor.block());
            block.setIndent(0);
            cursor.setBlockFormat(block);
        } else {
            cursor.createList(QTextListFormat::ListDisc);
        }
        return;
    } else if (command == QStringLiteral("font")) {
        const std::optional<FontAnswer> chosen = CommonDialogs().askFont(
            QStringLiteral("Font"), current.font(), false, current.foreground().color(), this);
        if (!chosen) {
            return;
        }
        format.setFont(chosen->font);
    } else if (command == QStringLiteral("hyperlink")) {
        // The link dialog is not there yet; the command still counts as an edit.
        if (message_) {
            message_->SetEdited(true);
        }
        return;
    } else {
        return;
    }
    wbBody_->mergeCurrentCharFormat(format);
}

namespace {

// 1 when every character of the selection has the style, -1 when some have, 0 when none; a
// caret: the style at the caret.
int selectionState(const QTextCursor& cursor,
                   const std::function<bool(const QTextCharFormat&)>& has) {
    if (!cursor.hasSelection()) {
        return has(cursor.charFormat()) ? 1 : 0;
    }
    QTextCursor walk(cursor.document());
    int with = 0;
    int without = 0;
    for (int at = cursor.selectionStart() + 1; at <= cursor.selectionEnd(); ++at) {
        walk.setPosition(at);
        (has(walk.charFormat()) ? with : without) += 1;
        if (with > 0 && without > 0) {
            return -1;
        }
    }
    return with > 0 ? 1 : 0;
}

} // namespace

void frmMessage::SelectionChanged() {
    const QTextCursor cursor = wbBody_->textCursor();
    const std::pair<const char*, std::function<bool(const QTextCharFormat&)>> styles[] = {
        {"bold", [](const QTextCharFormat& f) { return f.fontWeight() > QFont::Normal; }},
        {"italic", [](const QTextCharFormat& f) { return f.fontItalic(); }},
        {"underline", [](const QTextCharFormat& f) { return f.fontUnderline(); }},
        {"strikethrough", [](const QTextCharFormat& f) { return f.fontStrikeOut(); }},
    };
    for (const auto& [key, has] : styles) {
        QAction* action = EditToolbarButton(QString::fromUtf8(key));
        const int state = selectionState(cursor, has);
        action->setCheckable(true);
        action->setChecked(state == 1);
        action->setProperty("MixedState", state == -1);
        if (QWidget* button = toolBarEdit_->widgetForAction(action)) {
            button->setProperty("MixedState", state == -1);
        }
    }
    const bool selected = cursor.hasSelection();
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    const bool canPaste = clipboard != nullptr && (clipboard->hasText() || clipboard->hasHtml());
    EditToolbarButton(QStringLiteral("copy"))->setEnabled(selected);
    EditToolbarButton(QStringLiteral("cut"))->setEnabled(selected && editable_);
    EditToolbarButton(QStringLiteral("paste"))->setEnabled(editable_ && canPaste);
}

void frmMessage::SetBodyFontSize(int size) {
    if (focusWidget() != wbBody_ || !editable_ || size < 1 || size > 7) {
        return;
    }
    QTextCharFormat format;
    format.setFontPointSize(FontConversion::StepPointSize(size));
    wbBody_->mergeCurrentCharFormat(format);
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
