#include "platform/web/uwebbrowser.h"

#include "platform/web/webbrowser.h"

#include <QFrame>
#include <QVBoxLayout>

uWebBrowser::uWebBrowser(QWidget* parent) : QWidget(parent), placeholder_(new QFrame(this)) {
    setObjectName(QStringLiteral("uWebBrowser"));
    placeholder_->setObjectName(QStringLiteral("fraPlaceholder"));
    placeholder_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    placeholder_->setBackgroundRole(QPalette::Base);
    placeholder_->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(placeholder_);
}

uWebBrowser::~uWebBrowser() = default;

void uWebBrowser::AllowFolder(const QString& folder) {
    if (folder.isEmpty()) {
        return;
    }
    if (!folders_.contains(folder)) {
        folders_ << folder;
    }
    if (browser_) {
        browser_->AllowFolder(folder);
    }
}

WebBrowser* uWebBrowser::Browser() const {
    return browser_.data();
}

WebBrowser* uWebBrowser::browser() {
    if (browser_) {
        return browser_;
    }
    auto* made = new WebBrowser(this);
    made->setObjectName(QStringLiteral("WebBrowser"));
    for (const QString& folder : std::as_const(folders_)) {
        made->AllowFolder(folder);
    }
    layout()->replaceWidget(placeholder_, made);
    placeholder_->hide();
    made->show();
    browser_ = made;
    return made;
}

bool uWebBrowser::Navigate(const QString& target) {
    currentPath_ = target;
    if (target.trimmed().isEmpty()) {
        return false;
    }
    return browser()->Navigate(target);
}

void uWebBrowser::ClearDocument() {
    currentPath_.clear();
    if (browser_) {
        browser_->Navigate(QStringLiteral("about:blank"));
    }
}
