#include "playout/link/playoutline.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <limits>

namespace {
QStringList fieldsOf(const PlayoutLine& p) {
    QStringList list;
    for (const QStringView f : p.fields) {
        list << f.toString();
    }
    return list;
}
} // namespace

TEST(PlayoutLine, SplitsIntoVerbObjectParameterTextAndFields) {
    struct Case {
        QString line, verb, rest, object, parameterText;
        QStringList fields;
        bool hasBlank;
    };
    const QList<Case> cases = {
        {"SET PLAYER STATUS,1,5,A, B",
         "SET",
         "PLAYER STATUS,1,5,A, B",
         "PLAYER",
         "STATUS,1,5,A, B",
         {"STATUS", "1", "5", "A", " B"},
         true},
        {"SCRIPT  two  blanks ",
         "SCRIPT",
         " two  blanks ",
         "",
         "two  blanks",
         {"two  blanks"},
         true},
        {"SET NUMBERPLAYERS", "SET", "NUMBERPLAYERS", "NUMBERPLAYERS", "", {}, true},
        {"SET LOG   ", "SET", "LOG   ", "LOG", "", {}, true},
        {"SET LOG ,,", "SET", "LOG ,,", "LOG", ",,", {"", "", ""}, true},
        {"WEBSITE", "WEBSITE", "", "", "", {}, false},
        {"", "", "", "", "", {}, false},
        {"X Y \tZ\t", "X", "Y \tZ\t", "Y", "\tZ\t", {"\tZ\t"}, true},
    };
    for (const Case& c : cases) {
        const PlayoutLine p = PlayoutLine::Split(c.line);
        EXPECT_EQ(p.verb.toString(), c.verb) << c.line.toStdString();
        EXPECT_EQ(p.rest.toString(), c.rest) << c.line.toStdString();
        EXPECT_EQ(p.object.toString(), c.object) << c.line.toStdString();
        EXPECT_EQ(p.parameterText.toString(), c.parameterText) << c.line.toStdString();
        EXPECT_EQ(fieldsOf(p), c.fields) << c.line.toStdString();
        EXPECT_EQ(p.FieldsFrom(1).toString(), c.fields.mid(1).join(',')) << c.line.toStdString();
        EXPECT_EQ(p.hasBlank, c.hasBlank) << c.line.toStdString();
    }
}

TEST(PlayoutLine, RoundsHalvesToEvenAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(ToInteger16(2.5), qint16(2));
    EXPECT_EQ(ToInteger16(3.5), qint16(4));
    EXPECT_EQ(ToInteger16(-2.5), qint16(-2));
    EXPECT_EQ(ToInteger16(32767.0), qint16(32767));
    EXPECT_EQ(ToInteger16(32767.5), std::nullopt);
    EXPECT_EQ(ToInteger16(-32768.0), qint16(-32768));
    EXPECT_EQ(ToInteger16(40000.0), std::nullopt);
    EXPECT_EQ(ToInteger32(2147483647.0), qint32(2147483647));
    EXPECT_EQ(ToInteger32(2147483648.0), std::nullopt);
    EXPECT_EQ(ToInteger32(std::numeric_limits<double>::infinity()), std::nullopt);
}

TEST(PlayoutLine, FindsBlanksAndCommasWhereverTheyFall) {
    // Blanks and commas at every place of texts around the width a scan takes in one step.
    const QString letters = QStringLiteral("abcdefghijklmnopq");
    for (qsizetype length = 1; length <= letters.size(); ++length) {
        for (qsizetype at = 0; at < length; ++at) {
            QString parameters = letters.left(length);
            parameters[at] = QLatin1Char(',');
            QString verb = letters.left(length);
            verb[at] = QLatin1Char(' ');
            const QString line = verb + QStringLiteral(" OBJECT ") + parameters;
            const PlayoutLine p = PlayoutLine::Split(line);
            const qsizetype first = line.indexOf(QLatin1Char(' '));
            const qsizetype second = line.indexOf(QLatin1Char(' '), first + 1);
            EXPECT_EQ(p.verb.toString(), line.left(first)) << line.toStdString();
            EXPECT_EQ(p.object.toString(), line.mid(first + 1, second - first - 1))
                << line.toStdString();
            EXPECT_EQ(fieldsOf(p), line.mid(second).trimmed().split(QLatin1Char(',')))
                << line.toStdString();
        }
    }
}

TEST(PlayoutLine, FindsEveryCommaOfARunOfThem) {
    // Every pattern of commas over twelve places, shifted across the width a scan takes in one
    // step, so that several commas fall in one step and runs of them cross from one to the next.
    for (int shift = 0; shift < 8; ++shift) {
        for (int pattern = 0; pattern < (1 << 12); ++pattern) {
            QString parameters = QString(shift, QLatin1Char('p'));
            for (int at = 0; at < 12; ++at) {
                parameters += (pattern & (1 << at)) != 0 ? QLatin1Char(',') : QLatin1Char('a' + at);
            }
            const QString line = QStringLiteral("SET LOG ") + parameters;
            const PlayoutLine p = PlayoutLine::Split(line);
            ASSERT_EQ(fieldsOf(p), parameters.split(QLatin1Char(','))) << parameters.toStdString();
        }
    }
}
