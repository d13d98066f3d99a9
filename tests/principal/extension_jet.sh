#!/bin/sh
# The stock sqlite3 shell checks and edits a new database once the extension is loaded, and
# cannot without it. Arguments: crear_bd, the extension.
set -eu
crear_bd=$1
extension=${2%.*}
d=$(mktemp -d)
trap 'rm -rf "$d"' EXIT
# The first user's password comes from the environment, off the process list.
VIALTOR_CLAVE=clave7 "$crear_bd" "$d" --usuario a --punto-control C >/dev/null
bd=$d/vialtor.mdb
falla() { echo "FALLA: $*" >&2; exit 1; }

sqlite3 "$bd" "PRAGMA integrity_check" >/dev/null 2>&1 && falla "sin la extensión no debería poder comprobarse"
con() { sqlite3 -bail -cmd ".load $extension" "$bd" "$@"; }
[ "$(con "PRAGMA integrity_check")" = ok ] || falla "integrity_check"
case "$(con "SELECT pwd FROM Usuarios")" in
  '$argon2id$'*) ;;
  *) falla "la clave de VIALTOR_CLAVE debe guardarse cifrada" ;;
esac
con "INSERT INTO Entradas (FechaEntrada, Placa, Tarifa) VALUES ('06/12/2026 02:05:09 pm', 'abc12', 500)"
[ "$(con "SELECT FechaEntrada FROM Entradas WHERE Placa = 'ABC12'")" = "2026-12-06 14:05:09" ] ||
  falla "fecha o colación: $(con "SELECT FechaEntrada, Placa FROM Entradas")"
con "UPDATE Entradas SET FechaEntrada = 'ayer'" 2>/dev/null && falla "una fecha ilegible no debe guardarse"
[ "$(con "SELECT count(*) FROM Entradas WHERE Placa LIKE 'ab%'")" = 1 ] || falla "like"
echo ok
