#include "core/program.h"

#include "core/profile/cocsettings.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/system/filesystemhelper.h"

#include <QWidget>

namespace {
Program*& current() {
    static Program* program = nullptr;
    return program;
}
} // namespace

Program::Program(StartupOptions options) : previous_(current()), options_(std::move(options)) {
    current() = this;
}

Program::~Program() {
    if (current() == this) {
        current() = previous_;
    }
    // The database asks the directory for the current user: it goes first.
    database_.reset();
    directory_.reset();
}

Program& Program::Instance() {
    if (current() == nullptr) {
        qFatal("The program's services were asked for before the program was made");
    }
    return *current();
}

Program* Program::Current() {
    return current();
}

void Program::SetDirectory(std::unique_ptr<KVDirectory> directory) {
    directory_ = std::move(directory);
}

void Program::SetDatabase(std::unique_ptr<OrlixDatabase> database) {
    if (database == database_) {
        return;
    }
    database_ = std::move(database);
    Q_EMIT DatabaseChanged(database_.get());
}

std::unique_ptr<OrlixDatabase> Program::TakeDatabase() {
    std::unique_ptr<OrlixDatabase> database = std::move(database_);
    if (database != nullptr) {
        Q_EMIT DatabaseChanged(nullptr);
    }
    return database;
}

QString Program::DataFolder() const {
    return FileSystemHelper::SpecialFolderPath(FileSystemHelper::CommonAppData) +
           QStringLiteral("/Kestova/Orlix");
}

void Program::SetProfile(const QString& name, const QString& folder) {
    profileName_ = name;
    profileFolder_ = folder;
}

QWidget* Program::MainWindow() const {
    return mainWindow_.data();
}

void Program::SetMainWindow(QWidget* window) {
    mainWindow_ = window;
}
