#include "platform/SystemInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace vellum::SystemInfo {

int ScreenColorDepth() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 32;
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 32;
}

bool HasDefaultPrinter() {
    // The PDF file output is always there, so printing never lacks a target.
    return true;
}

bool HasPowerUserRights() { return true; }

QString ProgramFile() {
    QString path = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
    if (path.isEmpty()) path = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return path;
}

QString UserDataFolder() {
    QString dir = qEnvironmentVariable("XDG_DATA_HOME");
    return dir.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : dir;
}

QString UserConfigFolder() {
    QString dir = qEnvironmentVariable("XDG_CONFIG_HOME");
    return dir.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : dir;
}

QStringList MountRoots() {
    QStringList roots;
    const QString user = qEnvironmentVariable("USER");
    QStringList bases;
    if (!user.isEmpty()) bases << QStringLiteral("/media/") + user << QStringLiteral("/run/media/") + user;
    bases << QStringLiteral("/mnt");
    for (const QString& base : bases) {
        QDir dir(base);
        for (const QString& entry : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            roots << dir.absoluteFilePath(entry);
    }
    return roots;
}

} // namespace vellum::SystemInfo
