#include "profile/ProfileFields.h"

#include <array>

namespace vellum {
namespace {

const std::array<QStringList, kProfileFieldGroupCount>& Groups() {
    static const std::array<QStringList, kProfileFieldGroupCount> groups{
        QStringList{QStringLiteral("差込"), QStringLiteral("氏名"), QStringLiteral("ふりがな"),
                    QStringLiteral("ローマ字"), QStringLiteral("ニックネーム")},
        QStringList{QStringLiteral("郵便番号"), QStringLiteral("住所１"), QStringLiteral("住所２"),
                    QStringLiteral("TEL"), QStringLiteral("FAX"), QStringLiteral("携帯電話"),
                    QStringLiteral("ポケットベル"), QStringLiteral("e-mail"), QStringLiteral("ホームページ")},
        QStringList{QStringLiteral("ZIP"), QStringLiteral("Address1"), QStringLiteral("Address2"),
                    QStringLiteral("TEL"), QStringLiteral("FAX"), QStringLiteral("Mobile"),
                    QStringLiteral("Pager Number"), QStringLiteral("e-mail"), QStringLiteral("Home Page")},
        QStringList{QStringLiteral("会社名"), QStringLiteral("部署名１"), QStringLiteral("部署名２"),
                    QStringLiteral("役職"), QStringLiteral("郵便番号"), QStringLiteral("住所１"),
                    QStringLiteral("住所２"), QStringLiteral("TEL1"), QStringLiteral("TEL2"),
                    QStringLiteral("FAX"), QStringLiteral("携帯電話"), QStringLiteral("ポケットベル"),
                    QStringLiteral("e-mail"), QStringLiteral("ホームページ")},
        QStringList{QStringLiteral("Company Name"), QStringLiteral("Department"), QStringLiteral("Section"),
                    QStringLiteral("Position"), QStringLiteral("ZIP"), QStringLiteral("Address1"),
                    QStringLiteral("Address2"), QStringLiteral("TEL1"), QStringLiteral("TEL2"),
                    QStringLiteral("FAX"), QStringLiteral("Mobile"), QStringLiteral("Pager Number"),
                    QStringLiteral("e-mail"), QStringLiteral("Home Page")},
        QStringList{QStringLiteral("自由項目1"), QStringLiteral("自由項目2"), QStringLiteral("自由項目3"),
                    QStringLiteral("自由項目4"), QStringLiteral("自由項目5")},
    };
    return groups;
}

} // namespace

QString MergeMark() { return QStringLiteral("○"); }

const QStringList& ProfileFieldNames() {
    static const QStringList names{
        QStringLiteral("差込"),
        QStringLiteral("氏名"),
        QStringLiteral("ふりがな"),
        QStringLiteral("ローマ字"),
        QStringLiteral("ニックネーム"),
        QStringLiteral("郵便番号"),
        QStringLiteral("住所１"),
        QStringLiteral("住所２"),
        QStringLiteral("TEL"),
        QStringLiteral("FAX"),
        QStringLiteral("携帯電話"),
        QStringLiteral("ポケットベル"),
        QStringLiteral("e-mail"),
        QStringLiteral("ホームページ"),
        QStringLiteral("ZIP(Personal)"),
        QStringLiteral("Address1(Personal)"),
        QStringLiteral("Address2(Personal)"),
        QStringLiteral("TEL(Personal)"),
        QStringLiteral("FAX(Personal)"),
        QStringLiteral("Mobile(Personal)"),
        QStringLiteral("Pager Number(Personal)"),
        QStringLiteral("e-mail(Personal)"),
        QStringLiteral("Home Page(Personal)"),
        QStringLiteral("会社名"),
        QStringLiteral("部署名１"),
        QStringLiteral("部署名２"),
        QStringLiteral("役職"),
        QStringLiteral("会社郵便番号"),
        QStringLiteral("会社住所１"),
        QStringLiteral("会社住所２"),
        QStringLiteral("会社TEL1"),
        QStringLiteral("会社TEL2"),
        QStringLiteral("会社FAX"),
        QStringLiteral("会社携帯電話"),
        QStringLiteral("会社ポケットベル"),
        QStringLiteral("会社e-mail"),
        QStringLiteral("会社ホームページ"),
        QStringLiteral("Company Name"),
        QStringLiteral("Department"),
        QStringLiteral("Section"),
        QStringLiteral("Position"),
        QStringLiteral("ZIP(Company)"),
        QStringLiteral("Address1(Company)"),
        QStringLiteral("Address2(Company)"),
        QStringLiteral("TEL1(Company)"),
        QStringLiteral("TEL2(Company)"),
        QStringLiteral("FAX(Company)"),
        QStringLiteral("Mobile(Company)"),
        QStringLiteral("Pager Number(Company)"),
        QStringLiteral("e-mail(Company)"),
        QStringLiteral("Home Page(Company)"),
        QStringLiteral("自由項目1"),
        QStringLiteral("自由項目2"),
        QStringLiteral("自由項目3"),
        QStringLiteral("自由項目4"),
        QStringLiteral("自由項目5"),
    };
    return names;
}

const QStringList& ProfileSearchFieldNames() {
    static const QStringList names = ProfileFieldNames().mid(1);
    return names;
}

int FieldGroupSize(int group) { return int(FieldGroupLabels(group).size()); }

const QStringList& FieldGroupLabels(int group) {
    static const QStringList none;
    if (group < 0 || group >= kProfileFieldGroupCount) return none;
    return Groups()[size_t(group)];
}

int FieldIndex(int group, int i) {
    if (group < 0 || group >= kProfileFieldGroupCount) return -1;
    int index = i;
    for (int g = 0; g < group; ++g) index += FieldGroupSize(g);
    return index;
}

} // namespace vellum
