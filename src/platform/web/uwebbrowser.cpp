#include "platform/web/uwebbrowser.h"

#include "platform/web/documentwalk.h"
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
    made->SetCommandLinks(commandLinks_);
    connect(made, &WebBrowser::LoadFinished, this, &uWebBrowser::LoadFinished);
    connect(made, &WebBrowser::BeforeNavigate, this, &uWebBrowser::BeforeNavigate);
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

void uWebBrowser::SetCommandLinks(bool on) {
    commandLinks_ = on;
    if (browser_) {
        browser_->SetCommandLinks(on);
    }
}

bool uWebBrowser::IsLoading() const {
    return browser_ && browser_->IsLoading();
}

void uWebBrowser::ReadInputs(QObject* context,
                             std::function<void(const QList<DocumentInput>&)> done) {
    if (!browser_) {
        if (done) {
            done({});
        }
        return;
    }
    browser_->ReadInputs(context, std::move(done));
}

void uWebBrowser::SetInputsChecked(const QStringList& names, bool checked) {
    if (browser_) {
        browser_->SetInputsChecked(names, checked);
    }
}

void uWebBrowser::UncheckInputsContaining(const QString& part) {
    if (browser_) {
        browser_->UncheckInputsContaining(part);
    }
}

void uWebBrowser::ReadScrollPosition(QObject* context, std::function<void(QPoint)> done) {
    if (!browser_) {
        if (done) {
            done({});
        }
        return;
    }
    browser_->ReadScrollPosition(context, std::move(done));
}

void uWebBrowser::SetScrollPosition(QPoint position) {
    if (browser_) {
        browser_->SetScrollPosition(position);
    }
}
