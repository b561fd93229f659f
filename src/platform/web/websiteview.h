#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QWebEngineProfile;
class QWebEngineView;

// A view of the web for the websites pane. It keeps nothing: its profile is off the record.
// Scripts run, as sites need them; only http and https pages are loaded or navigated to
// (anything else is refused and logged), downloads are cancelled, a page's new windows open
// in the view itself, permission requests are denied and there are no plugins.
class WebsiteView : public QWidget {
    Q_OBJECT
public:
    explicit WebsiteView(QWidget* parent = nullptr);
    ~WebsiteView() override;

    // False (with a log line) for an address the view may not show.
    bool Load(const QUrl& url);
    QUrl Url() const;
    QString Title() const;

    QWebEngineView* View() const { return view_; }
    QWebEngineProfile* Profile() const { return profile_; }
    int DownloadsCancelled() const { return downloadsCancelled_; }

Q_SIGNALS:
    // The page shown, or its title, changed.
    void PageChanged();
    void LoadFinished(bool ok);

private:
    QWebEngineProfile* profile_;
    QWebEngineView* view_;
    int downloadsCancelled_ = 0;
};
