#include "shell/password_hash.h"

#include <sodium.h>

#include <stdexcept>

namespace shell {

namespace {

// Interactive costs: about a tenth of a second per login on an ordinary computer.
constexpr unsigned long long kOpsLimit = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr size_t kMemLimit = crypto_pwhash_MEMLIMIT_INTERACTIVE;

void ensureSodium() {
    static const int ready = sodium_init();
    if (ready < 0)
        throw std::runtime_error("libsodium cannot be initialised");
}

} // namespace

QString hashPassword(const QString& password) {
    ensureSodium();
    const QByteArray utf8 = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                          kOpsLimit, kMemLimit) != 0)
        throw std::runtime_error("not enough memory to hash the password");
    return QString::fromLatin1(hash);
}

bool isPasswordHash(const QString& stored) {
    return stored.startsWith(QLatin1String(crypto_pwhash_STRPREFIX));
}

bool passwordMatches(const QString& stored, const QString& typed) {
    if (stored.isEmpty())
        return false;
    if (!isPasswordHash(stored))
        return stored == typed;
    ensureSodium();
    const QByteArray hash = stored.toLatin1();
    const QByteArray utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), utf8.constData(),
                                    static_cast<unsigned long long>(utf8.size())) == 0;
}

bool hashNeedsRenewal(const QString& stored) {
    if (!isPasswordHash(stored))
        return true;
    ensureSodium();
    return crypto_pwhash_str_needs_rehash(stored.toLatin1().constData(), kOpsLimit, kMemLimit) != 0;
}

} // namespace shell
