#include "appframe/StartupMacros.h"

#include "appframe/AppFrame.h"

namespace vellum {

QStringList StartupMacroTable() {
    // File-system paths use "/"; settings paths keep the registry's "\".
    return {
        QStringLiteral("AppName=Vellum4"),
        QStringLiteral("SysHelpFile=$(ExeNameNoExt).chm"),
        QStringLiteral("SysMsgUnexpected=予期しないエラーが発生しました$(CRLF)%s"),
        QStringLiteral("SysMsgTwainErr=TWAINでエラーが発生しました。$(CRLF)"
                       "TWAINドライバあるいはTWAIN機器に問題があると$(CRLF)思われます$(CRLF)「%s」"),
        QStringLiteral("SysMsgNotDefaultPrinter=通常使うプリンタがセットされていません$(CRLF)"
                       "コントロールパネルのプリンタを開いて設定してください"),
        QStringLiteral("SysMsgNotEnoughColor=「$(AppName)」は、32,000色以上の$(CRLF)"
                       "表示環境でご使用ください。$(CRLF)正しく表示できないことがありますが起動しますか？"),
        QStringLiteral("SysMsgAlreadyRun=$(AppName)は、すでに実行中です"),
        QStringLiteral("SysMutexID=$(AppName).$(ShortVer).Kestrel.Japan"),
        QStringLiteral(
            "SysMsgCDNotFound=%sが見つかりません$(CRLF)$(AppName)のＣＤを正しくセットしてください。"),
        QStringLiteral("SysRegistryKey=Software\\Quillwork\\Vellum\\$(ShortVer)\\Settings"),
        QStringLiteral("SysKeyFile="),
        QStringLiteral("SysApplicationFolder="),
        QStringLiteral("SysInstallKey=Quillwork.Vellum4"),
        QStringLiteral("ProfileDB=$(ExeNameNoExt).mdp"),
        QStringLiteral("PaperInfo=$(ExeNameNoExt).ppr"),
        QStringLiteral("CoonsDistortionData=$(ExeNameNoExt).cdd"),
        QStringLiteral("UserImageHistory=$(SysRegistryKey)\\UserImageHistory"),
        QStringLiteral("OpenFileHistory=$(SysRegistryKey)\\OpenFileHistory"),
        QStringLiteral("CDPathHistory=$(SysRegistryKey)\\CDPathHistory"),
        QStringLiteral("WindowColors=$(SysRegistryKey)\\WindowColors"),
        QStringLiteral("LabelDataHistory=$(SysRegistryKey)\\LabelDataHistory"),
        QStringLiteral("TitleBarFormat=$(AppName) - %s"),
        QStringLiteral("PrintTitleFormat=%s - $(AppName)"),
        QStringLiteral("FindPaperHistory=$(SysRegistryKey)\\FindPaperHistory"),
        QStringLiteral("UsedPaperHistory=$(SysRegistryKey)\\UsedPaperHistory"),
        QStringLiteral("SysMsgNotPowerUsers=「$(AppName)」の実行には$(CRLF)"
                       "標準ユーザー（PowerUsers）以上の権限が必要です"),
        QStringLiteral("ImageCacheFile=$(SystemPreferenceFolder)ImageCache.ic"),
        QStringLiteral("SystemPreferenceFolder=$(ExeDir)"),
        QStringLiteral("SystemPaperInfo=$(ExeNameNoExt).ppr"),
        QStringLiteral("UserPreferenceFolder=$(AppDataDir)$(AppName)/$(ShortVer)/"),
        QStringLiteral("ColorSpecHistory=$(UserPreferenceFolder)ColorSpec.hst"),
        QStringLiteral("FindAlbumHistory=$(SysRegistryKey)\\FindAlbumHistory"),
        QStringLiteral("ImageFileExtentions=.bmp;.jpg;.jpeg;.pcd;.wmf;.emf;.cbm;.png"),
        QStringLiteral("UserPaperInfo=$(UserPreferenceFolder)UserPaper.ppr"),
        QStringLiteral("OpenDataFilter=%sデータ(*.%s)|*.%s|すべてのファイル(*.*)|*.*"),
    };
}

void LoadStartupMacros(TAppFrame& frame) { frame.LoadMacros(StartupMacroTable()); }

} // namespace vellum
