#pragma once

#include "platform/ui/panecontrol.h"

#include <memory>

class OrlixMessage;
class QLabel;

// A message in brief: its subject and sender. Both come from listeners, so they are shown as
// plain text, whatever markup they hold.
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

private:
    QLabel* lblSubject_;
    QLabel* lblFrom_;
    std::shared_ptr<OrlixMessage> message_;
};
