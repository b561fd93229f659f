#pragma once

#include <QtGlobal>

#include <functional>

class QComboBox;
class QRect;
class QString;
class QWidget;

// Helpers for forms and their controls.
class FormHelper {
public:
    // Selects the whole text of a text box, an editable combo box or a text editor; any
    // other control (or none) is left alone.
    static void SelectAllText(QWidget* control);
    // From now on, each time the control gets the focus (and wanted, when given, says yes at
    // that moment), its whole text is selected as SelectAllText does, once the focus event
    // and the click or key that brought the focus have been handled: a click places the caret
    // after the focus arrives, which would undo a selection made at once.
    static void SelectAllTextOnFocus(QWidget* control, std::function<bool()> wanted = nullptr);

    // A form's place, size and state, kept in the current user's configuration store under
    // key\<object name> ("Window" for a form without one): Left, Top, Width and Height in
    // pixels of its normal geometry (also while maximised or minimised) and State (0
    // normal, 1 minimised, 2 maximised).
    static void SaveWindowPlacement(const QString& key, QWidget* form);
    // A record that is missing or damaged (a value missing or not a number, a state other
    // than 0..2, a size below 200x150 or above 10000) leaves the form as it is. A place no
    // longer on any screen keeps its size but is centred on the primary screen. A
    // maximised form is shown maximised; a minimised one comes back normal.
    static void RestoreWindowPlacement(const QString& key, QWidget* form);

    // The same placement as one short text, "left,top,width,height,state" in pixels, for a
    // caller that keeps it elsewhere (a user's own settings). "" for no form.
    static QString GetPlacementText(QWidget* form);
    // Places the form as the text says, with RestoreWindowPlacement's checks: a text that is
    // not five whole numbers, or fails a check, leaves the form as it is; false then.
    static bool ApplyPlacementText(const QString& text, QWidget* form);

    // The index of the first item whose data, as a 32-bit integer, is itemData; -1 when
    // there is none (items without whole-number data never match) or no combo.
    static int ListIndexOfItemData(QComboBox* combo, qint32 itemData);

    // Whether at least 100x50 pixels of a window placed there would be on some screen.
    static bool IsPlacementOnScreen(const QRect& geometry);
};
