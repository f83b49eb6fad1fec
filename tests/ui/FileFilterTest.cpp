#include "ui/FileFilter.h"

#include "base/Format.h"
#include "commands/FileDialogs.h"

#include <QFileDialog>
#include <QFileSystemModel>

#include <gtest/gtest.h>

namespace vellum {
namespace {

QString DocumentFilter() {
    return Format(QStringLiteral("%sﾃﾞｰﾀ(*.%s)|*.%s|すべてのﾌｧｲﾙ(*.*)|*.*"), QStringLiteral("Vellum4"),
                  QStringLiteral("xv4"), QStringLiteral("xv4"));
}

const QString kExportFilter =
    QStringLiteral("ビットマップ (*.bmp)|*.bmp|JPEG イメージファイル (*.jpg)|*.jpg");

// The patterns Qt's own dialog applies for a name filter.
QStringList PatternsQtApplies(const QString& nameFilter) {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters({nameFilter});
    dialog.selectNameFilter(nameFilter);
    auto* model = dialog.findChild<QFileSystemModel*>();
    return model ? model->nameFilters() : QStringList{QStringLiteral("<no model>")};
}

struct TConversionCase {
    const char* Name;
    QString Filter;
    QStringList QtFilters;
    QList<QStringList> Patterns; // what Qt then matches, per filter
};

TEST(FileFilterTest, ConvertsToQtNameFilters) {
    const TConversionCase cases[] = {
        {"document",
         DocumentFilter(),
         {QStringLiteral("Vellum4ﾃﾞｰﾀ(*.xv4)"), QStringLiteral("すべてのﾌｧｲﾙ(*.*)")},
         {{QStringLiteral("*.xv4")}, {QStringLiteral("*.*")}}},
        {"image export",
         kExportFilter,
         {QStringLiteral("ビットマップ (*.bmp)"), QStringLiteral("JPEG イメージファイル (*.jpg)")},
         {{QStringLiteral("*.bmp")}, {QStringLiteral("*.jpg")}}},
        {"profile",
         Format(QStringLiteral("%sﾌﾟﾛﾌｨｰﾙﾃﾞｰﾀ(*.%s)|*.%s"), "Vellum4", "mdp", "mdp"),
         {QStringLiteral("Vellum4ﾌﾟﾛﾌｨｰﾙﾃﾞｰﾀ(*.mdp)")},
         {{QStringLiteral("*.mdp")}}},
        {"caption without patterns",
         QStringLiteral("CSVファイル|*.csv"),
         {QStringLiteral("CSVファイル (*.csv)")},
         {{QStringLiteral("*.csv")}}},
        {"several patterns",
         QStringLiteral("JPEG|*.jpg;*.jpeg"),
         {QStringLiteral("JPEG (*.jpg *.jpeg)")},
         {{QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}}},
        {"caption lists them with ';'",
         QStringLiteral("JPEG(*.jpg;*.jpeg)|*.jpg;*.jpeg"),
         {QStringLiteral("JPEG(*.jpg *.jpeg)")},
         {{QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}}},
        {"caption lists other patterns",
         QStringLiteral("JPEG (*.jpg)|*.jpg;*.jpeg"),
         {QStringLiteral("JPEG (*.jpg) (*.jpg *.jpeg)")},
         {{QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}}},
        {"caption ends with other parentheses",
         QStringLiteral("旧形式 (第1版)|*.xva;*.xvb"),
         {QStringLiteral("旧形式 (第1版) (*.xva *.xvb)")},
         {{QStringLiteral("*.xva"), QStringLiteral("*.xvb")}}},
        {"case of the caption's patterns",
         QStringLiteral("データ(*.XV4)|*.xv4"),
         {QStringLiteral("データ(*.XV4)")},
         {{QStringLiteral("*.XV4")}}},
        {"trailing caption without pattern",
         QStringLiteral("A|*.a|B"),
         {QStringLiteral("A (*.a)")},
         {{QStringLiteral("*.a")}}},
        {"empty pattern", QStringLiteral("すべて|"), {QStringLiteral("すべて (*)")}, {{QStringLiteral("*")}}},
        {"empty caption", QStringLiteral("|*.txt"), {QStringLiteral("*.txt")}, {{QStringLiteral("*.txt")}}},
        {"empty filter", QString(), {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QStringList filters = QtNameFilters(c.Filter);
        EXPECT_EQ(filters, c.QtFilters);
        ASSERT_EQ(filters.size(), c.Patterns.size());
        for (qsizetype i = 0; i < filters.size(); ++i)
            EXPECT_EQ(PatternsQtApplies(filters[i]), c.Patterns[i]);
    }
}

struct TExtensionCase {
    const char* Name;
    QString Filter;
    bool FromFilter;
    QString DefaultExt;
    int FilterIndex;
    QString Expected;
};

TEST(FileFilterTest, DefaultExtensionFollowsTheFilterWhenAsked) {
    const TExtensionCase cases[] = {
        {"bitmap chosen", kExportFilter, true, QStringLiteral("bmp"), 1, QStringLiteral("bmp")},
        {"JPEG chosen", kExportFilter, true, QStringLiteral("bmp"), 2, QStringLiteral("jpg")},
        {"not asked", kExportFilter, false, QStringLiteral("bmp"), 2, QStringLiteral("bmp")},
        {"all files keep the default", DocumentFilter(), true, QStringLiteral("xv4"), 2,
         QStringLiteral("xv4")},
        {"document filter", DocumentFilter(), true, QStringLiteral("xv4"), 1, QStringLiteral("xv4")},
        {"index before the first", kExportFilter, true, QStringLiteral("bmp"), 0, QStringLiteral("bmp")},
        {"index past the last", kExportFilter, true, QStringLiteral("bmp"), 3, QStringLiteral("bmp")},
        {"several patterns", QStringLiteral("JPEG|*.jpg;*.jpeg"), true, QStringLiteral("jpg"), 1,
         QStringLiteral("jpg")},
        {"wildcard in the extension", QStringLiteral("B|*.b?p"), true, QStringLiteral("bmp"), 1,
         QStringLiteral("bmp")},
        {"double extension", QStringLiteral("T|*.tar.gz"), true, QStringLiteral("tgz"), 1,
         QStringLiteral("tgz")},
        {"pattern with a name", QStringLiteral("L|LAYOUT.DAT"), true, QString(), 1, QString()},
        {"default with a dot", DocumentFilter(), false, QStringLiteral(".xv4"), 1, QStringLiteral("xv4")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TFileDialogRequest request;
        request.Filter = c.Filter;
        request.DefaultExt = c.DefaultExt;
        request.DefaultExtFromFilter = c.FromFilter;
        EXPECT_EQ(DefaultExtension(request, c.FilterIndex), c.Expected);
    }
}

TEST(FileFilterTest, CompletesNamesWithoutExtension) {
    const struct {
        QString FileName;
        QString Ext;
        QString Expected;
    } cases[] = {
        {QStringLiteral("/home/u/名刺"), QStringLiteral("xv4"), QStringLiteral("/home/u/名刺.xv4")},
        {QStringLiteral("/home/u/card.bmp"), QStringLiteral("jpg"), QStringLiteral("/home/u/card.bmp")},
        {QStringLiteral("/home/u.v/card"), QStringLiteral("jpg"), QStringLiteral("/home/u.v/card.jpg")},
        {QStringLiteral("card"), QStringLiteral("xv4"), QStringLiteral("card.xv4")},
        {QStringLiteral("/home/u/card"), QString(), QStringLiteral("/home/u/card")},
        {QString(), QStringLiteral("xv4"), QString()},
        {QStringLiteral("/home/u/"), QStringLiteral("xv4"), QStringLiteral("/home/u/")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.FileName.toStdString());
        EXPECT_EQ(CompleteExtension(c.FileName, c.Ext), c.Expected);
    }
}

} // namespace
} // namespace vellum
