#include "settings/frmsettings.h"

#include "core/errorreport.h"
#include "core/profile/cocsettings.h"
#include "core/profile/settingskeys.h"
#include "platform/system/filesystemhelper.h"
#include "platform/system/formhelper.h"
#include "platform/system/graphicsrenderer.h"
#include "platform/system/profilemanager.h"
#include "platform/system/registrystore.h"
#include "platform/system/renderer.h"
#include "platform/ui/colournumber.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/fontconversion.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/textbox.h"
#include "platform/ui/ufontpreview.h"
#include "platform/ui/ulistsettings.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <initializer_list>

using SettingsRules::Folder;
using SettingsRules::FolderOutcome;
using SettingsRules::Tab;

namespace {
template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* folderLabel(const char* name) {
    auto* label = named(new QLabel, name);
    label->setFrameShape(QFrame::StyledPanel);
    label->setTextFormat(Qt::PlainText);
    label->setMinimumWidth(280);
    return label;
}

void setFolder(QLabel* label, const QString& folder) {
    label->setText(folder);
    label->setToolTip(folder);
}

QFont designSampleFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(10);
    font.setBold(true);
    return font;
}

// The preview as designed: Arial at size step 3, no styles, black.
uFontPreview* designPreview(const char* name) {
    auto* preview = named(new uFontPreview, name);
    FontStyle design;
    design.Name = QStringLiteral("Arial");
    design.Size = 3;
    preview->SetStyle(design);
    return preview;
}

void clearMargins(uFontPreview* preview) {
    preview->SetTopMargin(0);
    preview->SetBottomMargin(0);
    preview->SetLeftMargin(0);
    preview->SetRightMargin(0);
}

} // namespace

frmSettings::frmSettings(cOCSettings& settings, QWidget* owner)
    : QDialog(owner), settings_(settings) {
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Settings"));
    build();
    load();
}

void frmSettings::build() {
    auto* layout = new QVBoxLayout(this);
    tbsOptions_ = named(new QTabWidget, "tbsOptions");
    layout->addWidget(tbsOptions_);

    // General
    auto* general = new QWidget;
    auto* generalLayout = new QVBoxLayout(general);
    auto* fraOrlixDatabase =
        named(new QGroupBox(QStringLiteral("Database Location:")), "fraOrlixDatabase");
    auto* dbRow = new QHBoxLayout(fraOrlixDatabase);
    lblOrlixDatabasePath_ = folderLabel("lblOrlixDatabasePath");
    auto* cmdOrlixDBBrowse = named(new QPushButton(QStringLiteral("Browse")), "cmdOrlixDBBrowse");
    dbRow->addWidget(lblOrlixDatabasePath_, 1);
    dbRow->addWidget(cmdOrlixDBBrowse);
    auto* fraOptions = named(new QGroupBox(QStringLiteral("Options")), "fraOptions");
    auto* optionsLayout = new QVBoxLayout(fraOptions);
    ctlOptions_ = named(new uListSettings, "ctlOptions");
    auto* cmdProfileManagement =
        named(new QPushButton(QStringLiteral("Profile Management")), "cmdProfileManagement");
    optionsLayout->addWidget(ctlOptions_);
    optionsLayout->addWidget(cmdProfileManagement, 0, Qt::AlignRight);
    generalLayout->addWidget(fraOrlixDatabase);
    generalLayout->addWidget(fraOptions, 1);
    tbsOptions_->addTab(general, QStringLiteral("General"));

    // Playout computer and fonts
    auto* fonts = new QWidget;
    auto* fontsLayout = new QVBoxLayout(fonts);
    auto* fraConnection =
        named(new QGroupBox(QStringLiteral("Name/IP address of Vorela Computer to connect to:")),
              "fraConnection");
    auto* connectionLayout = new QHBoxLayout(fraConnection);
    txtComputer_ = named(new TextBox, "txtComputer");
    connectionLayout->addWidget(txtComputer_);
    fontsLayout->addWidget(fraConnection);
    const auto fontFrame = [&](const char* frameName, const QString& caption,
                               const char* buttonName, const char* labelName,
                               const QString& sample) {
        auto* frame = named(new QGroupBox(caption), frameName);
        auto* row = new QHBoxLayout(frame);
        auto* button = named(new QPushButton(QStringLiteral("Font...")), buttonName);
        auto* label = named(new QLabel(sample), labelName);
        label->setFont(designSampleFont());
        row->addWidget(button);
        row->addWidget(label, 1);
        fontsLayout->addWidget(frame);
        connect(button, &QPushButton::clicked, this, [this, label] { chooseSampleFont(label); });
        return label;
    };
    lblGeneralFont_ = fontFrame("fraGeneralFont", QStringLiteral("General Font style and type:"),
                                "cmdGeneralFont", "lblGeneralFont",
                                QStringLiteral("General text will appear in this Font"));
    lblPrizeFont_ =
        fontFrame("fraPrizeFont", QStringLiteral("Prize Font style and type:"), "cmdPrizeFont",
                  "lblPrizeFont", QStringLiteral("Prize text will appear in this Font"));
    fontsLayout->addStretch(1);
    tbsOptions_->addTab(fonts, QStringLiteral("Vorela/Fonts"));

    // Scripts
    auto* scripts = new QWidget;
    auto* scriptsLayout = new QVBoxLayout(scripts);
    auto* fraScriptFonts =
        named(new QGroupBox(QStringLiteral("Script Font style and type:")), "fraScriptFonts");
    auto* scriptFontLayout = new QGridLayout(fraScriptFonts);
    auto* cmdScriptFont = named(new QPushButton(QStringLiteral("Font...")), "cmdScriptFont");
    ctlScriptFont_ = designPreview("ctlScriptFont");
    auto* lblSpeed = named(new QLabel(QStringLiteral("Speed to scroll text automatically:")),
                           "lblScriptAutoScrollSpeedDesc");
    sldScriptAutoScrollSpeed_ = named(new QSlider(Qt::Horizontal), "sldScriptAutoScrollSpeed");
    sldScriptAutoScrollSpeed_->setRange(1, 10);
    sldScriptAutoScrollSpeed_->setTickPosition(QSlider::TicksBelow);
    // The preview has a row of its own: a script font is large.
    scriptFontLayout->addWidget(cmdScriptFont, 0, 0, Qt::AlignLeft);
    scriptFontLayout->addWidget(ctlScriptFont_, 1, 0, 1, 2);
    scriptFontLayout->addWidget(lblSpeed, 2, 0);
    scriptFontLayout->addWidget(sldScriptAutoScrollSpeed_, 2, 1);
    auto* fraScriptsLocation =
        named(new QGroupBox(QStringLiteral("Scripts Location:")), "fraScriptsLocation");
    auto* scriptRow = new QHBoxLayout(fraScriptsLocation);
    lblScriptPath_ = folderLabel("lblScriptPath");
    auto* cmdScriptPathBrowse =
        named(new QPushButton(QStringLiteral("Browse")), "cmdScriptPathBrowse");
    scriptRow->addWidget(lblScriptPath_, 1);
    scriptRow->addWidget(cmdScriptPathBrowse);
    scriptsLayout->addWidget(fraScriptFonts);
    scriptsLayout->addWidget(fraScriptsLocation);
    scriptsLayout->addStretch(1);
    tbsOptions_->addTab(scripts, QStringLiteral("Scripts"));

    // Messaging
    auto* messaging = new QWidget;
    auto* messagingLayout = new QVBoxLayout(messaging);
    chkEmailSendEnabled_ = named(
        new QCheckBox(QStringLiteral("Allow e-mails to be sent by Users:")), "chkEmailSendEnabled");
    fraEmailSendOptions_ = named(new QGroupBox, "fraEmailSendOptions");
    auto* emailLayout = new QGridLayout(fraEmailSendOptions_);
    lblEmailNameDesc_ =
        named(new QLabel(QStringLiteral("Default E-Mail Name:")), "lblEmailNameDesc");
    txtEmailName_ = named(new TextBox, "txtEmailName");
    lblEmailAddressDesc_ =
        named(new QLabel(QStringLiteral("Default E-Mail Address:")), "lblEmailAddressDesc");
    txtEmailAddress_ = named(new TextBox, "txtEmailAddress");
    chkEmailAllowPersonalAddresses_ = named(
        new QCheckBox(QStringLiteral("Also allow sending email from Personal e-mail addresses")),
        "chkEmailAllowPersonalAddresses");
    emailLayout->addWidget(lblEmailNameDesc_, 0, 0);
    emailLayout->addWidget(txtEmailName_, 0, 1);
    emailLayout->addWidget(lblEmailAddressDesc_, 1, 0);
    emailLayout->addWidget(txtEmailAddress_, 1, 1);
    emailLayout->addWidget(chkEmailAllowPersonalAddresses_, 2, 0, 1, 2);
    chkSMSSendEnabled_ =
        named(new QCheckBox(QStringLiteral("Allow SMS Messages to be sent by Users:")),
              "chkSMSSendEnabled");
    fraSMSSendOptions_ = named(new QGroupBox, "fraSMSSendOptions");
    auto* smsLayout = new QVBoxLayout(fraSMSSendOptions_);
    lblSMSSendOptionsDesc_ =
        named(new QLabel(QStringLiteral("There are no Options for this feature.")),
              "lblSMSSendOptionsDesc");
    smsLayout->addWidget(lblSMSSendOptionsDesc_);
    messagingLayout->addWidget(chkEmailSendEnabled_);
    messagingLayout->addWidget(fraEmailSendOptions_);
    messagingLayout->addWidget(chkSMSSendEnabled_);
    messagingLayout->addWidget(fraSMSSendOptions_);
    messagingLayout->addStretch(1);
    tbsOptions_->addTab(messaging, QStringLiteral("Messaging"));

    // Talkback
    auto* talkback = new QWidget;
    auto* talkbackLayout = new QVBoxLayout(talkback);
    auto* fraTalkbackOptions =
        named(new QGroupBox(QStringLiteral("Talkback Options:")), "fraTalkbackOptions");
    auto* talkbackOptions = new QGridLayout(fraTalkbackOptions);
    optTalkbackSimple_ =
        named(new QRadioButton(QStringLiteral("Simple - uses a common shared folder")),
              "optTalkbackSimple");
    lblTalkbackSimplePath_ = folderLabel("lblTalkbackSimplePath");
    cmdTalkbackPathBrowse_ =
        named(new QPushButton(QStringLiteral("Browse")), "cmdTalkbackPathBrowse");
    talkbackOptions->addWidget(optTalkbackSimple_, 0, 0, 1, 2);
    talkbackOptions->addWidget(lblTalkbackSimplePath_, 1, 0);
    talkbackOptions->addWidget(cmdTalkbackPathBrowse_, 1, 1);
    auto* fraTalkbackFont =
        named(new QGroupBox(QStringLiteral("Chat's Font style and type:")), "fraTalkbackFont");
    auto* talkbackFontRow = new QHBoxLayout(fraTalkbackFont);
    auto* cmdTalkbackFont = named(new QPushButton(QStringLiteral("Font...")), "cmdTalkbackFont");
    ctlTalkbackFont_ = designPreview("ctlTalkbackFont");
    talkbackFontRow->addWidget(cmdTalkbackFont);
    talkbackFontRow->addWidget(ctlTalkbackFont_, 1);
    talkbackLayout->addWidget(fraTalkbackOptions);
    talkbackLayout->addWidget(fraTalkbackFont);
    talkbackLayout->addStretch(1);
    tbsOptions_->addTab(talkback, QStringLiteral("Talkback"));

    // OK and Cancel
    auto* buttons = new QHBoxLayout;
    cmdOK_ = named(new QPushButton(QStringLiteral("OK")), "cmdOK");
    auto* cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    cmdOK_->setDefault(true);
    cmdOK_->setAutoDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    // Design state: the sending options wait for their check boxes.
    for (QWidget* w : std::initializer_list<QWidget*>{
             fraEmailSendOptions_, lblEmailNameDesc_, static_cast<QWidget*>(txtEmailName_),
             lblEmailAddressDesc_, static_cast<QWidget*>(txtEmailAddress_),
             static_cast<QWidget*>(chkEmailAllowPersonalAddresses_),
             static_cast<QWidget*>(fraSMSSendOptions_), lblSMSSendOptionsDesc_}) {
        w->setEnabled(false);
    }

    txtComputer_->SetKeyFilter(&SettingsRules::ComputerNameKey);
    txtEmailAddress_->SetKeyFilter(&SettingsRules::EmailAddressKey);
    txtEmailName_->SetKeyFilter(&SettingsRules::EmailNameKey);
    for (TextBox* box : {txtComputer_, txtEmailAddress_, txtEmailName_}) {
        FormHelper::SelectAllTextOnFocus(box);
    }

    connect(chkEmailSendEnabled_, &QCheckBox::toggled, this, [this] {
        applyEmailRule();
        cmdOK_->setEnabled(true);
    });
    connect(chkSMSSendEnabled_, &QCheckBox::toggled, this, [this] {
        applySmsRule();
        cmdOK_->setEnabled(true);
    });
    connect(optTalkbackSimple_, &QRadioButton::toggled, this, [this] { applyTalkbackRule(); });
    connect(txtEmailName_, &QLineEdit::textChanged, this, [this] { cmdOK_->setEnabled(true); });
    connect(txtEmailAddress_, &QLineEdit::textChanged, this, [this] { cmdOK_->setEnabled(true); });

    connect(cmdOrlixDBBrowse, &QPushButton::clicked, this, [this] {
        browse(lblOrlixDatabasePath_, QStringLiteral("Browse for Orlix Database Location"));
    });
    connect(cmdScriptPathBrowse, &QPushButton::clicked, this,
            [this] { browse(lblScriptPath_, QStringLiteral("Browse for Scripts Folder")); });
    connect(cmdTalkbackPathBrowse_, &QPushButton::clicked, this, [this] {
        browse(lblTalkbackSimplePath_, QStringLiteral("Browse for Simple Talkback Shared Folder"));
    });
    connect(cmdScriptFont, &QPushButton::clicked, this,
            [this] { choosePreviewFont(ctlScriptFont_); });
    connect(cmdTalkbackFont, &QPushButton::clicked, this,
            [this] { choosePreviewFont(ctlTalkbackFont_); });
    connect(cmdProfileManagement, &QPushButton::clicked, this, [this] { manageProfiles(); });
    connect(cmdOK_, &QPushButton::clicked, this, [this] { okClicked(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmSettings::load() {
    const QColor back = GraphicsRenderer().WindowBackColour();
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(tbsOptions_)}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, back);
        w->setPalette(p);
    }

    txtComputer_->setText(settings_.VorelaComputerName());

    ctlOptions_->Clear();
    QTreeWidgetItem* startup =
        ctlOptions_->AddGroup(QStringLiteral("STARTUP"), QStringLiteral("Orlix startup options:"));
    ctlOptions_->AddItem(
        startup, QStringLiteral("Startup.AttemptAutoLogin"),
        QStringLiteral("Attempt to Login to the 'Directory' with the Windows(TM) Login Name"),
        settings_.StartupAutoLogin());

    const auto loadSample = [](QLabel* label, const std::shared_ptr<StdFont>& font) {
        if (font && !font->Name.isEmpty()) {
            label->setFont(FontConversion::ToQFont(*font));
        }
    };
    loadSample(lblGeneralFont_, settings_.GeneralFont());
    loadSample(lblPrizeFont_, settings_.PrizeFont());

    const auto loadPreview = [](uFontPreview* preview, const QString& text,
                                const std::shared_ptr<FontStyle>& font) {
        preview->SetPlainText(text);
        if (!font || font->Name.isEmpty()) {
            return; // the design font stays
        }
        preview->SelectAll();
        preview->SetSelFontName(font->Name);
        preview->SetSelBold(font->Bold);
        preview->SetSelItalic(font->Italic);
        preview->SetSelFontSize(font->Size);
        preview->SetSelUnderline(font->UnderLine);
        preview->SetSelStrikeThrough(font->StrikeThru);
        preview->SetSelTextColour(font->TextColour);
        preview->SetHTML(preview->HTML());
    };
    loadPreview(ctlScriptFont_, QStringLiteral("Scripts will appear in this Font"),
                settings_.ScriptFont());

    sldScriptAutoScrollSpeed_->setValue(std::clamp<int>(settings_.ScriptScrollSpeed(),
                                                        sldScriptAutoScrollSpeed_->minimum(),
                                                        sldScriptAutoScrollSpeed_->maximum()));
    chkEmailSendEnabled_->setChecked(settings_.EmailSendEnabled());
    txtEmailName_->setText(SettingsRules::TrimBlanks(settings_.EmailName()));
    txtEmailAddress_->setText(SettingsRules::TrimBlanks(settings_.EmailAddress()));
    chkEmailAllowPersonalAddresses_->setChecked(settings_.EmailAllowPersonalAddresses());
    chkSMSSendEnabled_->setChecked(settings_.SMSSendEnabled());
    loadPreview(ctlTalkbackFont_, QStringLiteral("Talkback conversations will appear in this Font"),
                settings_.TalkbackFont());
    optTalkbackSimple_->setChecked(true);
    setFolder(lblTalkbackSimplePath_, settings_.TalkbackSimplePath());
    setFolder(lblOrlixDatabasePath_, settings_.OrlixPath());
    setFolder(lblScriptPath_, settings_.ScriptPath());
    clearMargins(ctlScriptFont_);
    clearMargins(ctlTalkbackFont_);

    // A value set from code raises no click: the enabling rules run here.
    applyEmailRule();
    applySmsRule();
    applyTalkbackRule();
    tbsOptions_->setCurrentIndex(0);
}

void frmSettings::applyEmailRule() {
    const bool on = chkEmailSendEnabled_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{
             fraEmailSendOptions_, lblEmailNameDesc_, static_cast<QWidget*>(txtEmailName_),
             lblEmailAddressDesc_, static_cast<QWidget*>(txtEmailAddress_),
             static_cast<QWidget*>(chkEmailAllowPersonalAddresses_)}) {
        w->setEnabled(on);
    }
    const QColor base =
        ColourNumber::ToColour(on ? ColourNumber::kSystemWindow : ColourNumber::kSystemButtonFace);
    for (TextBox* box : {txtEmailName_, txtEmailAddress_}) {
        QPalette p = box->palette();
        p.setColor(QPalette::Base, base);
        box->setPalette(p);
    }
}

void frmSettings::applySmsRule() {
    const bool on = chkSMSSendEnabled_->isChecked();
    fraSMSSendOptions_->setEnabled(on);
    lblSMSSendOptionsDesc_->setEnabled(on);
}

void frmSettings::applyTalkbackRule() {
    const bool on = optTalkbackSimple_->isChecked();
    lblTalkbackSimplePath_->setEnabled(on);
    cmdTalkbackPathBrowse_->setEnabled(on);
}

void frmSettings::okClicked() {
    try {
        if (checkAndSave()) {
            accept();
        }
    } catch (const std::exception& e) {
        ShowProblem(QStringLiteral("saving the program settings"), QString::fromUtf8(e.what()));
    } catch (...) {
        ShowProblem(QStringLiteral("saving the program settings"), QString());
    }
}

bool frmSettings::checkAndSave() {
    SettingsRules::Entries entries;
    entries.emailSendEnabled = chkEmailSendEnabled_->isChecked();
    entries.emailName = txtEmailName_->text();
    entries.emailAddress = txtEmailAddress_->text();
    entries.talkbackFolder = lblTalkbackSimplePath_->text();
    entries.databaseFolder = lblOrlixDatabasePath_->text();
    entries.scriptFolder = lblScriptPath_->text();
    const auto refusal = SettingsRules::Validate(
        entries, [this](Folder folder, const QString& path) { return ensureFolder(folder, path); });
    if (refusal) {
        if (refusal->tab) {
            tbsOptions_->setCurrentIndex(static_cast<int>(*refusal->tab));
        }
        if (!refusal->message.isEmpty()) {
            MsgBox(refusal->message, MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        }
        return false;
    }

    storeControls();
    QString profile;
    if (!settings_.SaveSettings(profile)) {
        ShowProblem(QStringLiteral("saving the settings of the profile '") +
                        settings_.ProfileName() + QLatin1Char('\''),
                    QStringLiteral("the settings store '") +
                        RegistryStore::FilePath(RegistryRoot::LocalMachine) +
                        QStringLiteral("' could not be written"));
        return false;
    }
    return true;
}

FolderOutcome frmSettings::ensureFolder(Folder folder, const QString& path) {
    if (FileSystemHelper::FolderExists(path)) {
        return FolderOutcome::Exists;
    }
    const MsgResult answer = MsgBox(SettingsRules::MissingFolderQuestion(folder, path),
                                    MsgIcon::Question, MsgButtons::YesNo, 1, this);
    if (answer != MsgResult::Yes) {
        return FolderOutcome::Declined;
    }
    return FileSystemHelper::CreateFolder(path, 0) ? FolderOutcome::Created : FolderOutcome::Failed;
}

void frmSettings::storeControls() {
    settings_.SetVorelaComputerName(SettingsRules::TrimBlanks(txtComputer_->text()));
    const auto storeSample = [](QLabel* label, const std::shared_ptr<StdFont>& font) {
        if (!font) {
            return;
        }
        const QFont f = label->font();
        font->Bold = f.bold();
        font->Italic = f.italic();
        font->Underline = f.underline();
        font->Strikethrough = f.strikeOut();
        font->Size = f.pointSizeF();
        font->Name = f.family();
    };
    storeSample(lblGeneralFont_, settings_.GeneralFont());
    storeSample(lblPrizeFont_, settings_.PrizeFont());
    const auto storePreview = [](uFontPreview* preview, const std::shared_ptr<FontStyle>& font) {
        if (!font) {
            return;
        }
        preview->SelectAll();
        font->TextColour = preview->SelTextColour();
        font->Bold = preview->SelBold();
        font->Italic = preview->SelItalic();
        font->UnderLine = preview->SelUnderline();
        font->StrikeThru = preview->SelStrikeThrough();
        font->Size = preview->SelFontSize();
        font->Name = preview->SelFontName();
    };
    storePreview(ctlScriptFont_, settings_.ScriptFont());
    settings_.SetScriptScrollSpeed(static_cast<qint16>(sldScriptAutoScrollSpeed_->value()));
    storePreview(ctlTalkbackFont_, settings_.TalkbackFont());
    settings_.SetTalkbackSimplePath(SettingsRules::TrimBlanks(lblTalkbackSimplePath_->text()));
    settings_.SetOrlixPath(SettingsRules::TrimBlanks(lblOrlixDatabasePath_->text()));
    settings_.SetScriptPath(SettingsRules::TrimBlanks(lblScriptPath_->text()));
    settings_.SetStartupAutoLogin(
        ctlOptions_->ItemValue(QStringLiteral("Startup.AttemptAutoLogin")));
    settings_.SetEmailSendEnabled(chkEmailSendEnabled_->checkState() != Qt::Unchecked);
    settings_.SetEmailName(SettingsRules::TrimBlanks(txtEmailName_->text()));
    settings_.SetEmailAddress(SettingsRules::TrimBlanks(txtEmailAddress_->text()));
    settings_.SetEmailAllowPersonalAddresses(chkEmailAllowPersonalAddresses_->checkState() !=
                                             Qt::Unchecked);
    settings_.SetSMSSendEnabled(chkSMSSendEnabled_->checkState() != Qt::Unchecked);
}

void frmSettings::browse(QLabel* label, const QString& title) {
    try {
        const QString folder = CommonDialogs().askFolder(title, label->text(), this);
        if (!folder.isEmpty()) {
            setFolder(label, folder);
        }
    } catch (...) {
        ShowProblem(QStringLiteral("choosing a folder"), QString());
    }
}

void frmSettings::chooseSampleFont(QLabel* sample) {
    try {
        const QFont current = sample->font();
        FontDialogRequest request;
        request.initial = current;
        // The sample keeps its underline and strike-out as they were: they are not offered.
        request.withEffects = false;
        request.owner = this;
        const auto answer = CommonDialogs().askFont(request);
        if (!answer) {
            return;
        }
        QFont chosen = current;
        chosen.setFamily(answer->font.family());
        chosen.setPointSizeF(answer->font.pointSizeF());
        chosen.setBold(answer->font.bold());
        chosen.setItalic(answer->font.italic());
        sample->setFont(chosen);
    } catch (...) {
        ShowProblem(QStringLiteral("choosing a font"), QString());
    }
}

void frmSettings::choosePreviewFont(uFontPreview* preview) {
    try {
        preview->SelectAll();
        if (!preview->ShowFont()) {
            return;
        }
        preview->SetHTML(preview->HTML());
        clearMargins(preview);
    } catch (...) {
        ShowProblem(QStringLiteral("choosing a font"), QString());
    }
}

void frmSettings::manageProfiles() {
    try {
        ProfileManager::ManageProfiles(SettingsKeys::ProfilesA(), this, settings_.ProfileName());
    } catch (...) {
        ShowProblem(QStringLiteral("managing the profiles"), QString());
    }
    cmdOK_->setEnabled(true);
}
