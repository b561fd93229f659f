#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// One INPUT element of the rendered message list, as the page walk reads it.
struct MessageTickBox {
    QString name;
    bool checked = false;
};

// The word every tick box's name carries.
inline constexpr QStringView kTickBoxWord = u"MessageSelected";

// Whether an INPUT of this name is one of the list's tick boxes: "MessageSelected" anywhere in
// it, whatever the case. Unticking takes every such box, numbered or not.
bool IsMessageTickBoxName(QStringView name);

// The message reference a tick box's name carries: the leading number after
// "MessageSelected", the brackets ( ) [ ] < > / \ ignored, rounded halves to even. Nothing when
// there is no positive number or it does not fit 32 bits.
std::optional<qint32> TickBoxReference(QStringView name);

// The references of the ticked boxes in document order; duplicates stay.
QList<qint32> TickedMessageReferences(const QList<MessageTickBox>& boxes);

// The brackets a template may put around a message reference removed.
QString WithoutReferenceBrackets(QStringView text);

// The leading number of text (as the list reads references), rounded; 0 when there is none or
// it does not fit 32 bits.
qint32 LeadingReference(QStringView text);
