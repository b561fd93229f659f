#pragma once

#include <QString>

// The line a contact gets in the look-up's choice list: the name, then " (" & company & ")"
// when the contact has a company. The contact's reference is kept beside the line, by its
// position in the list, never inside the text.
QString ContactChoiceLine(const QString& name, const QString& company);
