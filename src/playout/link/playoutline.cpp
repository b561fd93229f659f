#include "playout/link/playoutline.h"

PlayoutLine PlayoutLine::Split(QStringView line) {
    PlayoutLine p;
    const qsizetype q = line.indexOf(QLatin1Char(' '));
    if (q < 0) {
        p.verb = line;
        return p;
    }
    p.hasBlank = true;
    p.verb = line.left(q);
    p.rest = line.mid(q + 1);
    const qsizetype u = line.indexOf(QLatin1Char(' '), q + 1);
    if (u < 0) {
        p.object = line.mid(q + 1);
        return p;
    }
    p.object = line.mid(q + 1, u - q - 1);
    p.parameterText = TrimBlanks(line.mid(u));
    if (!p.parameterText.isEmpty()) {
        qsizetype from = 0;
        for (;;) {
            const qsizetype comma = p.parameterText.indexOf(QLatin1Char(','), from);
            if (comma < 0) {
                p.fields.append(p.parameterText.mid(from));
                break;
            }
            p.fields.append(p.parameterText.mid(from, comma - from));
            from = comma + 1;
        }
    }
    return p;
}

QStringView PlayoutLine::FieldsFrom(qsizetype first) const {
    if (first >= fields.size()) {
        return {};
    }
    const qsizetype start = fields.at(first).data() - parameterText.data();
    return parameterText.mid(start);
}

QStringView TrimBlanks(QStringView text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == QLatin1Char(' ')) {
        ++from;
    }
    while (to > from && text.at(to - 1) == QLatin1Char(' ')) {
        --to;
    }
    return text.mid(from, to - from);
}
