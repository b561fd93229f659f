#pragma once

#include <QChar>
#include <QString>

// Expected texts of the tests write the isolate that the display rule puts around a field as
// « and »; Marked turns them into the first-strong isolate (U+2068) and its end (U+2069).
inline QString Marked(QString text) {
    return text.replace(QChar(0x00AB), QChar(0x2068)).replace(QChar(0x00BB), QChar(0x2069));
}

// The marks of a shown text written back as « and », for readable failure messages.
inline QString Unmarked(QString text) {
    return text.replace(QChar(0x2068), QChar(0x00AB)).replace(QChar(0x2069), QChar(0x00BB));
}
