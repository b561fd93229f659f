#pragma once

class QWidget;

// Helpers for forms and their controls.
class FormHelper {
public:
    // Selects the whole text of a text box, an editable combo box or a text editor; any
    // other control (or none) is left alone.
    static void SelectAllText(QWidget* control);
};
