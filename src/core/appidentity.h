#pragma once

#include <QString>

// The identity under which settings and per-user data are stored.
namespace AppIdentity {

inline const char *const organisationName = "Lumorel";
inline const char *const applicationName = "RAMAN";

// Sets organisation, application name and INI as default settings format. Must run before any
// settings object or standard path is used; the program, the command-line tool and tests share it.
void apply();

} // namespace AppIdentity
