#include "platform/directory/controls/uwebsite.h"

#include "platform/system/platformlog.h"
#include "platform/ui/eventguard.h"
#include "platform/ui/paneframe.h"
#include "platform/ui/plainlabel.h"
#include "platform/web/websiteaddresspolicy.h"
#include "platform/web/websiteview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

uWebsite::uWebsite(QWidget* parent)
    : PaneControl(tr("Website"), parent),
      lblCaption_(PlainLabel::Create(Frame(), "lblCaption", Qt::TextSelectableByMouse)),
      lblAddress_(PlainLabel::Create(Frame(), "lblAddress", Qt::TextSelectableByMouse)),
      txtAddress_(new QLineEdit(Frame())), cmdAddToWebsites_(new QPushButton(Frame())) {
    setObjectName(QStringLiteral("uWebsite"));
    txtAddress_->setObjectName(QStringLiteral("txtAddress"));
    txtAddress_->setPlaceholderText(tr("Type a web address and press Enter"));
    cmdAddToWebsites_->setObjectName(QStringLiteral("cmdAddToWebsites"));
    cmdAddToWebsites_->setText(tr("Add to Websites"));
    cmdAddToWebsites_->setEnabled(false);
    Frame()->AddWidget(lblCaption_);
    Frame()->AddWidget(lblAddress_);
    auto* bar = new QWidget(Frame());
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(txtAddress_, 1);
    row->addWidget(cmdAddToWebsites_);
    Frame()->AddWidget(bar);
    connect(txtAddress_, &QLineEdit::returnPressed, this,
            [this] { GuardEvent("loading a typed address", [this] { onAddressEntered(); }); });
    connect(cmdAddToWebsites_, &QPushButton::clicked, this,
            [this] { GuardEvent("adding a website", [this] { onAddClicked(); }); });
}

uWebsite::~uWebsite() = default;

void uWebsite::SetWebsite(const std::shared_ptr<DirectoryWebsite>& website) {
    website_ = website;
    lblCaption_->setText(website_ ? website_->Caption() : QString());
    lblAddress_->setText(website_ ? website_->Address() : QString());
}

WebsiteView* uWebsite::view() {
    if (view_ == nullptr) {
        view_ = new WebsiteView(Frame());
        Frame()->AddWidget(view_, 1);
        connect(view_, &WebsiteView::PageChanged, this, [this] { followPage(); });
    }
    return view_;
}

void uWebsite::followPage() {
    const bool page = view_ != nullptr && WebsiteAddressPolicy::MayShow(view_->Url());
    cmdAddToWebsites_->setEnabled(page);
    if (page && !txtAddress_->hasFocus()) {
        txtAddress_->setText(view_->Url().toString());
    }
}

bool uWebsite::load(const QUrl& url) {
    if (!WebsiteAddressPolicy::MayShow(url)) {
        PlatformLog(QStringLiteral("Refused to show '") +
                        url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery) +
                        QStringLiteral("' in the website view"),
                    10);
        return false;
    }
    txtAddress_->setText(url.toString());
    return view()->Load(url);
}

void uWebsite::ShowWebsite(const std::shared_ptr<DirectoryWebsite>& website) {
    SetWebsite(website);
    if (!website || (website->Reference() <= 0 && website->Address().trimmed().isEmpty())) {
        txtAddress_->clear();
        txtAddress_->setFocus();
        return;
    }
    load(WebsiteAddressPolicy::FromTyped(website->Address()));
}

bool uWebsite::ShowWebAddress(const QString& address) {
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!WebsiteAddressPolicy::MayShow(url)) {
        return load(url); // refused and logged there; what showed stays
    }
    // The page is no directory website: an earlier one's caption and address would name it
    // wrongly.
    SetWebsite(nullptr);
    return load(url);
}

void uWebsite::onAddressEntered() {
    const QUrl url = WebsiteAddressPolicy::FromTyped(txtAddress_->text());
    if (!url.isValid()) {
        PlatformLog(QStringLiteral("Refused a typed address in the website view"), 10);
        return;
    }
    load(url);
}

void uWebsite::onAddClicked() {
    if (view_ == nullptr || !WebsiteAddressPolicy::MayShow(view_->Url())) {
        return;
    }
    Q_EMIT AddToWebsites(WebsiteAddressPolicy::Bounded(view_->Url().toString()),
                         WebsiteAddressPolicy::Bounded(view_->Title()));
}
