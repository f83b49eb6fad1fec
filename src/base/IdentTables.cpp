#include "base/IdentTables.h"

#include <utility>
#include <vector>

namespace vellum {
namespace {

using TEntries = std::vector<std::pair<const char*, int64_t>>;

std::shared_ptr<const TIdentTable> MakeTable(TEntries entries) {
    auto shared = std::make_shared<const TEntries>(std::move(entries));
    auto table = std::make_shared<TIdentTable>();
    table->ToIdent = [shared](int64_t v) -> std::optional<QString> {
        for (const auto& [name, value] : *shared)
            if (value == v) return QString::fromLatin1(name);
        return std::nullopt;
    };
    table->FromIdent = [shared](const QString& n) -> std::optional<int64_t> {
        for (const auto& [name, value] : *shared)
            if (n.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return value;
        return std::nullopt;
    };
    return table;
}

} // namespace

const std::shared_ptr<const TIdentTable>& CursorIdents() {
    static const auto table = MakeTable({
        {"crDefault", 0},   {"crArrow", -2},    {"crCross", -3},     {"crIBeam", -4},    {"crSizeNESW", -6},
        {"crSizeNS", -7},   {"crSizeNWSE", -8}, {"crSizeWE", -9},    {"crUpArrow", -10}, {"crHourGlass", -11},
        {"crDrag", -12},    {"crNoDrop", -13},  {"crHSplit", -14},   {"crVSplit", -15},  {"crMultiDrag", -16},
        {"crSQLWait", -17}, {"crNo", -18},      {"crAppStart", -19}, {"crHelp", -20},    {"crHandPoint", -21},
        {"crSizeAll", -22}, {"crSize", -22},
    });
    return table;
}

const std::shared_ptr<const TIdentTable>& ColorIdents() {
    static const auto table = [] {
        TEntries e = {
            {"clBlack", 0},         {"clMaroon", 128},       {"clGreen", 32768},   {"clOlive", 32896},
            {"clNavy", 8388608},    {"clPurple", 8388736},   {"clTeal", 8421376},  {"clGray", 8421504},
            {"clSilver", 12632256}, {"clRed", 255},          {"clLime", 65280},    {"clYellow", 65535},
            {"clBlue", 16711680},   {"clFuchsia", 16711935}, {"clAqua", 16776960}, {"clWhite", 16777215},
        };
        const char* system[] = {"clScrollBar",    "clBackground",  "clActiveCaption", "clInactiveCaption",
                                "clMenu",         "clWindow",      "clWindowFrame",   "clMenuText",
                                "clWindowText",   "clCaptionText", "clActiveBorder",  "clInactiveBorder",
                                "clAppWorkSpace", "clHighlight",   "clHighlightText", "clBtnFace",
                                "clBtnShadow",    "clGrayText",    "clBtnText",       "clInactiveCaptionText",
                                "clBtnHighlight", "cl3DDkShadow",  "cl3DLight",       "clInfoText",
                                "clInfoBk"};
        // System colours are 0x80000000 + index, which as int32 are negative.
        for (int i = 0; i < int(std::size(system)); ++i)
            e.push_back({system[i], int64_t(int32_t(0x80000000u + uint32_t(i)))});
        e.push_back({"clNone", 0x1FFFFFFF});
        return MakeTable(std::move(e));
    }();
    return table;
}

} // namespace vellum
