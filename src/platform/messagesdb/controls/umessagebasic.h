#pragma once

#include "platform/ui/panecontrol.h"

#include <memory>

class OrlixMessage;
class QLabel;
class QPlainTextEdit;

// A message in brief: its subject, sender, date and text. They come from listeners, so they
// are shown as plain text, whatever markup they hold: an HTML body shows its text, never its
// page.
class uMessageBasic : public PaneControl {
    Q_OBJECT
public:
    explicit uMessageBasic(QWidget* parent = nullptr);
    ~uMessageBasic() override;

    // None shows empty fields.
    std::shared_ptr<OrlixMessage> Message() const { return message_; }
    void SetMessage(const std::shared_ptr<OrlixMessage>& message);

    QLabel* lblSubject() const { return lblSubject_; }
    QLabel* lblFrom() const { return lblFrom_; }
    QLabel* lblDate() const { return lblDate_; }
    QPlainTextEdit* txtBody() const { return txtBody_; }

private:
    QLabel* lblSubject_;
    QLabel* lblFrom_;
    QLabel* lblDate_;
    QPlainTextEdit* txtBody_;
    std::shared_ptr<OrlixMessage> message_;
};
