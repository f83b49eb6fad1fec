#pragma once
// What the font pickers offer and what a face name draws with.

#include <QStringList>

namespace vellum {

// The installed families a user can pick, sorted; vertical writing is a
// property of the text, so the "@" variants are not listed.
void UsableFontNames(QStringList& list);
// The charset of the face a name draws with; 1 (default) when it reports none.
int FontCharset(const QString& name);

} // namespace vellum
