// Writes the program's icon as PNG files for installation: one <dir>/<size>x<size>/apps/quorvel.png
// per size named on the command line. Usage: quorvel_icons <dir> <size>...
#include "app/AppIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: quorvel_icons <dir> <size>...\n");
        return 2;
    }
    for (const QString& arg : args.mid(2)) {
        bool ok = false;
        const int size = arg.toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "quorvel_icons: bad size %s\n", qPrintable(arg));
            return 2;
        }
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(args[1]).arg(size);
        const QString file = dir + QStringLiteral("/quorvel.png");
        if (!QDir().mkpath(dir) || !AppIcon::draw(size).save(file, "PNG")) {
            std::fprintf(stderr, "quorvel_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
