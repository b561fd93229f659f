#include "core/dialogs/frmsplash.h"

#include "core/dialogs/splashlayout.h"
#include "platform/system/appinfo.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>

namespace {
// The status pictures: a grey disc while a stage is pending, a green one once it succeeded.
QPixmap statusPicture(const QColor& colour, const QString& letter) {
    const int size = TwipsToPixels(frmSplash::kIconTwips);
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(colour.darker(140));
    painter.drawEllipse(QRectF(1.5, 1.5, size - 3.0, size - 3.0));
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(size / 2);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, letter);
    return pixmap;
}
} // namespace

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(TwipsToPixels(6000), TwipsToPixels(3600));
    setAutoFillBackground(true);

    auto* title = new QLabel(AppInfo::ProductName(), this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    title->setFont(big);
    title->setGeometry(TwipsRect{240, 240, 5520, 600}.toPixels());

    lblVersion = new QLabel(this);
    lblVersion->setGeometry(TwipsRect{240, 900, 5520, 255}.toPixels());
    lblCopyright = new QLabel(this);
    lblCopyright->setGeometry(TwipsRect{240, 1200, 5520, 255}.toPixels());
    lblCurrentAction = new QLabel(QStringLiteral("Loading"), this);
    lblCurrentAction->setGeometry(TwipsRect{240, 1680, 5520, 255}.toPixels());

    const QColor off(150, 150, 150);
    const QColor on(40, 160, 60);
    imgIconList_.insert(QStringLiteral("local"), statusPicture(off, QStringLiteral("L")));
    imgIconList_.insert(QStringLiteral("localon"), statusPicture(on, QStringLiteral("L")));
    imgIconList_.insert(QStringLiteral("security"), statusPicture(off, QStringLiteral("S")));
    imgIconList_.insert(QStringLiteral("securityon"), statusPicture(on, QStringLiteral("S")));
    imgIconList_.insert(QStringLiteral("database"), statusPicture(off, QStringLiteral("D")));
    imgIconList_.insert(QStringLiteral("databaseon"), statusPicture(on, QStringLiteral("D")));

    // Form_Load
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(AppInfo::Major())
                            .arg(AppInfo::Minor())
                            .arg(AppInfo::Revision()));
    lblCopyright->setText(AppInfo::LegalCopyright());
}

frmSplash::~frmSplash() = default;

void frmSplash::SetFloating(bool newVal) {
    floating_ = newVal;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, newVal);
    if (visible) {
        show(); // a change of window flags hides the window; shown again without activating
    }
    raise();
}

void frmSplash::ensureElement(int index) {
    while (static_cast<int>(icons_.size()) <= index) {
        auto* icon = new QLabel(this);
        icon->setAlignment(Qt::AlignCenter);
        auto* label = new QLabel(this);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        icons_.push_back(icon);
        labels_.push_back(label);
        iconKeys_.emplace_back();
    }
}

void frmSplash::SetNumberIcons(int vNewValue) {
    const double innerWidth = PixelsToTwips(width());
    const double innerHeight = PixelsToTwips(height());
    if (vNewValue <= 0) {
        for (size_t i = 1; i < icons_.size(); ++i) {
            icons_[i]->clear();
            icons_[i]->hide();
            labels_[i]->clear();
            iconKeys_[i].clear();
        }
        numberIcons_ = vNewValue < 0 ? 0 : vNewValue;
        return;
    }
    const std::vector<SplashIconPlace> places = SplashIconLayout(
        innerWidth, innerHeight, vNewValue, kIconTwips, kIconTwips, kLabelHeightTwips);
    for (int i = 1; i <= vNewValue; ++i) {
        ensureElement(i);
        const SplashIconPlace& p = places[static_cast<size_t>(i - 1)];
        icons_[static_cast<size_t>(i)]->setGeometry(p.icon.toPixels());
        icons_[static_cast<size_t>(i)]->show();
        labels_[static_cast<size_t>(i)]->setGeometry(p.label.toPixels());
        labels_[static_cast<size_t>(i)]->show();
    }
    for (size_t i = static_cast<size_t>(vNewValue) + 1; i < icons_.size(); ++i) {
        icons_[i]->clear();
        iconKeys_[i].clear();
        icons_[i]->hide();
        labels_[i]->hide();
    }
    numberIcons_ = vNewValue;
}

void frmSplash::SetIconInfo(int IconIndex, const QString& IconReference,
                            const QString& IconDescription) {
    if (IconIndex < 1 || IconIndex > numberIcons_) {
        return;
    }
    const auto i = static_cast<size_t>(IconIndex);
    const auto picture = imgIconList_.constFind(IconReference);
    if (picture != imgIconList_.constEnd()) {
        icons_[i]->setPixmap(*picture);
        iconKeys_[i] = IconReference;
        icons_[i]->repaint();
    }
    labels_[i]->setText(IconDescription);
    lastIconChangedIndex_ = IconIndex;
}

void frmSplash::SetCurrentAction(const QString& caption) {
    lblCurrentAction->setText(caption);
    QCoreApplication::processEvents();
}

QLabel* frmSplash::imgIcon(int index) const {
    return index > 0 && index < static_cast<int>(icons_.size()) ? icons_[static_cast<size_t>(index)]
                                                                : nullptr;
}

QLabel* frmSplash::lblIconDescription(int index) const {
    return index > 0 && index < static_cast<int>(labels_.size())
               ? labels_[static_cast<size_t>(index)]
               : nullptr;
}

QString frmSplash::IconPictureKey(int index) const {
    return index > 0 && index < static_cast<int>(iconKeys_.size())
               ? iconKeys_[static_cast<size_t>(index)]
               : QString();
}

void frmSplash::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    QCoreApplication::processEvents();
}

void frmSplash::closeEvent(QCloseEvent* event) {
    SetNumberIcons(0);
    lastIconChangedIndex_ = 0;
    QWidget::closeEvent(event);
}
