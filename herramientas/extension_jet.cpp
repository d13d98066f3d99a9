// The JET collation and the functions the schema's triggers call, as a loadable SQLite
// extension, so the stock sqlite3 shell or a database browser can check and edit the file.

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include "bd/funcionesbd.h"

// SQLite derives this entry point from the file name vialtor_jet.
extern "C" int sqlite3_vialtorjet_init(sqlite3* db, char**, const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    RegistrarFuncionesJet(db);
    return SQLITE_OK;
}
