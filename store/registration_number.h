#pragma once

#include <QString>

namespace store {

// The one form in which a car's registration number is kept and looked up: upper case, without
// blanks, and the Latin letters that look like the Cyrillic ones of Bulgarian plates
// (A B E K M H O P C T Y X) written as those Cyrillic letters. People type plates either way.
QString normalRegistrationNumber(const QString& typed);

} // namespace store
