#pragma once

#include "platform/system/fontstyle.h"

#include <QString>
#include <QWidget>

#include <memory>

class DirectoryContact;
class PaneFrame;
class QLineEdit;
class QPlainTextEdit;

// The studio chat pane: a read-only conversation over a line to type in, which takes text only
// while the talkback runs. It runs only with a talkback path to work in; exchanging lines
// through that path comes later.
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

    // Runs when there is a talkback path (not blank); otherwise nothing changes.
    void StartTalkback();
    void StopTalkback();
    bool Running() const { return running_; }

    QPlainTextEdit* txtConversation() const { return txtConversation_; }
    QLineEdit* txtInput() const { return txtInput_; }

private:
    void showState();

    PaneFrame* frame_;
    QPlainTextEdit* txtConversation_;
    QLineEdit* txtInput_;
    QString simpleTalkbackPath_;
    std::shared_ptr<DirectoryContact> talkbackUser_;
    std::shared_ptr<FontStyle> textFont_;
    std::shared_ptr<StdFont> areasFont_;
    bool running_ = false;
};
