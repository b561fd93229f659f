#pragma once

#include <QComboBox>

// An editable combo box that tells a pick from its list apart from the end of typing.
//
// Qt's own editable combo box, when its edit box finishes (the focus leaves it, or Return),
// selects the first entry whose text equals the typed one and reports that as a pick. For a
// name that two entries share, that is the first of them, picked without the user ever
// choosing it. Here the end of typing is only announced: the owner decides what the typed
// text names. A pick is the user's own: a click in the pop-up list, or the arrow keys or
// wheel stepping through the entries.
//
// How the entries are held (items added one by one or a model of any size) is no concern of
// this class: it never searches them.
class PickComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit PickComboBox(QWidget* parent = nullptr);
    ~PickComboBox() override;

Q_SIGNALS:
    // The user picked the entry at index from the list.
    void EntryPicked(int index);
    // The user ended typing: the focus left the field, or Return was pressed in it. Return
    // goes on to the window's default button afterwards.
    void TypingFinished();
};
