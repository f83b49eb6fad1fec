#pragma once
// Backslash paths of elements inside a compound file.

#include <QString>
#include <QStringList>

namespace vellum {

// Combines a base path with a name: a leading "\" in the name starts from the
// root, "." is dropped, ".." goes one level up; the result starts with "\"
// only when the base does. Going above the root raises EPathUtil.
QString CombinePath(const QString& base, const QString& name);
// The components of a path, empty ones dropped.
QStringList SplitPath(const QString& path);
// The number of leading components two paths share, compared without regard to case.
int SharedComponents(const QStringList& a, const QStringList& b);

} // namespace vellum
