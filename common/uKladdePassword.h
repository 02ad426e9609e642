#pragma once

#include <QString>

// The password of Access databases in the .accdb format, also the key of encrypted SQLite databases.
QString GetAccdbPassword();
// The password of all other Access databases.
QString GetMdbPassword();
