#pragma once
// Helpers shared by the document tests.
#include "core/DOList.h"
#include "document/CardObjectHooks.h"
#include "document/LabelData.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "../core/CoreTestKinds.h"
#include "../support/StoredStreams.h"
#include "core/Capabilities.h"

namespace vellum::test {

// A retired kind: upgraded to a plain test shape.
class TOldShape : public TTestShape, public IDOUpgrade {
    VELLUM_CLASS(TOldShape)

public:
    using TTestShape::TTestShape;
    std::unique_ptr<TLabelObject> Upgrade() const override { return std::make_unique<TTestShape>(); }
};

// Shapes whose left edges tell them apart.
void AddShapes(TOwnedDOList& list, std::initializer_list<int> lefts);
std::vector<int> Lefts(const TDOList& list);
QStringList SheetNames(TLabelData& doc);
// A paper of faces 910 x 550 in columns x rows.
void SetMatrixPaper(TLabelData& doc, int columns, int rows);
QByteArray FileBytes(const QString& fileName);

// Card object hooks installed for one test.
struct TScopedHooks {
    explicit TScopedHooks(TCardObjectHooks hooks) : Id(AddCardObjectHooks(std::move(hooks))) {}
    ~TScopedHooks() { RemoveCardObjectHooks(Id); }
    TScopedHooks(const TScopedHooks&) = delete;
    TScopedHooks& operator=(const TScopedHooks&) = delete;
    static TCardObjectHooks Loaded(decltype(TCardObjectHooks::Loaded) loaded) {
        TCardObjectHooks hooks;
        hooks.Loaded = std::move(loaded);
        return hooks;
    }
    int Id;
};

class DocumentTest : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString PathOf(const QString& name) const { return Dir.filePath(name); }
};

} // namespace vellum::test
