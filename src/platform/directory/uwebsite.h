#pragma once

#include "platform/directory/directorywebsite.h"

#include <QColor>
#include <QWidget>

#include <memory>

class PaneFrame;
class QLabel;

// One website of the directory: its caption and address, shown as plain text.
class uWebsite : public QWidget {
    Q_OBJECT
public:
    explicit uWebsite(QWidget* parent = nullptr);
    ~uWebsite() override;

    // None shows empty fields.
    std::shared_ptr<DirectoryWebsite> Website() const { return website_; }
    void SetWebsite(const std::shared_ptr<DirectoryWebsite>& website);
    QColor BackColour() const { return backColour_; }
    void SetBackColour(const QColor& colour);

    QLabel* lblCaption() const { return lblCaption_; }
    QLabel* lblAddress() const { return lblAddress_; }

private:
    PaneFrame* frame_;
    QLabel* lblCaption_;
    QLabel* lblAddress_;
    std::shared_ptr<DirectoryWebsite> website_;
    QColor backColour_;
};
