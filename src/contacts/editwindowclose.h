#pragma once

#include <QString>

#include <functional>

class QCloseEvent;
class QDialog;
class QPushButton;

// How an edit window of this folder closes. OK saves and closes; Apply saves; Cancel, Esc and
// the close box come to Close, which asks whether to save an edited object first: Yes saves
// (a failed save keeps the window), No closes, Cancel keeps it. Once the window saved or
// deleted its object, it closes without the question.
class EditWindowClose {
public:
    // edited: whether the shown object has unsaved edits; save: stores it, true when stored.
    EditWindowClose(QDialog* window, QString question, std::function<bool()> edited,
                    std::function<bool()> save);

    void ConnectButtons(QPushButton* ok, QPushButton* apply, QPushButton* cancel);
    // Closes without the question (the object was saved or is gone).
    void CloseWithoutAsking();
    // From the window's closeEvent: accepts or ignores the event; true when it closes.
    bool Close(QCloseEvent* event);

private:
    bool mayClose();

    QDialog* window_;
    QString question_;
    std::function<bool()> edited_;
    std::function<bool()> save_;
    bool closing_ = false;
};
