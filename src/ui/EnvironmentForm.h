#pragma once
// The environment settings dialog ("環境設定"): where the data medium is
// looked for, tool tips, the print mode and the thumbnail cache. Values are
// read when the dialog opens and written only by OK.

#include <QDialog>

#include <functional>
#include <memory>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace vellum {

class TAppFrame;
class THistoryManager;
class THistoryMenu;

class TfrmEnvironment : public QDialog {
public:
    // Asked for a folder by "参照(&R)..."; empty means cancelled.
    using TOnChooseFolder = std::function<QString(const QString& title, const QString& startFolder)>;

    explicit TfrmEnvironment(TAppFrame& frame, QWidget* parent = nullptr);
    ~TfrmEnvironment() override;

    // Empties the thumbnail cache; "クリア" is disabled while none is set.
    void SetOnClearCache(std::function<void()> onClearCache);
    // Replaces the folder chooser (a Qt folder dialog by default).
    void SetOnChooseFolder(TOnChooseFolder onChooseFolder) { FOnChooseFolder = std::move(onChooseFolder); }

    // OK: writes every setting, then closes.
    void accept() override;

private:
    QWidget* MakeEnvironmentPage();
    QWidget* MakeCachePage();
    void ReadSettings();
    void WriteSettings();
    void UpdateControls();
    void UpdateBandingNote();
    void BrowseFolder();
    void ShowPathHistory();
    void ClearCache();

    TAppFrame& FFrame;
    std::unique_ptr<THistoryManager> FPathHistory;
    std::unique_ptr<THistoryMenu> FPathHistoryEntries;
    std::function<void()> FOnClearCache;
    TOnChooseFolder FOnChooseFolder;

    QTabWidget* FTabs = nullptr;
    QRadioButton* FAutoSearch = nullptr;
    QRadioButton* FSpecifyPath = nullptr;
    QWidget* FPathRow = nullptr;
    QLineEdit* FCDPath = nullptr;
    QToolButton* FPathHistoryButton = nullptr;
    QMenu* FPathHistoryMenu = nullptr;
    QPushButton* FBrowsePath = nullptr;
    QRadioButton* FShowHint = nullptr;
    QRadioButton* FHideHint = nullptr;
    QButtonGroup* FBanding = nullptr;
    QLabel* FBandingNote = nullptr;
    QRadioButton* FCacheOn = nullptr;
    QRadioButton* FCacheOff = nullptr;
    QRadioButton* FCacheUnlimited = nullptr;
    QRadioButton* FCacheLimited = nullptr;
    QLineEdit* FCacheLimit = nullptr;
    QLabel* FCacheLimitUnit = nullptr;
    QPushButton* FClearCache = nullptr;
};

} // namespace vellum
