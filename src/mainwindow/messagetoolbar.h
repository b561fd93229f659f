#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// One button of the messages pane's toolbar; separators have no texts.
struct MessageToolbarButton {
    QString key;
    QString caption;
    QString toolTip;
    QString image;
    bool separator = false;
};

// The toolbar's buttons in their order.
const QList<MessageToolbarButton>& MessageToolbarButtons();

// What a toolbar key does, read without regard to case.
struct MessageToolbarAction {
    // 1 a new e-mail, 2 a new SMS; 0 neither (the others need a tick).
    qint32 newMessageKind = 0;
    // The batch mode to run on the ticks; nothing for keys that only clear them.
    std::optional<qint32> batchMode;
};
MessageToolbarAction MessageToolbarActionFor(QStringView key);

// Which of the four hover buttons a toolbar key stands under; they run their own handlers.
enum class HoverCommand { None, Open, Reply, ReplyAll, Forward };
HoverCommand HoverCommandFor(QStringView key);

// Reply, reply to all and forward take exactly one ticked message: the box text for any other
// count, nothing for one.
std::optional<QString> ReplyRefusal(HoverCommand command, qsizetype ticked);

inline constexpr QStringView kSelectOneToOpen = u"You must select at least one message to open";
