#include "playout/link/playoutline.h"

PlayoutLine PlayoutLine::Split(QStringView line) {
    // One pass over the line: the two blanks, then the commas between the trimmed ends.
    PlayoutLine p;
    const char16_t* const s = line.utf16();
    const qsizetype n = line.size();
    qsizetype q = 0;
    while (q < n && s[q] != u' ') {
        ++q;
    }
    if (q == n) {
        p.verb = line;
        return p;
    }
    p.hasBlank = true;
    p.verb = line.first(q);
    p.rest = line.sliced(q + 1);
    qsizetype u = q + 1;
    while (u < n && s[u] != u' ') {
        ++u;
    }
    p.object = line.sliced(q + 1, u - q - 1);
    if (u == n) {
        return p;
    }
    qsizetype from = u;
    qsizetype to = n;
    while (from < to && s[from] == u' ') {
        ++from;
    }
    while (to > from && s[to - 1] == u' ') {
        --to;
    }
    p.parameterText = line.sliced(from, to - from);
    if (from == to) {
        return p;
    }
    qsizetype field = from;
    for (qsizetype i = from; i < to; ++i) {
        if (s[i] == u',') {
            p.fields.append(line.sliced(field, i - field));
            field = i + 1;
        }
    }
    p.fields.append(line.sliced(field, to - field));
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
