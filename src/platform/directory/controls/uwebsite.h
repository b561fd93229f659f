#pragma once

#include "platform/directory/directorywebsite.h"
#include "platform/ui/panecontrol.h"

#include <memory>

class QLabel;

// One website of the directory: its caption and address, shown as plain text.
class uWebsite : public PaneControl {
    Q_OBJECT
public:
    explicit uWebsite(QWidget* parent = nullptr);
    ~uWebsite() override;

    // None shows empty fields.
    std::shared_ptr<DirectoryWebsite> Website() const { return website_; }
    void SetWebsite(const std::shared_ptr<DirectoryWebsite>& website);

    QLabel* lblCaption() const { return lblCaption_; }
    QLabel* lblAddress() const { return lblAddress_; }

private:
    QLabel* lblCaption_;
    QLabel* lblAddress_;
    std::shared_ptr<DirectoryWebsite> website_;
};
