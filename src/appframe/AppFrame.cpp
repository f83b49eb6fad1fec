#include "appframe/AppFrame.h"

#include "appframe/ExecuteBlocker.h"
#include "base/Exceptions.h"
#include "platform/RegistryStore.h"
#include "platform/SystemInfo.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

#ifndef VELLUM_VERSION_MAJOR
#define VELLUM_VERSION_MAJOR 4
#define VELLUM_VERSION_MINOR 0
#define VELLUM_VERSION_PATCH 0
#define VELLUM_VERSION_TWEAK 0
#endif

namespace vellum {

const TClassInfo& TAppFrame::StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TAppFrame, TComponent>("TAppFrame", [](auto&) {});
    return info;
}
namespace {

TAppFrame* GFrame = nullptr;

// Every program of the suite shares one name for its home, marker and files.
const QString kProgramName = QStringLiteral("vellum4");

QString WithSlash(QString folder) {
    if (!folder.endsWith(u'/')) folder += u'/';
    return folder;
}

} // namespace

int ModalResultOf(TMsgDlgBtn button) {
    switch (button) {
    case mbYes:
        return mrYes;
    case mbNo:
        return mrNo;
    case mbOK:
        return mrOk;
    case mbCancel:
        return mrCancel;
    case mbAbort:
        return mrAbort;
    case mbRetry:
        return mrRetry;
    case mbIgnore:
        return mrIgnore;
    }
    return mrNone;
}

TAppFrame* AppFrame() { return GFrame; }

QString Expand(const QString& text) { return GFrame ? GFrame->Expand(text) : text; }

TAppFrame::TAppFrame(TComponent* owner, const QString& programFile)
    : TComponent(owner), FRegistry(std::make_unique<TRegistryStore>(TRegistryStore::DefaultFileName())) {
    SetBuiltInMacros(programFile.isEmpty() ? SystemInfo::ProgramFile() : programFile);
    GFrame = this;
}

TAppFrame::~TAppFrame() {
    if (GFrame == this) GFrame = nullptr;
}

void TAppFrame::SetBuiltInMacros(const QString& programFile) {
    FProgramFolder = WithSlash(QFileInfo(programFile).absolutePath());
    FProgramHome = WithSlash(SystemInfo::UserDataFolder() + u'/' + kProgramName);
    const QString shortVer = QStringLiteral("%1.%2").arg(VELLUM_VERSION_MAJOR).arg(VELLUM_VERSION_MINOR);
    FMacro.SetDefault(QStringLiteral("AppName"), QStringLiteral("Project"));
    FMacro.SetDefault(QStringLiteral("SysKeyFile"), kProgramName);
    FMacro.SetDefault(QStringLiteral("SysApplicationFolder"), kProgramName);
    FMacro.SetValue(QStringLiteral("CRLF"), QStringLiteral("\r\n"));
    FMacro.SetValue(QStringLiteral("Quote"), QStringLiteral("\""));
    // The program folder of the original holds writable data files; here that
    // role is the per-user program home, seeded from the shipped data.
    FMacro.SetValue(QStringLiteral("ExeDir"), FProgramHome);
    FMacro.SetValue(QStringLiteral("ExeNameNoExt"), FProgramHome + kProgramName);
    FMacro.SetValue(QStringLiteral("AppDataDir"), WithSlash(SystemInfo::UserDataFolder()));
    FMacro.SetValue(QStringLiteral("ShortVer"), shortVer);
    FMacro.SetValue(QStringLiteral("LongVer"),
                    shortVer + QStringLiteral(".%1.%2").arg(VELLUM_VERSION_PATCH).arg(VELLUM_VERSION_TWEAK));
}

void TAppFrame::LoadMacros(const QStringList& lines) {
    // The loaded table replaces values by name; built-ins it leaves empty keep theirs.
    for (const QString& line : lines) {
        int eq = line.indexOf(u'=');
        if (eq <= 0) continue;
        const QString name = line.left(eq);
        const QString value = line.mid(eq + 1);
        if (value.isEmpty() && !FMacro.Values(name).isEmpty()) continue;
        FMacro.SetValue(name, value);
    }
}

QString TAppFrame::ExpandOr(const QString& text, const QString& fallback) {
    try {
        return FMacro.Expand(text);
    } catch (const EMacroString&) {
        return fallback;
    }
}

bool TAppFrame::CheckExecuteCondition() {
    if ((FExecuteCondition & ecNeedHighColor) && SystemInfo::ScreenColorDepth() < 9) {
        if (MessageBox(QStringLiteral("$(SysMsgNotEnoughColor)"), mbYes | mbNo, mbYes, mbNo) != mrYes)
            return false;
    }
    if ((FExecuteCondition & ecPowerUsers) && !SystemInfo::HasPowerUserRights()) {
        MessageBox(QStringLiteral("$(SysMsgNotPowerUsers)"), mbOK, mbOK, mbOK);
        return false;
    }
    if ((FExecuteCondition & ecNeedPrinter) && !SystemInfo::HasDefaultPrinter()) {
        MessageBox(QStringLiteral("$(SysMsgNotDefaultPrinter)"), mbOK, mbOK, mbOK);
        return false;
    }
    if (FExecuteCondition & ecExclusive) {
        if (!FBlocker)
            FBlocker =
                std::make_unique<TExecuteBlocker>(ExpandOr(QStringLiteral("$(SysMutexID)"), kProgramName));
        if (!FBlocker->Acquire()) {
            FBlocker.reset();
            MessageBox(QStringLiteral("$(SysMsgAlreadyRun)"), mbOK, mbOK, mbOK);
            return false;
        }
    }
    return true;
}

QString TAppFrame::RegistryKey() {
    return ExpandOr(QStringLiteral("$(SysRegistryKey:inessential)"), QString());
}

bool TAppFrame::ReadBool(const QString& name, bool defaultValue) {
    return ReadInteger(name, defaultValue ? 1 : 0) != 0;
}

int TAppFrame::ReadInteger(const QString& name, int defaultValue) {
    const QString key = RegistryKey();
    if (key.isEmpty()) return defaultValue;
    return FRegistry->ReadInteger(key, name).value_or(defaultValue);
}

QString TAppFrame::ReadString(const QString& name, const QString& defaultValue) {
    const QString key = RegistryKey();
    if (key.isEmpty()) return defaultValue;
    return FRegistry->ReadString(key, name).value_or(defaultValue);
}

void TAppFrame::WriteBool(const QString& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TAppFrame::WriteInteger(const QString& name, int value) {
    const QString key = RegistryKey();
    if (!key.isEmpty()) FRegistry->WriteInteger(key, name, value);
}

void TAppFrame::WriteString(const QString& name, const QString& value) {
    const QString key = RegistryKey();
    if (!key.isEmpty()) FRegistry->WriteString(key, name, value);
}

int TAppFrame::MessageBox(const QString& text, TMsgDlgButtons buttons, TMsgDlgBtn def, TMsgDlgBtn cancel) {
    return ShowText(ExpandOr(text, text), buttons, def, cancel);
}

int TAppFrame::ShowFormatted(const QString& templ, const std::vector<FormatArg>& args, TMsgDlgButtons buttons,
                             TMsgDlgBtn def, TMsgDlgBtn cancel) {
    QString text = ExpandOr(templ, templ);
    try {
        text = FormatV(text, args);
    } catch (const Exception&) {
        // A template that does not fit its arguments still says something.
    }
    return ShowText(text, buttons, def, cancel);
}

int TAppFrame::ShowText(const QString& text, TMsgDlgButtons buttons, TMsgDlgBtn def, TMsgDlgBtn cancel) {
    try {
        if (OnBringToFront) OnBringToFront();
        if (OnMessageBox) return OnMessageBox(text, buttons, def, cancel);
        std::fprintf(stderr, "%s\n",
                     qUtf8Printable(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))));
        return ModalResultOf(cancel);
    } catch (...) {
        return ModalResultOf(cancel);
    }
}

void TAppFrame::HandleException(const std::exception& error) {
    try {
        if (OnException && OnException(error)) return;
    } catch (...) {
    }
    const auto* e = dynamic_cast<const Exception*>(&error);
    const QString message = e ? e->Message() : QString::fromUtf8(error.what());
    const bool twain = dynamic_cast<const ETwain*>(&error) != nullptr;
    MessageBoxFmt(twain ? QStringLiteral("$(SysMsgTwainErr)") : QStringLiteral("$(SysMsgUnexpected)"), mbOK,
                  mbOK, mbOK, message);
}

void TAppFrame::HandleUnknownException() { HandleException(std::runtime_error("unknown exception")); }

void TAppFrame::ExpandComponentMacros(TComponent* component) {
    if (!component) return;
    const QString marker = QStringLiteral("$(");
    for (const TPropInfo& p : component->ClassType().Properties()) {
        if (!p.IsReadWrite() || !p.IsStored(*component)) continue;
        try {
            if (p.Kind == TPropKind::String) {
                const QString text = std::get<QString>(p.Get(*component));
                if (text.contains(marker)) p.Set(*component, FMacro.Expand(text));
            } else if (p.Kind == TPropKind::StringList) {
                if (auto* lines = dynamic_cast<TStringList*>(std::get<TPersistent*>(p.Get(*component))))
                    if (lines->Text().contains(marker)) lines->SetText(FMacro.Expand(lines->Text()));
            }
        } catch (const EMacroString&) {
        }
    }
    for (int i = 0; i < component->ComponentCount(); ++i) ExpandComponentMacros(component->Components(i));
}

QString TAppFrame::ShippedDataFolder() const {
    const QString installed = QDir::cleanPath(FProgramFolder + QStringLiteral("../share/") + kProgramName);
    return QFileInfo(installed).isDir() ? WithSlash(installed) : QString();
}

QStringList TAppFrame::SeedProgramHome() {
    QStringList copied;
    const QString source = ShippedDataFolder();
    const bool existed = QFileInfo(FProgramHome).isDir();
    QDir().mkpath(FProgramHome);
    // The profile database lives here: a program home the program makes is the user's alone.
    if (!existed)
        QFile::setPermissions(FProgramHome,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (source.isEmpty()) return copied;
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString rel = QDir(source).relativeFilePath(from);
        const QString to = FProgramHome + rel;
        if (QFileInfo::exists(to)) continue;
        QDir().mkpath(QFileInfo(to).absolutePath());
        if (QFile::copy(from, to)) {
            // Shipped files are read-only; the user's copies must be writable.
            QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::WriteOwner);
            copied << rel;
        }
    }
    return copied;
}

bool TAppFrame::IsDataRoot(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return false;
    return !FindIn(folder, ExpandOr(QStringLiteral("$(SysKeyFile)"), kProgramName)).isEmpty();
}

// Resolves each part of a relative name without regard to case; "*" and "?"
// in the last part take the first match in name order.
QString TAppFrame::FindIn(const QString& folder, const QString& fileName) {
    if (folder.isEmpty()) return QString();
    QString path = QDir::cleanPath(folder);
    const QStringList parts = QString(fileName).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    for (int i = 0; i < parts.size(); ++i) {
        const bool last = i == parts.size() - 1;
        const bool wild = parts[i].contains(u'*') || parts[i].contains(u'?');
        QDir dir(path);
        QStringList names =
            dir.entryList(QStringList{parts[i]}, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                          QDir::Name | QDir::IgnoreCase);
        if (!wild) {
            // entryList matches name filters without regard to case already.
            names.erase(std::remove_if(names.begin(), names.end(),
                                       [&](const QString& n) {
                                           return n.compare(parts[i], Qt::CaseInsensitive) != 0;
                                       }),
                        names.end());
        }
        if (names.isEmpty()) return QString();
        path = dir.absoluteFilePath(names.first());
        if (!last && !QFileInfo(path).isDir()) return QString();
    }
    return path;
}

QString TAppFrame::SearchRoots(const QString& fileName) {
    QStringList direct{FProgramHome, ShippedDataFolder()};
    for (const QString& folder : direct)
        if (QString found = FindIn(folder, fileName); !found.isEmpty()) return found;
    const QString cdPath = ReadString(QStringLiteral("CDPath"), QString());
    if (IsDataRoot(cdPath))
        if (QString found = FindIn(cdPath, fileName); !found.isEmpty()) return found;
    if (IsDataRoot(FDataRoot))
        if (QString found = FindIn(FDataRoot, fileName); !found.isEmpty()) return found;
    const QString appFolder = ExpandOr(QStringLiteral("$(SysApplicationFolder)"), kProgramName);
    for (const QString& root : SystemInfo::MountRoots()) {
        QStringList candidates{root, root + u'/' + appFolder};
        for (int i = 0; i < candidates.size(); ++i) {
            const QString name = QFileInfo(candidates[i]).fileName();
            if (i < 2 && name.startsWith(QStringLiteral("disk"), Qt::CaseInsensitive)) {
                const QString parent = QFileInfo(candidates[i]).absolutePath();
                for (int d = 1; d <= 9; ++d) candidates << parent + QStringLiteral("/disk%1").arg(d);
            }
        }
        for (const QString& candidate : candidates) {
            if (!IsDataRoot(candidate)) continue;
            if (QString found = FindIn(candidate, fileName); !found.isEmpty()) {
                FDataRoot = candidate;
                return found;
            }
        }
    }
    return QString();
}

QString TAppFrame::LocateFile(const QString& fileName, const QString& caption) {
    for (;;) {
        if (QString found = SearchRoots(fileName); !found.isEmpty()) return found;
        if (caption.isNull()) return QString();
        const QString what = caption == QStringLiteral("@") ? QStringLiteral("必要なファイル")
                             : caption.isEmpty()            ? fileName
                                                            : caption;
        bool retry;
        if (OnCDNotFound)
            retry = OnCDNotFound(fileName, what);
        else
            retry = MessageBoxFmt(QStringLiteral("$(SysMsgCDNotFound)"), mbRetry | mbCancel, mbRetry,
                                  mbCancel, what) == mrRetry;
        if (!retry) return QString();
    }
}

} // namespace vellum
