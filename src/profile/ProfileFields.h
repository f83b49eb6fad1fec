#pragma once
// The 56 text fields of a profile: their names in record order, the six
// groups the editors show them in, and the name list search works on.

#include <QString>
#include <QStringList>

namespace vellum {

constexpr int kProfileFieldCount = 56;

// Field 0 marks a profile selected for merge printing.
constexpr int kMergeMarkField = 0;
QString MergeMark(); // "○"

enum TProfileFieldGroup : int {
    pfgName,
    pfgPrivateJapanese,
    pfgPrivateEnglish,
    pfgCompanyJapanese,
    pfgCompanyEnglish,
    pfgFreeItems,
};
constexpr int kProfileFieldGroupCount = 6;

// Every field name, index 0 first.
const QStringList& ProfileFieldNames();
// The names without field 0: key k of a search addresses field k + 1.
const QStringList& ProfileSearchFieldNames();

// Size and short labels of a group; 0 and an empty list for a group out of range.
int FieldGroupSize(int group);
const QStringList& FieldGroupLabels(int group);
// The record index of field i of a group: i plus the sizes of the groups
// before it; -1 for a group out of range.
int FieldIndex(int group, int i);

} // namespace vellum
