#pragma once

#include "platform/web/webeditor.h"
#include "scripts/scriptview.h"

#include "support/waitfor.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTest>
#include <QVariant>
#include <QWebEngineView>

// Drives the script view as the user does, and reads what the engine shows. Every call waits
// for the engine's answer.
namespace ScriptViewDriver {

inline bool Settled(ScriptView* view) {
    return WaitFor([view] { return !view->IsLoading(); });
}

inline QVariant Run(ScriptView* view, const QString& source) {
    if (view->Editor() == nullptr) {
        return {};
    }
    QVariant value;
    bool done = false;
    view->Editor()->RunInEditorWorld(source, [&](const QVariant& v) {
        value = v;
        done = true;
    });
    WaitFor([&] { return done; });
    return value;
}

// The text as shown, one line a paragraph (the engine's blank line between paragraphs
// folded), without a line break at the end.
inline QString Shown(ScriptView* view) {
    Settled(view);
    QString text = view->PlainText();
    text.replace(QRegularExpression(QStringLiteral("\n{2,}")), QStringLiteral("\n"));
    while (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    return text;
}

inline QWidget* Input(ScriptView* view) {
    if (view->Editor() == nullptr) {
        return view;
    }
    QWidget* proxy = view->Editor()->View()->focusProxy();
    return proxy != nullptr ? proxy : view->Editor()->View();
}

// The keyboard focus into the document; true once the document has it.
inline bool Focus(ScriptView* view) {
    QWidget* input = Input(view);
    if (!input->hasFocus()) {
        input->activateWindow();
        input->setFocus(Qt::MouseFocusReason);
    }
    return WaitFor([&] { return Run(view, QStringLiteral("document.hasFocus()")).toBool(); }, 5000);
}

// The characters start to end of the body's text selected (start == end: a caret); waits for
// the view's report of it.
inline bool Select(ScriptView* view, int start, int end) {
    const bool placed =
        Run(view, QStringLiteral(
                      "(function(s,e){var w=document.createTreeWalker(document.body,"
                      "NodeFilter.SHOW_TEXT);var p=0,r=document.createRange(),n,a=false,b=false;"
                      "if(s<0){r.selectNodeContents(document.body);r.collapse(false);a=b=true;}"
                      "while(!b&&(n=w.nextNode())){var l=n.data.length;"
                      "if(!a&&s<=p+l){r.setStart(n,s-p);a=true;}"
                      "if(a&&e<=p+l){r.setEnd(n,e-p);b=true;}p+=l;}"
                      "if(!b)return false;var g=getSelection();g.removeAllRanges();g.addRange(r);"
                      "if(s<0)g.modify('move','forward','documentboundary');"
                      "return true;})(%1,%2)")
                      .arg(start)
                      .arg(end))
            .toBool();
    if (!placed) {
        return false;
    }
    // Asked after the selection, the state answers for it (reports come in order).
    bool reported = false;
    view->Editor()->ReadState(view, [&](const WebEditorState&) { reported = true; });
    return WaitFor([&] { return reported; }, 5000);
}

// The caret where the user's Ctrl+End puts it.
inline bool CaretAtEnd(ScriptView* view) {
    return Select(view, -1, -1);
}

// Key presses for each character, into the engine; those without a key of their own come as
// text. In edit mode, waits until the text shows.
inline void Type(ScriptView* view, const QString& text) {
    QWidget* input = Input(view);
    Focus(view);
    // Scripts run in order: once this one has, the edit mode given before it holds.
    Run(view, QStringLiteral("true"));
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(input, ch.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(input, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(input, &release);
    }
    if (view->EditMode()) {
        WaitFor([&] { return Shown(view).contains(text); }, 5000);
    }
}

// The computed style of the text at a character: fontSize (px), fontWeight, fontStyle,
// color ("rgb(...)"), fontFamily.
inline QVariantMap StyleAt(ScriptView* view, int at) {
    return Run(view,
               QStringLiteral(
                   "(function(s){var w=document.createTreeWalker(document.body,"
                   "NodeFilter.SHOW_TEXT);var p=0,n;while((n=w.nextNode())){"
                   "if(s<p+n.data.length){var c=getComputedStyle(n.parentElement);"
                   "return {fontSize:parseFloat(c.fontSize),fontWeight:parseInt(c.fontWeight),"
                   "fontStyle:c.fontStyle,color:c.color,fontFamily:c.fontFamily};}"
                   "p+=n.data.length;}return {};})(%1)")
                   .arg(at))
        .toMap();
}

} // namespace ScriptViewDriver
