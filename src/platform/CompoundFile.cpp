#include "platform/CompoundFile.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

namespace vellum {

std::shared_ptr<TCompoundNode> LoadCompoundFile(const QString& fileName) {
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile())
        throw EOleSysError(Format(QStringLiteral("ファイル %s が見つかりません"), fileName),
                           stg::kFileNotFound);
    if (!file.open(QIODevice::ReadOnly))
        throw EOleSysError(Format(QStringLiteral("ファイル %s を開けません（%s）"), fileName,
                                  file.errorString()),
                           stg::kAccessDenied);
    const QByteArray image = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EOleSysError(Format(QStringLiteral("ファイル %s を読み込めません（%s）"), fileName,
                                  file.errorString()),
                           stg::kReadFault);
    return ReadCompoundFile(image);
}

void SaveCompoundFile(const TCompoundNode& root, const QString& fileName, int newFileMode) {
    WriteFileAtomically(fileName, WriteCompoundFile(root), newFileMode);
}

} // namespace vellum
