#include "platform/ui/plainlabel.h"

#include <QLabel>

namespace PlainLabel {

QLabel* Create(QWidget* parent, const char* name, Qt::TextInteractionFlags interaction) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(interaction);
    label->setWordWrap(true);
    return label;
}

} // namespace PlainLabel
