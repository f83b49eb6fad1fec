#pragma once
// The about box ("バージョン情報"): the program's name and version. As a
// splash it is frameless, centred on the screen and closes itself after a
// while or when clicked.

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

namespace vellum {

class TfrmAbout : public QDialog {
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    // The modal about box.
    static void Execute(QWidget* parent = nullptr);
    // Shows a splash that deletes itself when it closes; the pointer is for
    // watching it only.
    static TfrmAbout* ShowSplash(QWidget* parent = nullptr, int msec = kSplashTime);

    // Turns the box into a splash closing after msec.
    void StartSplash(int msec = kSplashTime);
    bool IsSplash() const { return FSplash; }

    static constexpr int kSplashTime = 2000;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QTimer* FTimer = nullptr;
    QPushButton* FOK = nullptr;
    bool FSplash = false;
};

} // namespace vellum
