#pragma once

#include "platform/directory/directorywebsite.h"
#include "platform/ui/panecontrol.h"

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class WebsiteView;

// One website of the directory: its caption and address as plain text, an address box, an
// "Add to Websites" button and the page itself, in a web view made when a page is first shown.
//
// Event: AddToWebsites (address, title) when the button is pressed while a page shows: the
// page's address and title, trimmed, at most 200 characters each.
class uWebsite : public PaneControl {
    Q_OBJECT
public:
    explicit uWebsite(QWidget* parent = nullptr);
    ~uWebsite() override;

    // None shows empty fields.
    std::shared_ptr<DirectoryWebsite> Website() const { return website_; }
    void SetWebsite(const std::shared_ptr<DirectoryWebsite>& website);

    // Shows the website and loads its address; an unsaved one empties the address box for
    // the user to type in (Enter loads it; a bare host is given "https://").
    void ShowWebsite(const std::shared_ptr<DirectoryWebsite>& website);
    // Loads an http or https address, which is no directory website: the caption and address
    // of one shown before are cleared. Anything else is refused (logged) and changes nothing.
    bool ShowWebAddress(const QString& address);

    QLabel* lblCaption() const { return lblCaption_; }
    QLabel* lblAddress() const { return lblAddress_; }
    QLineEdit* txtAddress() const { return txtAddress_; }
    QPushButton* cmdAddToWebsites() const { return cmdAddToWebsites_; }
    // Null until a page is first shown.
    WebsiteView* WebView() const { return view_; }

Q_SIGNALS:
    void AddToWebsites(const QString& address, const QString& title);

private:
    WebsiteView* view();
    bool load(const QUrl& url);
    void onAddressEntered();
    void onAddClicked();
    void followPage();

    QLabel* lblCaption_;
    QLabel* lblAddress_;
    QLineEdit* txtAddress_;
    QPushButton* cmdAddToWebsites_;
    WebsiteView* view_ = nullptr; // a child, made on first use
    std::shared_ptr<DirectoryWebsite> website_;
};
