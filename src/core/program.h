#pragma once

#include "core/startupoptions.h"
#include "core/windows/windowregistry.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class KVDirectory;
class OrlixDatabase;
class QWidget;
class cOCSettings;

// The program's services: made once by main (and by the test main for every test) and
// outliving every window. It holds the directory, the messages database, the profile's
// settings, the start-up options, the program's folders, the main window and the window
// registry. Nothing else keeps a copy of these: a window takes what it uses from here when
// it is made, and a pure function is given only the service it needs.
class Program : public QObject {
    Q_OBJECT
public:
    explicit Program(StartupOptions options = {});
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The program being run: the newest one alive (a test may make its own for a while).
    // Asking when there is none is a programming error and ends the program.
    static Program& Instance();
    // The same, or null when none is alive (code that also runs outside the program).
    static Program* Current();

    const StartupOptions& Options() const { return options_; }
    // For tests, which start the program with several command lines in one run.
    void SetOptions(StartupOptions options) { options_ = std::move(options); }

    // The directory start-up opens and shut-down closes; null outside that span.
    KVDirectory* Directory() const { return directory_.get(); }
    void SetDirectory(std::unique_ptr<KVDirectory> directory);

    // The messages database the main window opens and hands over; null while none is open.
    // DatabaseChanged follows every change, with the new database or null.
    OrlixDatabase* Database() const { return database_.get(); }
    void SetDatabase(std::unique_ptr<OrlixDatabase> database);
    // Hands the database back, for closing; the program then has none.
    std::unique_ptr<OrlixDatabase> TakeDatabase();

    // The profile's settings of the last settings load; null before the first.
    const cOCSettings* Settings() const { return settings_.get(); }
    // Where the main window loads them: every settings load replaces what is here.
    std::unique_ptr<cOCSettings>& SettingsSlot() { return settings_; }

    // The program's data folder, <common data>/Kestova/Orlix; its Temp folder holds the
    // database's graphics and the rendered message list.
    QString DataFolder() const;
    // The profile chosen at start-up and its folder; empty before.
    const QString& ProfileName() const { return profileName_; }
    const QString& ProfileFolder() const { return profileFolder_; }
    void SetProfile(const QString& name, const QString& folder);

    // The main window while it exists; null before and after.
    QWidget* MainWindow() const;
    void SetMainWindow(QWidget* window);

    WindowRegistry& Windows() { return windows_; }

Q_SIGNALS:
    void DatabaseChanged(OrlixDatabase* database);

private:
    Program* previous_ = nullptr;
    StartupOptions options_;
    std::unique_ptr<KVDirectory> directory_;
    std::unique_ptr<OrlixDatabase> database_;
    std::unique_ptr<cOCSettings> settings_;
    QString profileName_;
    QString profileFolder_;
    QPointer<QWidget> mainWindow_;
    WindowRegistry windows_;
};
