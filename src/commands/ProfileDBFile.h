#pragma once
// Where the program's profile database lives: the setting "ProfileDB", by
// default the expansion of "$(ProfileDB)".

#include <QString>

namespace vellum {

QString ProfileDBFileName();

} // namespace vellum
