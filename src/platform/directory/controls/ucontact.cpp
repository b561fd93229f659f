#include "platform/directory/controls/ucontact.h"

#include "platform/system/platformlog.h"
#include "platform/ui/backcolour.h"
#include "platform/ui/twips.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

namespace {
// The tab page's rectangle as the tab widget itself lays its pages out, also before the
// control is first shown.
class ContactTabs : public QTabWidget {
public:
    using QTabWidget::QTabWidget;
    QRect PageRect() const {
        QStyleOptionTabWidgetFrame option;
        initStyleOption(&option);
        return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
    }
};
} // namespace

uContact::uContact(QWidget* parent) : QWidget(parent), tabs_(new ContactTabs(this)) {
    setObjectName(QStringLiteral("uContact"));
    tabs_->setObjectName(QStringLiteral("tabContact"));

    auto* details = new QWidget(tabs_);
    new QFormLayout(details);
    field(details, "txtName", tr("Name:"));
    field(details, "txtCompany", tr("Company:"));
    field(details, "txtLoginName", tr("Login name:"));

    auto* address = new QWidget(tabs_);
    auto* addressLayout = new QFormLayout(address);
    txtAddress_ = new QPlainTextEdit(address);
    txtAddress_->setObjectName(QStringLiteral("txtAddress"));
    txtAddress_->setReadOnly(true);
    txtAddress_->setTabChangesFocus(true);
    addressLayout->addRow(tr("Address:"), txtAddress_);

    auto* numbers = new QWidget(tabs_);
    new QFormLayout(numbers);
    field(numbers, "txtPhoneNumber1", tr("Phone:"));
    field(numbers, "txtPhoneNumber2", tr("Phone 2:"));
    field(numbers, "txtMobileNumber", tr("Mobile:"));
    field(numbers, "txtOtherNumber", tr("Other:"));

    auto* email = new QWidget(tabs_);
    new QFormLayout(email);
    field(email, "txtEmail1", tr("E-mail:"));
    field(email, "txtEmail2", tr("E-mail 2:"));
    field(email, "txtEmail3", tr("E-mail 3:"));

    const std::pair<QWidget*, QString> own[] = {
        {details, tr("Details")},
        {address, tr("Address")},
        {numbers, tr("Numbers")},
        {email, tr("E-mail")},
    };
    int number = 0;
    for (const auto& [page, caption] : own) {
        tabs_->addTab(page, caption);
        pages_.insert(number++, page);
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int) {
        const int tab = CurrentTab();
        if (tab >= 0) {
            Q_EMIT TabChanged(tab);
        }
    });
    resize(TwipsToPixels(5000), TwipsToPixels(4000));
    fill();
}

uContact::~uContact() = default;

QLineEdit* uContact::field(QWidget* page, const char* name, const QString& label) {
    auto* edit = new QLineEdit(page);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    static_cast<QFormLayout*>(page->layout())->addRow(label, edit);
    fields_.insert(QString::fromLatin1(name), edit);
    return edit;
}

void uContact::SetContact(const ContactPtr& contact) {
    contact_ = contact;
    fill();
}

void uContact::fill() {
    const DirectoryContact empty;
    const DirectoryContact& c = contact_ ? *contact_ : empty;
    const std::pair<const char*, QString> values[] = {
        {"txtName", c.Name()},
        {"txtCompany", c.Company()},
        {"txtLoginName", c.LoginName()},
        {"txtPhoneNumber1", c.PhoneNumber1()},
        {"txtPhoneNumber2", c.PhoneNumber2()},
        {"txtMobileNumber", c.MobileNumber()},
        {"txtOtherNumber", c.OtherNumber()},
        {"txtEmail1", c.Email1()},
        {"txtEmail2", c.Email2()},
        {"txtEmail3", c.Email3()},
    };
    for (const auto& [name, value] : values) {
        if (QLineEdit* edit = fields_.value(QString::fromLatin1(name))) {
            edit->setText(value);
            edit->setCursorPosition(0);
        }
    }
    txtAddress_->setPlainText(DirectoryContact::AddressLines(c.Address()).join(u'\n'));
}

void uContact::SetBackColour(const QColor& colour) {
    backColour_ = colour;
    PaintBackColour(this, colour);
}

void uContact::SetMaxTabs(int count) {
    maxTabs_ = std::clamp(count, kOwnTabs, kTabLimit);
}

void uContact::SetCustomTabs(int count) {
    customTabs_ = std::clamp(count, 0, kTabLimit - kOwnTabs);
}

bool uContact::AddTab(int number, const QString& caption) {
    const int last = std::min(maxTabs_, kOwnTabs + customTabs_) - 1;
    if (number < kOwnTabs || number > last) {
        PlatformLog(QStringLiteral("Contact control: tab %1 \"%2\" refused (host tabs %3 to %4)")
                        .arg(number)
                        .arg(caption)
                        .arg(kOwnTabs)
                        .arg(last));
        return false;
    }
    if (QWidget* page = pages_.value(number)) {
        tabs_->setTabText(tabs_->indexOf(page), caption);
        return true;
    }
    // The host lays its own controls over the page: it stays empty here.
    auto* page = new QWidget(tabs_);
    page->setObjectName(QStringLiteral("tabPage%1").arg(number));
    // Shown in number order, whatever order the host adds them in.
    int index = tabs_->count();
    for (auto it = pages_.cbegin(); it != pages_.cend(); ++it) {
        if (it.key() > number) {
            index = std::min(index, tabs_->indexOf(it.value()));
        }
    }
    const QSignalBlocker quiet(tabs_); // adding a tab is not the user changing tabs
    tabs_->insertTab(index, page, caption);
    pages_.insert(number, page);
    return true;
}

bool uContact::HasTab(int number) const {
    return pages_.contains(number);
}

QString uContact::TabCaption(int number) const {
    QWidget* page = pages_.value(number);
    return page != nullptr ? tabs_->tabText(tabs_->indexOf(page)) : QString();
}

QList<int> uContact::TabNumbers() const {
    QList<int> out;
    for (int i = 0; i < tabs_->count(); ++i) {
        out << pages_.key(tabs_->widget(i), -1);
    }
    return out;
}

int uContact::CurrentTab() const {
    return pages_.key(tabs_->currentWidget(), -1);
}

void uContact::SetCurrentTab(int number) {
    if (QWidget* page = pages_.value(number)) {
        tabs_->setCurrentWidget(page);
    }
}

void uContact::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    tabs_->setGeometry(rect());
}

QRect uContact::pageRect() const {
    // A hidden control gets its resize event only when shown: follow its size here.
    if (tabs_->geometry() != rect()) {
        tabs_->setGeometry(rect());
    }
    const QRect inTabs = static_cast<const ContactTabs*>(tabs_)->PageRect();
    return inTabs.translated(tabs_->pos());
}

qint32 uContact::TabAreaLeft() const {
    return static_cast<qint32>(PixelsToTwips(pageRect().left()));
}

qint32 uContact::TabAreaTop() const {
    return static_cast<qint32>(PixelsToTwips(pageRect().top()));
}

qint32 uContact::TabAreaWidth() const {
    return static_cast<qint32>(PixelsToTwips(pageRect().width()));
}

qint32 uContact::TabAreaHeight() const {
    return static_cast<qint32>(PixelsToTwips(pageRect().height()));
}
