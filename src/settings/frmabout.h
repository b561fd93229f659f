#pragma once

#include "platform/system/registrystore.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The about window: the running version, the legal notice, the support desk's e-mail address
// and web page as links, a logo that plays the about sound when there is one, and a button
// that starts the desktop's system-information program.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* owner = nullptr);

    // Starts the system-information program, or says that there is none.
    void StartSysInfo();
    // A text value of the store; False (and an empty value) when it is missing or a number.
    static bool GetKeyValue(RegistryRoot root, const QString& key, const QString& name,
                            QString& value);
    // The about sound: the program's folder, its file name and ".abt".
    static QString SoundFile();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openSupportEmail();
    void openSupportWeb();

    QLabel* picLogo_ = nullptr;
    QLabel* lblVersion_ = nullptr;
    QLabel* lblSupportEmail_ = nullptr;
    QLabel* lblSupportWeb_ = nullptr;
    bool hasSound_ = false;
};
