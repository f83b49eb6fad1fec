#include "ui/EnvironmentForm.h"

#include "appframe/AppFrame.h"
#include "appframe/HistoryManager.h"
#include "appgui/HistoryMenu.h"
#include "base/Exceptions.h"
#include "platform/RegistryStore.h"
#include "ui/HintSwitch.h"
#include "ui/QtFileDialogs.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace vellum {
namespace {

const QString kCDPath = QStringLiteral("CDPath");
const QString kDefaultShowHint = QStringLiteral("DefaultShowHint");
const QString kBanding = QStringLiteral("Banding");
const QString kCacheEnabl = QStringLiteral("CacheEnabl");
const QString kCacheLimit = QStringLiteral("CacheLimit");

constexpr int kMinCacheLimit = 10;
constexpr int kMaxCacheLimit = 9999;

struct TBandingMode {
    const char16_t* Caption;
    const char16_t* Note;
};

// Index = the "Banding" value.
constexpr TBandingMode kBandingModes[] = {
    {u"高速印刷(&F)",
     u"プリンタに直接描画します。印刷は速くなりますが、プリンタによっては正しく印刷されないことがあります。"},
    {u"標準印刷(&N)", u"0.1mm単位のイメージを作成してから印刷します。通常はこの印刷方式をお使いください。"},
    {u"高精細印刷(&Q)",
     u"プリンタの解像度でイメージを作成してから印刷します。きれいに印刷できますが、時間がかかります。"},
};

QRadioButton* MakeRadio(const QString& caption, const char* name, QWidget* parent) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(QString::fromLatin1(name));
    return radio;
}

} // namespace

TfrmEnvironment::TfrmEnvironment(TAppFrame& frame, QWidget* parent)
    : QDialog(parent), FFrame(frame), FPathHistory(std::make_unique<THistoryManager>()) {
    setObjectName(QStringLiteral("frmEnvironment"));
    setWindowTitle(QStringLiteral("環境設定"));
    FPathHistory->SetRegistryKey(QStringLiteral("$(CDPathHistory)"));
    FPathHistory->SetUseAccelerator(true);
    FPathHistory->SetClearHistoryCaption(QStringLiteral("履歴の消去"));
    FPathHistory->OnMenuClick = [this](THistoryManager*, const QString& item) { FCDPath->setText(item); };

    FTabs = new QTabWidget(this);
    FTabs->setObjectName(QStringLiteral("pcEnvironment"));
    FTabs->addTab(MakeEnvironmentPage(), QStringLiteral("環境設定"));
    FTabs->addTab(MakeCachePage(), QStringLiteral("キャッシュ設定"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FTabs);
    layout->addWidget(buttons);

    SetOnClearCache(nullptr);
    ReadSettings();
}

TfrmEnvironment::~TfrmEnvironment() = default;

QWidget* TfrmEnvironment::MakeEnvironmentPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsEnvironment"));
    auto* layout = new QVBoxLayout(page);

    auto* pathBox = new QGroupBox(QStringLiteral("プログラムパス"), page);
    auto* pathLayout = new QVBoxLayout(pathBox);
    FAutoSearch = MakeRadio(QStringLiteral("自動検索(&A)"), "rbAutoSearch", pathBox);
    FSpecifyPath = MakeRadio(QStringLiteral("指定(&S)"), "rbSpecifyPath", pathBox);
    FPathRow = new QWidget(pathBox);
    auto* row = new QHBoxLayout(FPathRow);
    row->setContentsMargins(20, 0, 0, 0);
    row->setSpacing(2);
    FCDPath = new QLineEdit(FPathRow);
    FCDPath->setObjectName(QStringLiteral("edtCDPath"));
    FCDPath->setMinimumWidth(260);
    FPathHistoryButton = new QToolButton(FPathRow);
    FPathHistoryButton->setObjectName(QStringLiteral("btnPathHistory"));
    FPathHistoryButton->setText(QStringLiteral("▼"));
    FPathHistoryMenu = new QMenu(FPathHistoryButton);
    FPathHistoryMenu->setObjectName(QStringLiteral("pmPathHistory"));
    FPathHistoryEntries = std::make_unique<THistoryMenu>(*FPathHistory, FPathHistoryMenu,
                                                         FPathHistoryMenu->addAction(QString()));
    FBrowsePath = new QPushButton(QStringLiteral("参照(&R)..."), FPathRow);
    FBrowsePath->setObjectName(QStringLiteral("btnBrowsePath"));
    row->addWidget(FCDPath, 1);
    row->addWidget(FPathHistoryButton);
    row->addSpacing(6);
    row->addWidget(FBrowsePath);
    // Keeps the group's size while the row is hidden.
    QSizePolicy keep = FPathRow->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    FPathRow->setSizePolicy(keep);
    pathLayout->addWidget(FAutoSearch);
    pathLayout->addWidget(FSpecifyPath);
    pathLayout->addWidget(FPathRow);
    connect(FAutoSearch, &QRadioButton::toggled, this, [this] { UpdateControls(); });
    connect(FPathHistoryButton, &QToolButton::clicked, this, [this] { ShowPathHistory(); });
    connect(FBrowsePath, &QPushButton::clicked, this, [this] { BrowseFolder(); });

    auto* hintBox = new QGroupBox(QStringLiteral("ヒント表示"), page);
    auto* hintLayout = new QHBoxLayout(hintBox);
    FShowHint = MakeRadio(QStringLiteral("ヒントを表示する(&H)"), "rbShowHint", hintBox);
    FHideHint = MakeRadio(QStringLiteral("ヒントを表示しない(&O)"), "rbHideHint", hintBox);
    hintLayout->addWidget(FShowHint);
    hintLayout->addWidget(FHideHint);
    hintLayout->addStretch();

    auto* bandingBox = new QGroupBox(QStringLiteral("印刷方式"), page);
    auto* bandingLayout = new QVBoxLayout(bandingBox);
    auto* bandingRow = new QHBoxLayout;
    FBanding = new QButtonGroup(bandingBox);
    static const char* const names[] = {"rbBandingFast", "rbBandingNormal", "rbBandingFine"};
    for (int mode = 0; mode < 3; ++mode) {
        QRadioButton* radio =
            MakeRadio(QString::fromUtf16(kBandingModes[mode].Caption), names[mode], bandingBox);
        FBanding->addButton(radio, mode);
        bandingRow->addWidget(radio);
    }
    bandingRow->addStretch();
    FBandingNote = new QLabel(bandingBox);
    FBandingNote->setObjectName(QStringLiteral("lblBandingNote"));
    FBandingNote->setWordWrap(true);
    FBandingNote->setMinimumHeight(2 * FBandingNote->fontMetrics().height());
    FBandingNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    bandingLayout->addLayout(bandingRow);
    bandingLayout->addWidget(FBandingNote);
    connect(FBanding, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) UpdateBandingNote();
    });

    layout->addWidget(pathBox);
    layout->addWidget(hintBox);
    layout->addWidget(bandingBox);
    layout->addStretch();
    return page;
}

QWidget* TfrmEnvironment::MakeCachePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsCache"));
    auto* layout = new QVBoxLayout(page);

    auto* about = new QLabel(QStringLiteral("素材集やイメージファイルなど一度読み込んだファイルをハード\n"
                                            "ディスクに保存しておき、次回から高速に表示する機能です。"),
                             page);
    about->setObjectName(QStringLiteral("lblCacheAbout"));

    auto* useBox = new QGroupBox(QStringLiteral("キャッシュ機能"), page);
    auto* useLayout = new QHBoxLayout(useBox);
    FCacheOn = MakeRadio(QStringLiteral("キャッシュ機能を使用する(&U)"), "rbCacheOn", useBox);
    FCacheOff = MakeRadio(QStringLiteral("キャッシュ機能を使用しない(&N)"), "rbCacheOff", useBox);
    useLayout->addWidget(FCacheOn);
    useLayout->addWidget(FCacheOff);
    useLayout->addStretch();

    auto* sizeBox = new QGroupBox(QStringLiteral("キャッシュサイズ"), page);
    auto* sizeLayout = new QVBoxLayout(sizeBox);
    FCacheUnlimited = MakeRadio(QStringLiteral("無制限(&M)"), "rbCacheUnlimited", sizeBox);
    FCacheLimited = MakeRadio(QStringLiteral("最大サイズを指定する(&L)"), "rbCacheLimited", sizeBox);
    auto* limitRow = new QHBoxLayout;
    FCacheLimit = new QLineEdit(sizeBox);
    FCacheLimit->setObjectName(QStringLiteral("edtCacheLimit"));
    FCacheLimit->setValidator(new QIntValidator(kMinCacheLimit, kMaxCacheLimit, FCacheLimit));
    FCacheLimit->setAlignment(Qt::AlignRight);
    FCacheLimit->setPlaceholderText(QStringLiteral("%1～%2").arg(kMinCacheLimit).arg(kMaxCacheLimit));
    FCacheLimit->setFixedWidth(FCacheLimit->fontMetrics().horizontalAdvance(QStringLiteral("00000～00000")));
    FCacheLimitUnit = new QLabel(QStringLiteral("MB(&B)"), sizeBox);
    FCacheLimitUnit->setBuddy(FCacheLimit);
    limitRow->addWidget(FCacheLimited);
    limitRow->addWidget(FCacheLimit);
    limitRow->addWidget(FCacheLimitUnit);
    limitRow->addStretch();
    sizeLayout->addWidget(FCacheUnlimited);
    sizeLayout->addLayout(limitRow);

    auto* clearBox = new QGroupBox(QStringLiteral("キャッシュのクリア"), page);
    auto* clearLayout = new QHBoxLayout(clearBox);
    FClearCache = new QPushButton(QStringLiteral("クリア"), clearBox);
    FClearCache->setObjectName(QStringLiteral("btnClearCache"));
    clearLayout->addWidget(FClearCache);
    clearLayout->addStretch();

    auto* note = new QLabel(QStringLiteral("※ キャッシュの設定は次回の起動時から有効になります。"), page);
    note->setObjectName(QStringLiteral("lblCacheNote"));

    layout->addWidget(about);
    layout->addWidget(useBox);
    layout->addWidget(sizeBox);
    layout->addWidget(clearBox);
    layout->addWidget(note);
    layout->addStretch();

    connect(FCacheOn, &QRadioButton::toggled, this, [this] { UpdateControls(); });
    connect(FCacheLimited, &QRadioButton::toggled, this, [this] { UpdateControls(); });
    connect(FClearCache, &QPushButton::clicked, this, [this] { ClearCache(); });
    return page;
}

void TfrmEnvironment::SetOnClearCache(std::function<void()> onClearCache) {
    FOnClearCache = std::move(onClearCache);
    FClearCache->setEnabled(bool(FOnClearCache));
}

void TfrmEnvironment::ReadSettings() {
    const QString cdPath = FFrame.ReadString(kCDPath, QString());
    FCDPath->setText(cdPath);
    (cdPath.isEmpty() ? FAutoSearch : FSpecifyPath)->setChecked(true);

    (FFrame.ReadBool(kDefaultShowHint, true) ? FShowHint : FHideHint)->setChecked(true);

    int banding = FFrame.ReadInteger(kBanding, 1);
    if (banding < 0 || banding > 2) banding = 1;
    FBanding->button(banding)->setChecked(true);

    (FFrame.ReadBool(kCacheEnabl, true) ? FCacheOn : FCacheOff)->setChecked(true);
    const int limit = FFrame.ReadInteger(kCacheLimit, 0);
    (limit == 0 ? FCacheUnlimited : FCacheLimited)->setChecked(true);
    FCacheLimit->setText(limit == 0 ? QString() : QString::number(limit));

    UpdateControls();
    UpdateBandingNote();
}

void TfrmEnvironment::WriteSettings() {
    TRegistryStore& store = FFrame.Registry();
    store.BeginUpdate();
    try {
        const QString cdPath = FCDPath->text().trimmed();
        if (FSpecifyPath->isChecked() && !cdPath.isEmpty()) {
            try {
                FPathHistory->Add(cdPath);
            } catch (const EListError&) {
                // No history key: the path itself is still kept.
            }
            FFrame.WriteString(kCDPath, cdPath);
        } else {
            FFrame.WriteString(kCDPath, QString());
        }

        FFrame.WriteBool(kDefaultShowHint, FShowHint->isChecked());
        FFrame.WriteInteger(kBanding, std::max(FBanding->checkedId(), 0));
        FFrame.WriteBool(kCacheEnabl, FCacheOn->isChecked());
        if (FCacheUnlimited->isChecked()) {
            FFrame.WriteInteger(kCacheLimit, 0);
        } else {
            bool ok = false;
            const int limit = FCacheLimit->text().trimmed().toInt(&ok);
            if (ok && limit >= kMinCacheLimit && limit <= kMaxCacheLimit)
                FFrame.WriteInteger(kCacheLimit, limit);
        }
    } catch (...) {
        // Not a scope guard: ending the update writes the settings and may fail.
        store.EndUpdate();
        throw;
    }
    store.EndUpdate();
    THintSwitch::Apply(FShowHint->isChecked());
}

void TfrmEnvironment::accept() {
    WriteSettings();
    QDialog::accept();
}

void TfrmEnvironment::UpdateControls() {
    const bool specify = FSpecifyPath->isChecked();
    FPathRow->setVisible(specify);
    FPathRow->setEnabled(specify);

    const bool cache = FCacheOn->isChecked();
    FCacheUnlimited->setEnabled(cache);
    FCacheLimited->setEnabled(cache);
    const bool limited = cache && FCacheLimited->isChecked();
    FCacheLimit->setEnabled(limited);
    FCacheLimitUnit->setEnabled(limited);
}

void TfrmEnvironment::UpdateBandingNote() {
    const int mode = FBanding->checkedId();
    FBandingNote->setText(mode >= 0 && mode < 3 ? QString::fromUtf16(kBandingModes[mode].Note) : QString());
}

void TfrmEnvironment::BrowseFolder() {
    const QString start =
        QFileInfo(FCDPath->text().trimmed()).isDir() ? FCDPath->text().trimmed() : QString();
    const QString title = QStringLiteral("パスの選択");
    const QString folder =
        FOnChooseFolder ? FOnChooseFolder(title, start) : TQtFileDialogs::ChooseFolder(this, title, start);
    if (!folder.isEmpty()) FCDPath->setText(folder);
}

void TfrmEnvironment::ShowPathHistory() {
    try {
        FPathHistory->Load();
    } catch (const EListError&) {
        return;
    }
    if (FPathHistory->Items().isEmpty()) return;
    FPathHistoryMenu->popup(FPathHistoryButton->mapToGlobal(QPoint(0, FPathHistoryButton->height())));
}

void TfrmEnvironment::ClearCache() {
    if (!FOnClearCache) return;
    try {
        FOnClearCache();
    } catch (const std::exception& error) {
        FFrame.HandleException(error);
        return;
    }
    FFrame.MessageBox(QStringLiteral("キャッシュの内容をクリアしました"), mbOK, mbOK, mbOK);
}

} // namespace vellum
