#include "settings/frmabout.h"

#include "platform/system/appinfo.h"
#include "platform/system/desktopopener.h"
#include "platform/system/platformlog.h"
#include "platform/system/soundplayer.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/mousepointer.h"
#include "settings/systeminfoprogram.h"

#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>
#include <QVBoxLayout>

namespace {
template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The band down the window's side: the station's colours with broadcast waves.
QPixmap graphic() {
    QPixmap pixmap(120, 260);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, pixmap.height());
    fill.setColorAt(0, QColor(0x1f, 0x3a, 0x68));
    fill.setColorAt(1, QColor(0x4a, 0x90, 0xc8));
    p.fillRect(pixmap.rect(), fill);
    p.setPen(QPen(QColor(255, 255, 255, 150), 3));
    const QPointF mast(60, 200);
    for (int r = 20; r <= 80; r += 20) {
        p.drawArc(QRectF(mast.x() - r, mast.y() - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
    }
    p.setPen(QPen(Qt::white, 4));
    p.drawLine(mast, QPointF(mast.x(), pixmap.height() - 10));
    return pixmap;
}

// The maker's mark.
QPixmap logo() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1f, 0x3a, 0x68));
    p.setPen(QPen(QColor(0x4a, 0x90, 0xc8), 3));
    p.drawEllipse(QRectF(3, 3, 58, 58));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(34);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("K"));
    return pixmap;
}

QLabel* link(const char* name, const QString& text) {
    auto* label = named(new QLabel(text), name);
    label->setTextFormat(Qt::PlainText);
    label->setCursor(Qt::PointingHandCursor);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    label->setPalette(palette);
    return label;
}
} // namespace

frmAbout::frmAbout(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Orlix v1"));
    auto* layout = new QHBoxLayout(this);
    auto* picGraphic = named(new QLabel, "picGraphic");
    picGraphic->setPixmap(graphic());
    picGraphic->setAlignment(Qt::AlignTop);
    layout->addWidget(picGraphic);

    auto* column = new QVBoxLayout;
    layout->addLayout(column, 1);
    auto* top = new QHBoxLayout;
    picLogo_ = named(new QLabel, "picLogo");
    picLogo_->setPixmap(logo());
    picLogo_->installEventFilter(this);
    auto* title = new QLabel(AppInfo::ProductName());
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    title->setFont(titleFont);
    top->addWidget(picLogo_);
    top->addWidget(title, 1);
    column->addLayout(top);

    lblVersion_ = named(new QLabel, "lblVersion");
    auto* lblCopyright = named(new QLabel, "lblCopyright");
    auto* lblDisclaimer =
        named(new QLabel(QStringLiteral("This program is protected by copyright law. "
                                        "Unauthorised copying or distribution of it is "
                                        "prohibited.")),
              "lblDisclaimer");
    lblDisclaimer->setWordWrap(true);
    column->addWidget(lblVersion_);
    column->addWidget(lblCopyright);
    column->addWidget(lblDisclaimer);

    auto* support = new QGridLayout;
    lblSupportEmail_ = link("lblSupportEmail", AppInfo::SupportEmail());
    QString web = AppInfo::MakerWebsite() + QStringLiteral("/support/");
    web.remove(QRegularExpression(QStringLiteral("^[a-z]+://")));
    lblSupportWeb_ = link("lblSupportWeb", web);
    support->addWidget(named(new QLabel(QStringLiteral("Support e-mail:")), "lblSupportEmailDesc"),
                       0, 0);
    support->addWidget(lblSupportEmail_, 0, 1);
    support->addWidget(named(new QLabel(QStringLiteral("Support Website:")), "lblSupportDesc"), 1,
                       0);
    support->addWidget(lblSupportWeb_, 1, 1);
    support->setColumnStretch(1, 1);
    column->addLayout(support);
    lblSupportEmail_->installEventFilter(this);
    lblSupportWeb_->installEventFilter(this);
    column->addStretch(1);

    auto* buttons = new QHBoxLayout;
    auto* cmdSysInfo = named(new QPushButton(QStringLiteral("&System Info...")), "cmdSysInfo");
    cmdSysInfo->setAutoDefault(false);
    auto* cmdOK = named(new QPushButton(QStringLiteral("OK")), "cmdOK");
    cmdOK->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(cmdSysInfo);
    buttons->addWidget(cmdOK);
    column->addLayout(buttons);
    // OK is also the cancel button: Esc closes the window as OK does.
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { StartSysInfo(); });

    lblVersion_->setText(QStringLiteral("Version %1.%2.%3")
                             .arg(AppInfo::Major())
                             .arg(AppInfo::Minor())
                             .arg(AppInfo::Revision()));
    lblCopyright->setText(AppInfo::LegalCopyright());
    hasSound_ = QFileInfo(SoundFile()).size() > 0;
    if (hasSound_) {
        picLogo_->setCursor(Qt::PointingHandCursor);
    }
}

QString frmAbout::SoundFile() {
    return AppInfo::Path() + QLatin1Char('/') + AppInfo::EXEName() + QStringLiteral(".abt");
}

bool frmAbout::GetKeyValue(RegistryRoot root, const QString& key, const QString& name,
                           QString& value) {
    bool found = false;
    value = RegistryStore::ReadString(root, key, name, QString(), &found);
    if (!found) {
        value.clear();
    }
    return found;
}

void frmAbout::StartSysInfo() {
    try {
        MousePointerGuard busy(MousePointerGuard::Hourglass);
        QString configured;
        GetKeyValue(RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE\\Kestova"),
                    QStringLiteral("SystemInformationProgram"), configured);
        const QString program = SystemInfoProgram::Find(configured, qEnvironmentVariable("PATH"));
        if (!program.isEmpty() && QProcess::startDetached(program, {})) {
            return;
        }
        PlatformLog(QStringLiteral("About: no system-information program could be started (%1)")
                        .arg(program.isEmpty() ? QStringLiteral("none found") : program));
    } catch (...) {
        PlatformLog(QStringLiteral("About: starting the system-information program failed"));
    }
    MsgBox(QStringLiteral("System Information Is Unavailable At This Time"), MsgIcon::None,
           MsgButtons::OK, 0, this);
}

void frmAbout::openSupportEmail() {
    MousePointerGuard busy(MousePointerGuard::Hourglass);
    QUrl url(QStringLiteral("mailto:") + lblSupportEmail_->text());
    url.setQuery(QStringLiteral("subject=") +
                     QString::fromLatin1(QUrl::toPercentEncoding(
                         AppInfo::ProductName() + QLatin1Char(' ') + lblVersion_->text())),
                 QUrl::StrictMode);
    OpenWithDesktop(url);
}

void frmAbout::openSupportWeb() {
    MousePointerGuard busy(MousePointerGuard::Hourglass);
    OpenWithDesktop(QUrl(AppInfo::MakerWebsite() + QStringLiteral("/support/")));
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        try {
            if (watched == lblSupportEmail_) {
                openSupportEmail();
            } else if (watched == lblSupportWeb_) {
                openSupportWeb();
            } else if (watched == picLogo_ && hasSound_) {
                Sounds().Play(SoundFile());
            }
        } catch (...) {
            PlatformLog(QStringLiteral("About: a link could not be opened"));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::done(int result) {
    // Whichever way the window closes, a logo sound still playing stops with it.
    Sounds().Stop();
    QDialog::done(result);
}
