// Changes the settings over and over, as the program does, until it is killed: each round writes
// "round" and ten keys with the round's number and one large value, then saves; says every tenth
// round on its output.
#include "base/HSettingsManager.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    HSettingsManager settings(QSettings::UserScope, "Zelmo", "Gyre Player kill test");
    for (int round = settings.getInt("round", 0) + 1;; ++round) {
        for (int key = 0; key < 10; ++key) {
            settings.setValue(QString("keys/k%1").arg(key), round);
        }
        // About the size of the remembered media list.
        settings.setValue("resume/media", QString(60000, QChar('a' + round % 26)));
        settings.setValue("round", round);
        settings.sync();
        if (round % 10 == 0) {
            std::printf("saved round %d\n", round);
            std::fflush(stdout);
        }
    }
}
