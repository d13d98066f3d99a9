#include "bd/claves.h"
#include "turnos/rastroauditoria.h"

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
    // Every test makes a database with its first user: hashes at the program's cost would add
    // a tenth of a second and 64 MiB to each.
    FijarCostoMinimoClaves(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
