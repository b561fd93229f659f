#pragma once

#include <QString>

#include <functional>

class QBoxLayout;
class QDialog;
class QFormLayout;
class QLineEdit;

// The parts the directory's own dialogs share, so that their fields, buttons and checks look
// and answer alike. The dialogs are shown through the program's one dialog seam (RunDialog).

// A line edit named name on a new row of form; a secret one shows no characters.
QLineEdit* AddDirectoryEdit(QDialog& dialog, QFormLayout& form, const char* name,
                            const QString& label, bool secret);

// OK ("cmdOK", the default button) and Cancel ("cmdCancel") at the foot of layout. OK calls
// onOK, which accepts the dialog once its fields are right; Cancel rejects it.
void AddOkCancel(QDialog& dialog, QBoxLayout& layout, const std::function<void()>& onOK);

// False after asking for the field, with the cursor put in it, when it is empty or blank.
bool RequireText(QDialog& dialog, QLineEdit& edit, const QString& request);

// False after saying so, with both fields cleared for a new try, when the password and its
// confirmation differ.
bool PasswordsAgree(QDialog& dialog, QLineEdit& password, QLineEdit& confirm);
