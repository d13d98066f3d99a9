#pragma once
// The station's direct printer, vialtor_impresora.cfg beside vialtor.cfg: one line
// KIND;ADDRESS;WIDTH;OPTIONS, such as "red;192.168.1.50:9100;80;corte,cajon".

#include <QString>
#include <optional>

enum class ClaseImpresora { Red, Usb, Serie };

struct ConfigImpresora {
    ClaseImpresora clase = ClaseImpresora::Red;
    // The host (red) or the device file (usb, serie).
    QString direccion;
    // The TCP port (red) or the line's speed (serie).
    int puertoOVelocidad = 0;
    int anchoMm = 80;
    bool corte = false;
    bool cajon = false;
    // The barcode as an image, for printers without a native Code 128.
    bool raster = false;
    // Characters of font A on a line of the roll.
    int columnas() const { return anchoMm == 58 ? 32 : 48; }
};

struct LecturaImpresora {
    std::optional<ConfigImpresora> config; // none: print as always
    QString error;                         // why a damaged line is not used
};

inline const QString kArchivoImpresora = QStringLiteral("vialtor_impresora.cfg");

// The printer a line sets, or the sentence that names the field that spoils it.
LecturaImpresora LeerLineaImpresora(const QString& linea);
// The printer of the station whose folder is `carpeta`: none without the file, and the
// sentence when it cannot be read or its line is damaged.
LecturaImpresora LeerConfigImpresora(const QString& carpeta);
