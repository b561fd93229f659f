#include "core/storequestions.h"

namespace StoreQuestions {

QString ChangedElsewhere(const QString& item) {
    return item + QStringLiteral(
                      " has been changed on another computer since you opened it.\n\n"
                      "Do you want to replace it with your version?\n\n"
                      "Choose No to see the other computer's version instead, or Cancel to keep "
                      "your changes unsaved.");
}

QString DeletedElsewhere(const QString& item, const QString& kind) {
    return item + QStringLiteral(" has been deleted on another computer since you opened it.\n\n"
                                 "Do you want to save your version as a new %1?")
                      .arg(kind);
}

QString CouldNotBeSaved(const QString& item, const QString& reason) {
    QString sentence = reason.trimmed();
    if (!sentence.isEmpty() && !sentence.endsWith(QLatin1Char('.')) &&
        !sentence.endsWith(QLatin1Char('!')) && !sentence.endsWith(QLatin1Char('?'))) {
        sentence += QLatin1Char('.');
    }
    QString text = item + QStringLiteral(" could not be saved.");
    if (!sentence.isEmpty()) {
        text += QStringLiteral("\n\n") + sentence;
    }
    return text;
}

QString Named(const QString& kind, const QString& name) {
    return QStringLiteral("The %1 '%2'").arg(kind, name);
}

} // namespace StoreQuestions
