#pragma once

#include <QString>

// What the running program knows about itself: title, product name, version and its folder.
class AppInfo {
public:
    static QString Title();
    static QString ProductName();
    static QString EXEName();
    static QString LegalCopyright();
    // The maker's web site, without a trailing "/".
    static QString MakerWebsite();
    // The maker's support desk.
    static QString SupportEmail();
    static int Major();
    static int Minor();
    static int Revision();

    // The program's folder (help file, update notes). Tests point it at a fixture folder.
    static QString Path();
    static void SetPath(const QString& folder);
};
