#pragma once
// The compound file binary format: a whole file read into a tree of
// TCompoundNode and a tree written out as a version 3 file.
//
// Reading accepts versions 3 and 4 and any tree shape; every sector index,
// chain, count and size is checked before use, and a damaged file raises
// ECompoundFile naming what failed (never a partial tree). Writing is
// deterministic: the same tree always gives the same bytes.

#include "platform/CompoundNode.h"

#include <QByteArrayView>
#include <QString>

#include <memory>

namespace vellum {

// The tree of a file image; the root node stands for the root entry.
std::shared_ptr<TCompoundNode> ReadCompoundFile(QByteArrayView image);
// The version 3 file image of a tree.
QByteArray WriteCompoundFile(const TCompoundNode& root);

// Reads a file; a missing file raises EOleSysError (STG_E_FILENOTFOUND).
std::shared_ptr<TCompoundNode> LoadCompoundFile(const QString& fileName);
// Writes the file whole through WriteFileAtomically: the target is untouched
// when anything fails.
// A new file gets newFileMode (see WriteFileAtomically).
void SaveCompoundFile(const TCompoundNode& root, const QString& fileName, int newFileMode = -1);

} // namespace vellum
