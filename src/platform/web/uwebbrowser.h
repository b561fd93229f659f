#pragma once

#include <QList>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QFrame;
class WebBrowser;
struct DocumentInput;

// The main window's document view. Starting the web engine is slow and most sessions never
// show a document, so the WebBrowser inside (and with it the engine) is made on the first
// Navigate; until then the view is an empty frame and costs nothing.
class uWebBrowser : public QWidget {
    Q_OBJECT
public:
    explicit uWebBrowser(QWidget* parent = nullptr);
    ~uWebBrowser() override;

    // Files in folder and below it may load: remembered for the browser to come, or handed
    // straight to the browser once it is there ("" is ignored).
    void AllowFolder(const QString& folder);
    QStringList AllowedFolders() const { return folders_; }

    // Shows a local path, a file URL or "about:blank" (see WebBrowser::Navigate), making the
    // browser first when there is none. A blank target is refused without starting the
    // engine.
    bool Navigate(const QString& target);
    // Empties the view. Without a browser there is nothing to empty, and no engine is started.
    void ClearDocument();

    bool HasBrowser() const { return !browser_.isNull(); }
    // Null before the first Navigate.
    WebBrowser* Browser() const;
    // The last target given to Navigate, whether or not the browser showed it; "" after
    // ClearDocument.
    QString CurrentPath() const { return currentPath_; }

    // Command links and BeforeNavigate as WebBrowser's; held for the browser to come.
    void SetCommandLinks(bool on);
    bool CommandLinks() const { return commandLinks_; }
    bool IsLoading() const;

    // The document walk; without a browser the answers are empty (at once).
    void ReadInputs(QObject* context, std::function<void(const QList<DocumentInput>&)> done);
    void SetInputsChecked(const QStringList& names, bool checked);
    void UncheckInputsContaining(const QString& part);
    void ReadScrollPosition(QObject* context, std::function<void(QPoint)> done);
    void SetScrollPosition(QPoint position);

Q_SIGNALS:
    void LoadFinished(bool ok);
    void BeforeNavigate(const QString& url, bool* cancel);

private:
    WebBrowser* browser();

    QFrame* placeholder_;
    QPointer<WebBrowser> browser_;
    QStringList folders_;
    QString currentPath_;
    bool commandLinks_ = false;
};
