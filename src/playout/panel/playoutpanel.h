#pragma once

#include "platform/ui/imagelist.h"
#include "playout/link/playoutdisplay.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class PlayoutLink;
class QPushButton;
class QWidget;
class uHTMLScroller;
class uPanel3;
struct LogDisplayView;

// The playout keyboard panel as the studio sees it: the player columns, the log's buttons and
// scroller, the instant carts, the cover and the hide and show bars, with the commands their
// buttons send. It is what the line parser shows through (PlayoutDisplay) and needs no main
// window: it is made into any client widget, and its commands go to the link it is given.
//
// Where the panel sits in the window, whether it is shown and which log groups show are the
// window's layout; the panel lays out only its players and carts. Its controls are public,
// as a form's are, so that the window and the tests reach them by name.
class PlayoutPanel : public QObject, public PlayoutDisplay {
    Q_OBJECT
public:
    static constexpr qint16 kFirstCart = 1;
    static constexpr qint16 kLastCart = 20;
    static constexpr qint16 kMostPlayers = 12;

    // Makes the panel and the show bar in client, both hidden, with player column 1 and the
    // carts' template.
    explicit PlayoutPanel(QWidget* client);
    ~PlayoutPanel() override;

    // Where the commands go; without a link they are dropped.
    void SetLink(PlayoutLink* link);

    // Carts 1 to 20 beside the design-time template; a cart that exists already is left as
    // it is.
    void AddInstantCarts();

    // PlayoutDisplay.
    void SetNumberPlayers(qint16 NumberPlayers) override;
    qint16 NumberPlayers() const override { return numberPlayers_; }
    void ShowPlayerStatus(qint16 player, qint32 status, QStringView text) override;
    void ShowInstantCartState(qint16 cart, QStringView text) override;
    void ShowLogMode(bool automatic, bool goAllowed, std::optional<QStringView> text) override;
    void ShowLogStatus(bool logLoaded) override;
    void ShowLogCurrentItem(QStringView text) override;
    // Sets one player button's state and its picture (key + "white" or "dis"; "" none).
    void SetPlayerButtonState(uPanel3* button, const QString& key, bool enabled);
    void pnlInstantCarts_Resize();
    void pnlPlayers_Resize();

    // The studio's commands; n is the player's or the cart's number.
    void cmdLogGo_Click();
    void cmdLogPrecue_Click();
    void cmdLogStandby_Click();
    void cmdLogEndType_Click();
    void cmdLogPreview_Click();
    void cmdLogDelete_Click();
    void cmdLogHome_Click();
    void cmdLogPrevHour_Click();
    void cmdLogNextHour_Click();
    void cmdLogUp_Click();
    void cmdLogDown_Click();
    void cmdPlayerPlay_Click(qint16 n);
    void cmdPlayerCue_Click(qint16 n);
    void cmdPlayerClose_Click(qint16 n);
    void cmdInstantCart_Click(qint16 n);

    // Controls.
    uPanel3* pnlVorelaKeyboard = nullptr;
    uPanel3* pnlNotConnected = nullptr;
    uPanel3* pnlVorelaHide = nullptr;
    uPanel3* pnlInstantCarts = nullptr;
    uPanel3* cmdShowVorelaKeyboard = nullptr;
    // Element 0 is the design-time template; 1 to 20 are the carts.
    QList<QPushButton*> cmdInstantCart;
    uPanel3* pnlPlayers = nullptr;
    uPanel3* pnlLog = nullptr;
    QWidget* picLogControl = nullptr;
    QWidget* picLogNavigation = nullptr;
    uHTMLScroller* uLogScroller = nullptr;
    uPanel3* cmdLogStandby = nullptr;
    uPanel3* cmdLogPreview = nullptr;
    uPanel3* cmdLogPrecue = nullptr;
    uPanel3* cmdLogGo = nullptr;
    uPanel3* cmdLogUp = nullptr;
    uPanel3* cmdLogDown = nullptr;
    uPanel3* cmdLogDelete = nullptr;
    uPanel3* cmdLogHome = nullptr;
    uPanel3* cmdLogEndType = nullptr;
    uPanel3* cmdLogPrevHour = nullptr;
    uPanel3* cmdLogNextHour = nullptr;
    // The player columns, indexed by player number: element 0 is null, element 1 is the
    // design's, further ones are made on demand and kept.
    QList<uHTMLScroller*> uPlayerScroller;
    QList<uPanel3*> cmdPlayerPlay;
    QList<uPanel3*> pnlPlayerCaption;
    QList<uPanel3*> cmdPlayerClose;
    QList<uPanel3*> cmdPlayerCue;
    ImageList imgListPlayer;
    ImageList imgList48;
    ImageList imgList32;

private:
    void buildLogPanel();
    // Makes player column n with the design's look.
    void loadPlayerColumn(qint16 n);
    void wireInstantCart(QPushButton* cart, qint16 n);
    void applyLogView(const LogDisplayView& view);
    void showScrollerText(uHTMLScroller* scroller, QStringView text);
    void sendStudioCommand(const QString& line);

    qint16 numberPlayers_ = 1;
    QPointer<PlayoutLink> link_;
};
