#pragma once

#include "settings/settingsrules.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QGroupBox;
class TextBox;
class cOCSettings;
class uFontPreview;
class uListSettings;

// The program settings dialog: shows the profile's settings, checks what the user entered
// on OK and only then writes it into the settings object and the store. Cancel and the close
// box leave both alone. The controls carry the names other code and tests find them by.
class frmSettings : public QDialog {
    Q_OBJECT
public:
    frmSettings(cOCSettings& settings, QWidget* owner = nullptr);

private:
    void build();
    void load();
    void applyEmailRule();
    void applySmsRule();
    void applyTalkbackRule();

    void okClicked();
    bool checkAndSave();
    SettingsRules::FolderOutcome ensureFolder(SettingsRules::Folder folder, const QString& path);
    void storeControls();

    void browse(QLabel* label, const QString& title);
    void chooseSampleFont(QLabel* sample);
    void choosePreviewFont(uFontPreview* preview);
    void manageProfiles();

    cOCSettings& settings_;

    QTabWidget* tbsOptions_ = nullptr;
    QLabel* lblOrlixDatabasePath_ = nullptr;
    QLabel* lblScriptPath_ = nullptr;
    QLabel* lblTalkbackSimplePath_ = nullptr;
    QPushButton* cmdTalkbackPathBrowse_ = nullptr;
    uListSettings* ctlOptions_ = nullptr;
    TextBox* txtComputer_ = nullptr;
    QLabel* lblGeneralFont_ = nullptr;
    QLabel* lblPrizeFont_ = nullptr;
    uFontPreview* ctlScriptFont_ = nullptr;
    uFontPreview* ctlTalkbackFont_ = nullptr;
    QSlider* sldScriptAutoScrollSpeed_ = nullptr;
    QCheckBox* chkEmailSendEnabled_ = nullptr;
    QGroupBox* fraEmailSendOptions_ = nullptr;
    QLabel* lblEmailNameDesc_ = nullptr;
    TextBox* txtEmailName_ = nullptr;
    QLabel* lblEmailAddressDesc_ = nullptr;
    TextBox* txtEmailAddress_ = nullptr;
    QCheckBox* chkEmailAllowPersonalAddresses_ = nullptr;
    QCheckBox* chkSMSSendEnabled_ = nullptr;
    QGroupBox* fraSMSSendOptions_ = nullptr;
    QLabel* lblSMSSendOptionsDesc_ = nullptr;
    QRadioButton* optTalkbackSimple_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
};
