#include <QApplication>

#include "app/KestrovaApp.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kestrova::KestrovaApp kestrova(QCoreApplication::applicationDirPath().toStdString());
    if (!kestrova.start()) {
        return 1;
    }
    return app.exec();
}
