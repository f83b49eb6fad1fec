#pragma once
// The column-mapping dialog of the CSV import ("CSV形式の読込み"): the 55
// profile fields with the column each takes, the columns of one record of
// the file still free, and the import options, remembered in the settings.

#include <QDialog>

#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollBar;

namespace vellum {

class TCSVData;

class TfrmCSVImport : public QDialog {
public:
    // data must outlive the dialog; the mapping starts from its first line's names.
    explicit TfrmCSVImport(TCSVData& data, QWidget* parent = nullptr);

    // Entry k: the column of profile field k + 1, or TGenericCSVAccess::kUnmapped.
    const std::vector<int>& Mapping() const { return FMapping; }
    bool SkipFirstLine() const;
    bool ClearFirst() const;

    // The record shown, 0-based.
    void ShowRecord(int record);
    // "加える→" and "←解除" on the selected field (and column).
    void MapSelected();
    void UnmapSelected();
    // "開始": asks first when clearing was chosen; no keeps the dialog open.
    void accept() override;
    // Asks the question; the frame's yes/no box unless replaced.
    std::function<bool(const QString& question)> OnConfirm;

    QListWidget& Fields() const { return *FFields; }
    QListWidget& Sources() const { return *FSources; }
    QPushButton& AddButton() const { return *FAdd; }
    QPushButton& RemoveButton() const { return *FRemove; }
    QCheckBox& SkipFirstBox() const { return *FSkipFirst; }
    QCheckBox& ClearBox() const { return *FClear; }
    QLabel& RecordLabel() const { return *FRecordLabel; }

private:
    void Fill();
    void UpdateButtons();

    TCSVData& FData;
    std::vector<int> FMapping;
    int FColumns = 0;
    int FRecord = 0;
    QListWidget* FFields;
    QListWidget* FSources;
    QPushButton* FAdd;
    QPushButton* FRemove;
    QCheckBox* FSkipFirst;
    QCheckBox* FClear;
    QScrollBar* FRecordBar;
    QLabel* FRecordLabel;
};

} // namespace vellum
