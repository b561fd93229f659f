// Another program writing to a configuration store file, for the store's tests:
//   configwriter FILE PREFIX COUNT    writes the numbers PREFIX0 = 0 .. PREFIX<COUNT-1>, one
//                                     write each
//   configwriter FILE --stop NAME TEXT
//                                     writes one text and stops once the new content is
//                                     complete beside the file, before it takes the file's
//                                     place, saying "stopped" and waiting to be killed
// The values go to the key "Software\Writer". Exit status: 0 when every write succeeded.

#include "platform/system/configfile.h"
#include "platform/system/platformlog.h"

#include <QCoreApplication>
#include <QStringList>

#include <unistd.h>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    SetPlatformLogHandler(
        [](const QString& text, int) { std::fprintf(stderr, "%s\n", qPrintable(text)); });
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString key = QStringLiteral("Software\\Writer");
    if (args.size() == 4 && args.at(1) == QLatin1String("--stop")) {
        ConfigFile file(args.at(0));
        ConfigFile::SetBeforeReplaceHook([] {
            std::puts("stopped");
            std::fflush(stdout);
            for (;;) {
                ::pause();
            }
        });
        file.write({{key, args.at(2), args.at(3)}});
        return 1;
    }
    bool ok = false;
    const int count = args.size() == 3 ? args.at(2).toInt(&ok) : 0;
    if (!ok) {
        std::fputs("usage: configwriter FILE PREFIX COUNT | FILE --stop NAME TEXT\n", stderr);
        return 2;
    }
    ConfigFile file(args.at(0));
    for (int i = 0; i < count; ++i) {
        if (!file.write({{key, args.at(1) + QString::number(i), qint64{i}}})) {
            return 1;
        }
    }
    return 0;
}
