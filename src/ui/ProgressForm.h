#pragma once
// A progress window for work on the interface thread: a text, a bar and a
// cancel button whose press is confirmed before the work is told to stop.
// Each SetProgress lets pending events run, which is how the press arrives.

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;

namespace vellum {

class TfrmProgress : public QDialog {
public:
    TfrmProgress(const QString& title, const QString& text, const QString& cancelQuestion,
                 QWidget* parent = nullptr);

    void SetProgress(int done, int total);
    bool Cancelled() const { return FCancelled; }
    // The cancel button and Esc: ask, then mark cancelled (the window stays
    // until the work has stopped).
    void reject() override;
    // Asks the question; the frame's yes/no box unless replaced.
    std::function<bool(const QString& question)> OnConfirm;

private:
    QLabel* FText;
    QProgressBar* FBar;
    QString FQuestion;
    bool FCancelled = false;
};

} // namespace vellum
