#pragma once

#include <QString>

// Files and folders. Paths use "/" separators; file names keep their case.
class FileSystemHelper {
public:
    enum SpecialFolder { CommonAppData = 35 };

    // The common application data folder, without a trailing separator.
    static QString SpecialFolderPath(int folderId);
    // Makes the folder and every missing parent; true when it exists afterwards.
    static bool CreateFolder(const QString& path, int mode = 0);
    // The reason a folder could not be made, in the system's words: the error of making its
    // first missing parent, or why an existing path is not a folder.
    static QString FolderCreationError(const QString& path);
    static bool FileExists(const QString& path);
    static bool FolderExists(const QString& path);
    // Creation, last-modified and last-access times in whole seconds since the Unix epoch
    // (UTC). False when the file is missing; the times are then 0.
    static bool GetFileTimes(const QString& path, qint64& created, qint64& modified,
                             qint64& accessed);
    // Negative for a missing file, else its size in bytes.
    static double FileSize(const QString& path);
    static QString FileNameOfPath(const QString& path);
    // The extension without the dot, "" when there is none.
    static QString FileExtension(const QString& path);
    // The name without its folder and its last extension.
    static QString FileTitle(const QString& path);
    // The folder part, without a trailing separator.
    static QString FolderOfPath(const QString& path, int mode = 0);
    // Deletes a file: with allowUndo into the desktop's trash where it has one, else (or when
    // the trash refuses it) removed for good. 0 on success; otherwise the system's error
    // number, with its reason in reason when given. caption names the task for a progress
    // display; one file needs none.
    static qint32 DeleteFileWithProgress(const QString& path, const QString& caption,
                                         bool allowUndo, QString* reason = nullptr);
};
