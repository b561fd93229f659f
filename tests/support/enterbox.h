#pragma once

#include "support/waitfor.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <QWidget>

// How a user enters a text box: a click in it, or Tab from the control before it.
enum class Entry { Click, Tab };

inline const char* NameOf(Entry how) {
    return how == Entry::Click ? "click" : "Tab";
}

// Lets the events already queued run, as they do before the user's next key.
inline void LetQueuedEventsRun() {
    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&ran] { ran = true; }, Qt::QueuedConnection);
    WaitFor([&ran] { return ran; });
}

// The text the box shows: a line edit's, an editable combo box's or a text editor's.
inline QString BoxText(const QWidget* box) {
    if (const auto* line = qobject_cast<const QLineEdit*>(box)) {
        return line->text();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(box)) {
        return combo->currentText();
    }
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(box)) {
        return plain->toPlainText();
    }
    if (const auto* rich = qobject_cast<const QTextEdit*>(box)) {
        return rich->toPlainText();
    }
    return {};
}

// Enters the box of a shown, active window as the user would, with real mouse or key
// events; true when the box has the focus afterwards and the events the entry queued have run.
inline bool EnterBox(QWidget* box, Entry how) {
    if (how == Entry::Click) {
        QWidget* target = box;
        if (auto* combo = qobject_cast<QComboBox*>(box); combo != nullptr && combo->lineEdit()) {
            target = combo->lineEdit();
        } else if (auto* area = qobject_cast<QAbstractScrollArea*>(box)) {
            target = area->viewport();
        }
        // Into the text, away from a combo box's arrow.
        QTest::mouseClick(target, Qt::LeftButton, {},
                          QPoint(target->width() / 3, target->height() / 2));
    } else {
        // The control Tab comes from: the one before the box in the focus chain.
        QWidget* before = box->previousInFocusChain();
        while (before != box && (!(before->focusPolicy() & Qt::TabFocus) || !before->isVisible() ||
                                 !before->isEnabled() || box->isAncestorOf(before) ||
                                 before->focusProxy() != nullptr)) {
            before = before->previousInFocusChain();
        }
        before->setFocus(Qt::OtherFocusReason);
        if (!WaitFor([before] { return before->hasFocus(); })) {
            return false;
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    if (!WaitFor([box] { return box->hasFocus(); })) {
        return false;
    }
    LetQueuedEventsRun();
    return true;
}
