#include <QApplication>

#include "app/frmKestrova.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kestrova::frmKestrova window;
    window.show();
    return app.exec();
}
