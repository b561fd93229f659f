#pragma once

#include "platform/system/fontstyle.h"

#include "platform/ui/talkbackexchange.h"

#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

class DirectoryContact;
class PaneFrame;
class QLineEdit;
class QPlainTextEdit;

// The studio chat pane: a read-only conversation over a line to type in, which takes text only
// while the talkback runs. It runs with a talkback folder, shared by the studio computers
// through TalkbackExchange: it looks there once a second, also while hidden, and shows the
// last lines of everybody's, newest last, as plain text. Its frame says when the folder cannot
// be found (it keeps looking) or is read-only (no typing), and why a line was not posted.
class uTalkback : public QWidget {
    Q_OBJECT
public:
    explicit uTalkback(QWidget* parent = nullptr);
    ~uTalkback() override;

    // The folder the talkback works in. Clearing it stops a running talkback.
    QString SimpleTalkbackPath() const { return simpleTalkbackPath_; }
    void SetSimpleTalkbackPath(const QString& path);
    // Whom this studio talks as.
    std::shared_ptr<DirectoryContact> TalkbackUser() const { return talkbackUser_; }
    void SetTalkbackUser(const std::shared_ptr<DirectoryContact>& user);

    // The conversation's font and colour. Setting the same object again applies it again, as
    // its users change it in place; none gives the inherited look back.
    void SetTextFont(const std::shared_ptr<FontStyle>& font);
    std::shared_ptr<FontStyle> TextFont() const { return textFont_; }
    // The font of the rest of the pane: the line typed in and the captions.
    void SetAreasFont(const std::shared_ptr<StdFont>& font);
    std::shared_ptr<StdFont> AreasFont() const { return areasFont_; }

    // Runs when there is a talkback path (not blank), reading the conversation from scratch;
    // otherwise nothing changes. Stop keeps what is shown.
    void StartTalkback();
    void StopTalkback();
    bool Running() const { return running_; }

    static constexpr int kMaxShown = 500;
    // How a line is shown: "HH:mm  Name: text" (another day's with its date), control and
    // direction-changing characters removed.
    static QString LineText(const TalkbackLine& line, const QDate& today);
    // Posts the typed line; the box keeps it when it could not be written.
    void PostTyped();
    // Looks in the folder now, as the timer does each second.
    void LookNow();
    // Null while not running.
    TalkbackExchange* Exchange() const { return exchange_.get(); }
    // Tests give the exchange their own file layer; kept across starts.
    void SetFileLayer(const TalkbackExchange::FileLayer& layer) { fileLayer_ = layer; }
    // Whom this computer's file is named after.
    void SetComputerName(const QString& name) { computerName_ = name; }
    QList<TalkbackLine> Shown() const { return lines_; }

    QPlainTextEdit* txtConversation() const { return txtConversation_; }
    QLineEdit* txtInput() const { return txtInput_; }

private:
    void showState();
    void addLines(const QList<TalkbackLine>& lines);
    void showLines();

    PaneFrame* frame_;
    QPlainTextEdit* txtConversation_;
    QLineEdit* txtInput_;
    QString simpleTalkbackPath_;
    std::shared_ptr<DirectoryContact> talkbackUser_;
    std::shared_ptr<FontStyle> textFont_;
    std::shared_ptr<StdFont> areasFont_;
    bool running_ = false;
    std::unique_ptr<TalkbackExchange> exchange_;
    std::optional<TalkbackExchange::FileLayer> fileLayer_;
    QString computerName_;
    QList<TalkbackLine> lines_;
    QString problem_;
    QTimer tmrLook_;
};
