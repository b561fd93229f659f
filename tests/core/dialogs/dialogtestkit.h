#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

// Keys as a user presses them: to whatever control has the focus.
inline QWidget* Focused() {
    return QApplication::focusWidget();
}

inline void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = Focused();
    if (target != nullptr) {
        QTest::keyClick(target, key, modifiers);
    }
}

inline void Type(const QString& text) {
    QWidget* target = Focused();
    if (target != nullptr) {
        QTest::keyClicks(target, text);
    }
}

inline void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

template <typename T> T* Control(QWidget& form, const char* name) {
    return form.findChild<T*>(QString::fromLatin1(name));
}
