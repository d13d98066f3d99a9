#include "turnos/auditoria.h"

#include <gtest/gtest.h>

#ifdef VIALTOR_VENTANAS
#include <QApplication>
using Aplicacion = QApplication;
#else
#include <QCoreApplication>
using Aplicacion = QCoreApplication;
#endif

int main(int argc, char* argv[]) {
    Aplicacion app(argc, argv);
    InstalarAuditoria();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
