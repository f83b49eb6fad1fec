#include "DocumentFixture.h"

#include "../core/CoreTestKinds.h"
#include "base/StringList.h"
#include "core/DocStorage.h"
#include "core/DocStream.h"
#include "paper/MatrixPaperInfo.h"

#include <QFile>
#include <functional>

namespace vellum::test {

const TClassInfo& TOldShape::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TOldShape, TTestShape>("TOldShape", [](auto&) {});
    return info;
}

void AddShapes(TOwnedDOList& list, std::initializer_list<int> lefts) {
    for (int left : lefts)
        list.Give(std::make_unique<TTestShape>()).SetRect(TRect{left, 10, left + 100, 110});
}

std::vector<int> Lefts(const TDOList& list) {
    std::vector<int> out;
    for (TDrawObject* object : list) out.push_back(object->GetBounds().Left);
    return out;
}

QStringList SheetNames(TLabelData& doc) {
    TStringList names;
    doc.GetSheetNames(names);
    return names.Items();
}

void SetMatrixPaper(TLabelData& doc, int columns, int rows) {
    TMatrixPaperInfo paper;
    paper.SetPortraitSize(2100, 2970);
    paper.FaceWidth = 910;
    paper.FaceHeight = 550;
    paper.FaceCountX = columns;
    paper.FaceCountY = rows;
    paper.SetPaperName(QStringLiteral("テスト用紙"));
    doc.SetPaper(&paper);
}

QByteArray FileBytes(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray();
    return file.readAll();
}

} // namespace vellum::test
