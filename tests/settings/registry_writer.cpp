// Helper of the store's process tests: writes settings in a loop.
//   registry_writer names PREFIX N   writes PREFIX1=1 ... PREFIXN=N
//   registry_writer counter          increments "Counter" until killed,
//                                    saying "written" once the first lands
#include "support/qt_registry.h"

#include <QCoreApplication>

#include <cstdio>

using namespace wendle;
using namespace wendle::test;

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QString key = QStringLiteral("SOFTWARE\\Quorvel\\Utils\\Wendle");
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == "names") {
        const int count = args.at(3).toInt();
        for (int i = 1; i <= count; ++i)
            SaveSettingDword(RegistryRoot::LocalMachine, key, args.at(2) + QString::number(i), i,
                             -1);
        return 0;
    }
    if (args.size() == 2 && args.at(1) == "counter") {
        bool announced = false;
        for (;;) {
            const qint32 next = GetSettingDword(RegistryRoot::LocalMachine, key, "Counter", 0) + 1;
            SaveSettingDword(RegistryRoot::LocalMachine, key, "Counter", next, -1);
            if (!announced) {
                std::puts("written");
                std::fflush(stdout);
                announced = true;
            }
        }
    }
    return 2;
}
