#include "bd/claves.h"

#include "bd/conexion.h"
#include "bd/funcionesbd.h"

#include <algorithm>
#include <array>
#include <sodium.h>

namespace {

bool costoMinimo = false;

unsigned long long operaciones() {
    return costoMinimo ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
}

size_t memoria() {
    return costoMinimo ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE;
}

void iniciar() {
    static const bool iniciada = sodium_init() >= 0;
    if (!iniciada)
        throw ErrorBD(QStringLiteral("No se pudo iniciar el cifrado de claves"));
}

using Hash = std::array<char, crypto_pwhash_STRBYTES>;

// A stored text as one of our hashes; false for anything else. The library reads a hash as a
// buffer of its full size, so the text is copied into one, zero-filled.
bool leerHash(const QString& texto, Hash& hash) {
    const QByteArray bytes = texto.toUtf8();
    if (bytes.size() >= static_cast<int>(hash.size()))
        return false;
    hash.fill('\0');
    std::copy(bytes.begin(), bytes.end(), hash.begin());
    return crypto_pwhash_str_needs_rehash(hash.data(), operaciones(), memoria()) != -1;
}

bool verifica(const QString& escrita, const Hash& hash) {
    const QByteArray texto = ClavePlegada(escrita).toUtf8();
    return crypto_pwhash_str_verify(hash.data(), texto.constData(),
                                    static_cast<unsigned long long>(texto.size())) == 0;
}

// A hash of no one's password at the program's cost, verified when no hashed password is there
// to verify.
const char* const kFicticia = "$argon2id$v=19$m=65536,t=2,p=1$ZADI+8Glm28OIp2u8UEAtg$"
                              "YEsKkouy7xyMBHkA3TBJ2olzjM8aMAWRAyWK2iWSvQ0";

} // namespace

QString ClavePlegada(const QString& clave) {
    return clave.toCaseFolded();
}

QString CifrarClave(const QString& clave) {
    iniciar();
    const QByteArray texto = ClavePlegada(clave).toUtf8();
    Hash hash{};
    if (crypto_pwhash_str(hash.data(), texto.constData(),
                          static_cast<unsigned long long>(texto.size()), operaciones(),
                          memoria()) != 0)
        throw ErrorBD(QStringLiteral("No se pudo cifrar la clave"),
                      QStringLiteral("memoria insuficiente"));
    return QString::fromLatin1(hash.data());
}

bool EsClaveCifrada(const QString& guardada) {
    Hash hash;
    return leerHash(guardada, hash);
}

Coincidencia ComprobarClave(const QString& escrita, const QString& guardada) {
    iniciar();
    Hash hash;
    if (!leerHash(guardada, hash))
        return CompararJet(escrita, guardada) == 0 ? Coincidencia::SiRecifrar : Coincidencia::No;
    if (!verifica(escrita, hash))
        return Coincidencia::No;
    return crypto_pwhash_str_needs_rehash(hash.data(), operaciones(), memoria()) == 0
               ? Coincidencia::Si
               : Coincidencia::SiRecifrar;
}

void GastarComprobacion(const QString& escrita) {
    iniciar();
    Hash hash;
    leerHash(QString::fromLatin1(kFicticia), hash);
    verifica(escrita, hash);
}

void FijarCostoMinimoClaves(bool minimo) {
    costoMinimo = minimo;
}
