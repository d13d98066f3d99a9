#pragma once
// Users' passwords, stored as salted Argon2id hashes (libsodium) of the case-folded text: letter
// case does not matter at login, as when they were kept as typed and compared by the database.

#include <QString>

// The text that is hashed: the password with its letter case folded, nothing else changed.
QString ClavePlegada(const QString& clave);

// A new hash of `clave`, with a salt of its own. Faults: ErrorBD when the library cannot start
// or the memory the hash needs is not there.
QString CifrarClave(const QString& clave);

// Whether `guardada` is one of our hashes rather than a password kept as typed (an older
// version's, or one set by hand to recover an account).
bool EsClaveCifrada(const QString& guardada);

enum class Coincidencia {
    No,
    Si,
    // It matches, but must be stored hashed anew: kept as typed, or hashed at another cost.
    SiRecifrar
};
// A typed password against a stored one: a hash is verified, anything else is compared as the
// database compares texts.
Coincidencia ComprobarClave(const QString& escrita, const QString& guardada);
// Spends the time of verifying one hash, for a login whose user name has no hashed password:
// a login takes as long whether or not the user exists.
void GastarComprobacion(const QString& escrita);

// Test hook: hashes made from now on at the least cost the library allows (true), or at the
// program's own (false), so that a test suite making many users stays quick.
void FijarCostoMinimoClaves(bool minimo);
