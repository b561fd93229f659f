#include "platform/web/scriptanswer.h"

#include <cmath>

namespace {
bool isNumber(const QVariant& answer) {
    switch (answer.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

// The number, rounded, when it lies in [low, high]; compared as a double before any cast, as
// a cast of a double outside the target's range is undefined.
std::optional<qint64> roundedWithin(const QVariant& answer, double low, double high) {
    if (!isNumber(answer)) {
        return std::nullopt;
    }
    const double value = answer.toDouble();
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double rounded = std::round(value);
    if (rounded < low || rounded > high) {
        return std::nullopt;
    }
    return static_cast<qint64>(rounded);
}
} // namespace

namespace ScriptAnswer {

std::optional<QString> Text(const QVariant& answer) {
    if (answer.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return answer.toString();
}

std::optional<bool> Flag(const QVariant& answer) {
    if (answer.typeId() != QMetaType::Bool) {
        return std::nullopt;
    }
    return answer.toBool();
}

std::optional<int> Number(const QVariant& answer, int low, int high) {
    const std::optional<qint64> n = roundedWithin(answer, low, high);
    if (!n) {
        return std::nullopt;
    }
    return static_cast<int>(*n);
}

std::optional<QVariantMap> Record(const QVariant& answer) {
    if (answer.typeId() != QMetaType::QVariantMap) {
        return std::nullopt;
    }
    return answer.toMap();
}

std::optional<QPoint> Position(const QVariant& answer) {
    if (answer.typeId() != QMetaType::QVariantList) {
        return std::nullopt;
    }
    const QVariantList xy = answer.toList();
    if (xy.size() != 2) {
        return std::nullopt;
    }
    const std::optional<qint64> x = roundedWithin(xy.at(0), -kMostPixels, kMostPixels);
    const std::optional<qint64> y = roundedWithin(xy.at(1), -kMostPixels, kMostPixels);
    if (!x || !y) {
        return std::nullopt;
    }
    return QPoint(static_cast<int>(*x), static_cast<int>(*y));
}

QList<DocumentInput> Inputs(const QVariant& answer) {
    QList<DocumentInput> inputs;
    if (answer.typeId() != QMetaType::QVariantList) {
        return inputs;
    }
    const QVariantList rows = answer.toList();
    inputs.reserve(rows.size());
    for (const QVariant& row : rows) {
        if (row.typeId() != QMetaType::QVariantList) {
            continue;
        }
        const QVariantList pair = row.toList();
        if (pair.size() != 2) {
            continue;
        }
        const std::optional<QString> name = Text(pair.at(0));
        const std::optional<bool> checked = Flag(pair.at(1));
        if (name && checked) {
            inputs.append({*name, *checked});
        }
    }
    return inputs;
}

} // namespace ScriptAnswer
