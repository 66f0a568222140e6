#pragma once

#include <QString>

namespace shell {

// Login passwords are kept as Argon2id hashes (libsodium's string form, which carries its own
// salt and cost). Older databases may still hold a password in plain text.

// A new hash of the password; throws std::runtime_error when the machine lacks the memory.
QString hashPassword(const QString& password);

// True when the stored text is a hash made by hashPassword (or by an older cost setting).
bool isPasswordHash(const QString& stored);

// Checks a typed password against the stored one: a hash is verified, plain text is compared
// exactly. An empty stored password never matches.
bool passwordMatches(const QString& stored, const QString& typed);

// True when a stored hash was made with weaker costs than today's and should be renewed.
bool hashNeedsRenewal(const QString& stored);

} // namespace shell
