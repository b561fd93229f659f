#include "platform/ui/utalkback.h"

#include "platform/directory/directorycontact.h"
#include "platform/directory/systemuser.h"
#include "platform/system/displaytext.h"
#include "platform/ui/eventguard.h"
#include "platform/ui/fontconversion.h"
#include "platform/ui/paneframe.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSysInfo>
#include <QVBoxLayout>

#include <algorithm>

uTalkback::uTalkback(QWidget* parent)
    : QWidget(parent), frame_(new PaneFrame(tr("Talkback"), this)),
      txtConversation_(new QPlainTextEdit(frame_)), txtInput_(new QLineEdit(frame_)) {
    setObjectName(QStringLiteral("uTalkback"));
    txtConversation_->setObjectName(QStringLiteral("txtConversation"));
    txtConversation_->setReadOnly(true);
    txtConversation_->setTabChangesFocus(true);
    txtInput_->setObjectName(QStringLiteral("txtInput"));
    txtInput_->setMaxLength(TalkbackExchange::kMaxText);
    connect(txtInput_, &QLineEdit::returnPressed, this,
            [this] { GuardEvent("posting a talkback line", [this] { PostTyped(); }); });
    tmrLook_.setInterval(1000);
    connect(&tmrLook_, &QTimer::timeout, this,
            [this] { GuardEvent("reading the talkback", [this] { LookNow(); }); });
    frame_->AddWidget(txtConversation_, 1);
    frame_->AddWidget(txtInput_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame_);
    showState();
}

uTalkback::~uTalkback() = default;

void uTalkback::SetSimpleTalkbackPath(const QString& path) {
    simpleTalkbackPath_ = path;
    if (path.trimmed().isEmpty()) {
        StopTalkback();
    }
}

void uTalkback::SetTalkbackUser(const std::shared_ptr<DirectoryContact>& user) {
    talkbackUser_ = user;
}

void uTalkback::SetTextFont(const std::shared_ptr<FontStyle>& font) {
    textFont_ = font;
    txtConversation_->setFont(font ? FontConversion::ToQFont(*font) : QFont());
    QPalette p = txtConversation_->palette();
    const QColor colour = font ? FontConversion::TextColour(*font) : QColor();
    p.setColor(QPalette::Text, colour.isValid() ? colour : palette().color(QPalette::Text));
    txtConversation_->setPalette(p);
}

void uTalkback::SetAreasFont(const std::shared_ptr<StdFont>& font) {
    areasFont_ = font;
    setFont(font ? FontConversion::ToQFont(*font) : QFont());
}

void uTalkback::StartTalkback() {
    if (simpleTalkbackPath_.trimmed().isEmpty()) {
        return;
    }
    exchange_ = std::make_unique<TalkbackExchange>(
        simpleTalkbackPath_, computerName_.isEmpty() ? QSysInfo::machineHostName() : computerName_,
        SystemUserName());
    if (fileLayer_) {
        exchange_->SetFileLayer(*fileLayer_);
    }
    running_ = true;
    problem_.clear();
    lines_.clear();
    addLines(exchange_->Start());
    tmrLook_.start();
    showState();
}

void uTalkback::StopTalkback() {
    tmrLook_.stop();
    exchange_.reset();
    running_ = false;
    showState();
}

void uTalkback::LookNow() {
    if (!exchange_) {
        return;
    }
    const TalkbackExchange::State before = exchange_->LastState();
    addLines(exchange_->Look());
    if (exchange_->LastState() != before) {
        problem_.clear();
        showState();
    }
}

void uTalkback::PostTyped() {
    const QString text = txtInput_->text().trimmed();
    if (!exchange_ || text.isEmpty()) {
        return;
    }
    if (!talkbackUser_) {
        problem_ = tr("Nobody is logged in to talk as");
        showState();
        return;
    }
    QString why;
    if (!exchange_->Post(talkbackUser_->Name(), talkbackUser_->LoginName(), text, &why)) {
        problem_ = tr("The line was not sent: %1").arg(why);
        showState();
        return;
    }
    txtInput_->clear();
    problem_.clear();
    LookNow();
    showState();
}

QString uTalkback::LineText(const TalkbackLine& line, const QDate& today) {
    // A studio's name and line are outside text: each one field of one line (its breaks as
    // blanks, isolated, no direction character), and no other control character shown.
    const auto field = [](const QString& text) {
        QString out = DisplayText::Field(text);
        out.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
        return out;
    };
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(line.TimeMs).toLocalTime();
    const QString time = at.date() == today ? at.toString(QStringLiteral("HH:mm"))
                                            : at.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    return time + QStringLiteral("  ") + field(line.Name) + QStringLiteral(": ") + field(line.Text);
}

void uTalkback::addLines(const QList<TalkbackLine>& lines) {
    if (lines.isEmpty()) {
        return;
    }
    lines_ += lines;
    std::sort(lines_.begin(), lines_.end());
    if (lines_.size() > kMaxShown) {
        lines_ = lines_.mid(lines_.size() - kMaxShown);
    }
    showLines();
}

void uTalkback::showLines() {
    const QDate today = QDate::currentDate();
    QStringList texts;
    texts.reserve(lines_.size());
    for (const TalkbackLine& line : std::as_const(lines_)) {
        texts << LineText(line, today);
    }
    txtConversation_->setPlainText(texts.join(QLatin1Char('\n')));
    txtConversation_->verticalScrollBar()->setValue(
        txtConversation_->verticalScrollBar()->maximum());
}

void uTalkback::showState() {
    const TalkbackExchange::State state =
        exchange_ ? exchange_->LastState() : TalkbackExchange::State::FolderMissing;
    // A missing folder may come back: the line typed meanwhile is kept if it cannot go.
    const bool typing = running_ && state != TalkbackExchange::State::ReadOnly;
    txtInput_->setEnabled(typing);
    txtInput_->setPlaceholderText(typing ? tr("Type a message") : QString());
    QString text;
    if (!running_) {
        text = tr("Talkback is not running");
    } else if (state == TalkbackExchange::State::FolderMissing) {
        text = tr("The talkback folder '%1' cannot be found").arg(simpleTalkbackPath_);
    } else if (state == TalkbackExchange::State::ReadOnly) {
        text = tr("The talkback folder '%1' is read-only").arg(simpleTalkbackPath_);
    }
    if (!problem_.isEmpty()) {
        text = problem_;
    }
    frame_->SetText(text);
}
