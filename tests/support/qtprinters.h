#pragma once

// Readable failure messages for Qt values in every test program (included by the build).
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i) {
        *os << (i == 0 ? "" : ", ") << '"' << list.at(i).toStdString() << '"';
    }
    *os << '}';
}
