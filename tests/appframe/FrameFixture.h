#pragma once
// A frame with the program's macro table over fresh user folders, and a
// message-box hook that records what would have been shown.

#include "appframe/AppFrame.h"
#include "appframe/StartupMacros.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace vellum::test {

struct TShownMessage {
    QString Text;
    TMsgDlgButtons Buttons;
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FHome.isValid());
        qputenv("XDG_CONFIG_HOME", (FHome.path() + QStringLiteral("/config")).toUtf8());
        qputenv("XDG_DATA_HOME", (FHome.path() + QStringLiteral("/data")).toUtf8());
        qputenv("XDG_RUNTIME_DIR", (FHome.path() + QStringLiteral("/run")).toUtf8());
        QDir().mkpath(FHome.path() + QStringLiteral("/run"));
        MakeFrame();
    }
    void TearDown() override { FFrame.reset(); }

    // A new frame over the same folders: what a restart sees.
    void MakeFrame() {
        FFrame.reset();
        FFrame = std::make_unique<TAppFrame>(nullptr, ProgramFile());
        LoadStartupMacros(*FFrame);
        FFrame->OnMessageBox = [this](const QString& text, TMsgDlgButtons buttons, TMsgDlgBtn def,
                                      TMsgDlgBtn) {
            Shown.push_back({text, buttons});
            return Answers.empty() ? ModalResultOf(def) : TakeAnswer();
        };
    }
    int TakeAnswer() {
        int a = Answers.front();
        Answers.erase(Answers.begin());
        return a;
    }
    QString ProgramFile() const { return FHome.path() + QStringLiteral("/install/bin/vellum4"); }
    QString Path(const QString& rel) const { return FHome.path() + u'/' + rel; }
    static void WriteFile(const QString& path, const QByteArray& bytes = "x") {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir FHome;
    std::unique_ptr<TAppFrame> FFrame;
    std::vector<TShownMessage> Shown;
    std::vector<int> Answers;
};

} // namespace vellum::test
