#!/bin/sh
# The checks make test runs on the Debian package; a missing tool is a failure, never a skip.
#   comprobar_paquete.sh lintian DEB
#   comprobar_paquete.sh menu ESCRITORIO METAINFO
#   comprobar_paquete.sh instalado DEB VERSION ID CARPETA_EXTENSION CARPETA_COMPILACION
#                        PRUEBA_EXTENSION
set -eu
falla() { echo "FALLA: $*" >&2; exit 1; }
requiere() {
  for h in "$@"; do
    command -v "$h" >/dev/null 2>&1 || falla "falta la herramienta $h (make deps la instala)"
  done
}

case $1 in
lintian)
  requiere lintian
  [ -f "$2" ] || falla "no se construyó el paquete $2"
  # Errors fail; warnings are shown for whoever reads the log.
  lintian --fail-on error --tag-display-limit 0 "$2"
  ;;
menu)
  requiere desktop-file-validate appstreamcli
  desktop-file-validate "$2"
  appstreamcli validate --no-net --explain "$3"
  ;;
instalado)
  requiere dpkg-deb sqlite3 appstreamcli
  deb=$2 version=$3 id=$4 extension=usr/$5/vialtor_jet.so compilacion=$6 prueba_extension=$7
  [ -f "$deb" ] || falla "no se construyó el paquete $deb"
  raiz=$(mktemp -d)
  trap 'rm -rf "$raiz"' EXIT
  dpkg-deb -x "$deb" "$raiz"
  campo() { dpkg-deb -f "$deb" "$1"; }
  [ "$(campo Version)" = "$version" ] || falla "versión $(campo Version), se esperaba $version"
  for d in qt6-qpa-plugins postgresql-client fonts-liberation libqt6widgets6 libsqlite3-0 libpq5 libsodium23; do
    campo Depends | grep -q "\b$d\b" || falla "Depends sin $d: $(campo Depends)"
  done
  [ "$(campo Recommends)" = cups ] || falla "Recommends: $(campo Recommends)"

  escritorio=$raiz/usr/share/applications/$id.desktop
  for f in usr/bin/vialtor usr/bin/vialtor-crear-bd usr/bin/vialtor-impresora-virtual "$extension" \
           "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml" \
           usr/share/doc/vialtor/copyright usr/share/doc/vialtor/changelog.gz \
           usr/share/man/man1/vialtor.1.gz usr/share/man/man1/vialtor-crear-bd.1.gz \
           usr/share/man/man1/vialtor-impresora-virtual.1.gz; do
    [ -s "$raiz/$f" ] || falla "el paquete no instala /$f"
  done
  # The menu entry's program and icon, and every picture the program loads.
  programa=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$escritorio")
  [ -x "$raiz/usr/bin/$programa" ] || falla "Exec=$programa no está en /usr/bin"
  icono=$(sed -n 's/^Icon=//p' "$escritorio")
  for lado in 16 32 48 64 128 256; do
    [ -s "$raiz/usr/share/icons/hicolor/${lado}x$lado/apps/$icono.png" ] ||
      falla "falta el ícono $icono de ${lado}x$lado"
  done
  (cd "$compilacion" && find ico img -type f) | while read -r f; do
    [ -s "$raiz/usr/share/vialtor/$f" ] || falla "el paquete no instala /usr/share/vialtor/$f"
  done
  zcat "$raiz/usr/share/doc/vialtor/changelog.gz" | head -1 | grep -q "^vialtor ($version)" ||
    falla "el changelog no empieza por la versión $version"
  appstreamcli validate-tree --no-net "$raiz"

  # The installed tools name themselves as they are called.
  for herramienta in vialtor-crear-bd vialtor-impresora-virtual; do
    "$raiz/usr/bin/$herramienta" --help 2>&1 | head -1 | grep -q "^Uso: $herramienta " ||
      falla "$herramienta --help no se nombra como se llama"
  done

  # The installed tool makes a station whose file the stock sqlite3 shell opens with the
  # installed extension.
  sh "$prueba_extension" "$raiz/usr/bin/vialtor-crear-bd" "$raiz/$extension"
  ;;
*)
  falla "uso: comprobar_paquete.sh lintian|menu|instalado ..."
  ;;
esac
