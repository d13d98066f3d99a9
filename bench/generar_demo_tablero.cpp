// A month of demo data for the Tablero window in a station's file made by crear_bd.
// Usage: generar_demo_tablero FOLDER [days, 30] [exits per day, 120]; the last day is yesterday.

#include "bench/demotablero.h"

#include <QDir>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc < 2 || !QDir(QString::fromLocal8Bit(argv[1])).exists(QStringLiteral("vialtor.mdb"))) {
        std::fprintf(stderr, "uso: generar_demo_tablero CARPETA [dias] [salidas por dia]\n");
        return 2;
    }
    const int dias = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;
    const int porDia = argc > 3 ? std::max(1, std::atoi(argv[3])) : 120;
    CargarDemoTablero(QString::fromLocal8Bit(argv[1]), QDate::currentDate().addDays(-1), dias,
                      porDia);
    std::printf("%d días de %d salidas hasta ayer\n", dias, porDia);
    return 0;
}
