#include "platform/ui/fontresolution.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {
// One CSS family name, quoted: unquoted, a face whose words begin with a generic family
// ("Serif Display", "Monospace 821") is no font name at all and the engine ignores it.
QString quoted(const QString& family) {
    QString name = family;
    name.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString genericFamily(const QString& drawn) {
    if (QFontDatabase::isFixedPitch(drawn)) {
        return QStringLiteral("monospace");
    }
    const QString lower = drawn.toLower();
    if (lower.contains(QLatin1String("serif")) && !lower.contains(QLatin1String("sans"))) {
        return QStringLiteral("serif");
    }
    return QStringLiteral("sans-serif");
}
} // namespace

namespace FontResolution {

QString DrawnFamily(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) {
        return QString();
    }
    return QFontInfo(QFont(trimmed)).family();
}

QFont AsDrawn(const QFont& font) {
    QFont drawn = font;
    const QFontInfo info(font);
    drawn.setFamily(info.family());
    // The face's own name for its style ("Book", "Oblique"): a chooser that looks the style up
    // by the generic name ("Normal") may not find it and pick another.
    drawn.setStyleName(info.styleName());
    // Whole points, as a chooser lists and gives back its sizes.
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : info.pointSizeF();
    if (points > 0) {
        drawn.setPointSizeF(std::max(1.0, std::round(points)));
    }
    return drawn;
}

bool SameChoice(const QFont& a, const QFont& b) {
    return a.family().compare(b.family(), Qt::CaseInsensitive) == 0 &&
           std::abs(AsDrawn(a).pointSizeF() - AsDrawn(b).pointSizeF()) < 0.05 &&
           a.bold() == b.bold() && a.italic() == b.italic() && a.underline() == b.underline() &&
           a.strikeOut() == b.strikeOut();
}

QString CssFamilies(const QString& name) {
    const QString stored = name.trimmed();
    if (stored.isEmpty()) {
        return QString();
    }
    const QString drawn = DrawnFamily(stored);
    QStringList families{quoted(stored)};
    if (!drawn.isEmpty() && drawn.compare(stored, Qt::CaseInsensitive) != 0) {
        families << quoted(drawn);
    }
    families << genericFamily(drawn.isEmpty() ? stored : drawn);
    return families.join(QStringLiteral(", "));
}

} // namespace FontResolution
