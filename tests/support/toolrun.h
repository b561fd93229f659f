#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// One run of one of the program's command-line tools: its exit code (-1 when it crashed or
// did not finish within 30 s) and what it wrote. The tool inherits the test's ORLIX_HOME, as
// a program started beside the client would.
struct ToolRun {
    int Code = -1;
    QString Out;
    QString Err;
};

inline ToolRun RunTool(const QString& program, const QStringList& args,
                       const QString& workingFolder = {}) {
    QProcess p;
    if (!workingFolder.isEmpty()) {
        p.setWorkingDirectory(workingFolder);
    }
    p.start(program, args);
    ToolRun r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.Code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.Out = QString::fromUtf8(p.readAllStandardOutput());
    r.Err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
