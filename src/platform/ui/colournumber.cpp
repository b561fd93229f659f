#include "platform/ui/colournumber.h"

#include <QGuiApplication>
#include <QPalette>

namespace ColourNumber {

QColor ToColour(quint32 number) {
    if ((number & 0x80000000U) != 0) {
        const QPalette palette = QGuiApplication::palette();
        switch (number) {
        case kSystemWindow:
            return palette.color(QPalette::Base);
        case kSystemButtonFace:
            return palette.color(QPalette::Button);
        case kSystemButtonShadow:
            return palette.color(QPalette::Dark);
        case kSystemButtonHighlight:
            return palette.color(QPalette::Light);
        default:
            return {};
        }
    }
    if ((number & 0xFF000000U) != 0) {
        return {};
    }
    return QColor(static_cast<int>(number & 0xFFU), static_cast<int>((number >> 8) & 0xFFU),
                  static_cast<int>((number >> 16) & 0xFFU));
}

QColor FromVariant(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QColor:
        return value.value<QColor>();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        // A Long holding a desktop colour is negative; its 32 bits are the number.
        return ToColour(static_cast<quint32>(value.toLongLong() & 0xFFFFFFFFLL));
    default:
        return {};
    }
}

} // namespace ColourNumber
