#pragma once
// The progress window of a print job: "印刷中です。少しお待ちください．．．",
// a picture, the progress bar and 中止. While it is shown every other window
// is disabled; the user's abort arrives through the events the progress lets
// run after every step.

#include "print/PhasedProgress.h"

#include <QDialog>

#include <functional>

class QProgressBar;

namespace vellum {

class TfrmPrinting : public QDialog {
public:
    explicit TfrmPrinting(QWidget* parent = nullptr);

    QProgressBar& Bar() const { return *FBar; }
    // Called when the user confirmed the abort.
    std::function<void()> OnAbort;
    // Asks "印刷を中断しますか？"; Yes aborts. The window stays open.
    void AskAbort();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override { AskAbort(); }

private:
    QProgressBar* FBar;
};

// Drives a progress bar on 0..10000 and lets the window's events run after
// every step, which is how the abort button works during a job.
class TSTDPhasedProgress : public TPhasedProgressBase {
public:
    explicit TSTDPhasedProgress(QProgressBar& bar);

protected:
    void Report(int32_t position) override;

private:
    QProgressBar& FBar;
};

} // namespace vellum
