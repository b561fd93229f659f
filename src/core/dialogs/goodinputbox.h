#pragma once

#include "platform/ui/colournumber.h"

#include <QIcon>
#include <QString>
#include <QStringList>
#include <QVariant>

class QWidget;

// The back colour every caller passes: the desktop's button face.
inline QVariant ButtonFaceColour() {
    return QVariant(static_cast<qlonglong>(ColourNumber::kSystemButtonFace));
}

// Asks for a free text. result: the text entered, "" when cancelled. maxLength 0 = no
// limit; a longer default is shown whole. passwordChar: when not "", its first character
// masks the text. Returns true when the user cancelled.
bool GoodInputBox(const QString& prompt, const QString& title, const QString& defaultText,
                  qint32 maxLength, QString& result, QWidget* owner = nullptr,
                  const QString& passwordChar = QString(), bool modal = true,
                  const QVariant& backColour = ButtonFaceColour(), const QIcon& icon = QIcon());

// Asks for one item of a list (multiple false: defaultValue is the text to preselect,
// result the chosen item's text) or any number of items (multiple true: defaultValue and
// result are 1-based numbers joined by ","). items must hold a QStringList; anything else
// leaves the list empty. result is "" when cancelled. Returns true when cancelled.
bool GoodInputBoxList(const QString& prompt, const QString& defaultValue, QString& result,
                      const QString& title, QWidget* owner, bool modal, const QVariant& items,
                      bool multiple, const QVariant& backColour = ButtonFaceColour(),
                      const QIcon& icon = QIcon());

// The single-choice list that also gives the chosen item's 0-based position in items
// (-1 when nothing was chosen or the user cancelled), so that a caller can keep a value
// beside each line however long or alike the lines are. Returns true when cancelled.
bool GoodInputBoxListIndex(const QString& prompt, const QString& defaultValue, QString& result,
                           int& chosenIndex, const QString& title, QWidget* owner, bool modal,
                           const QStringList& items,
                           const QVariant& backColour = ButtonFaceColour(),
                           const QIcon& icon = QIcon());
