#include "settings/settingswindows.h"

#include "core/program.h"
#include "core/windows/windowregistry.h"
#include "settings/frmabout.h"
#include "settings/frmsettings.h"
#include "settings/frmsupportfile.h"

#include <QWidget>

void InstallSettingsWindows(WindowRegistry& windows) {
    // The dialog edits the settings object of the main window's last settings load, in place.
    windows.Register(WindowKind::Settings, [](QWidget* owner) -> QWidget* {
        auto& settings = Program::Instance().SettingsSlot();
        if (!settings) {
            return nullptr;
        }
        return new frmSettings(*settings, owner);
    });
    windows.Register(WindowKind::About,
                     [](QWidget* owner) -> QWidget* { return new frmAbout(owner); });
    windows.Register(WindowKind::SupportFile, [](QWidget* owner) -> QWidget* {
        return new frmSupportFile(Program::Instance().Database(), Program::Instance().Directory(),
                                  owner);
    });
}
