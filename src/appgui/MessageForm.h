#pragma once
// The start-up module's own message form: the text in a label and the
// requested buttons with Japanese captions. The windowed program installs
// it as the frame's message box; the command-line tool never does.

#include "appframe/AppFrame.h"

#include <QDialog>

class QLabel;

namespace vellum {

class TfrmMessage : public QDialog {
public:
    TfrmMessage(const QString& text, TMsgDlgButtons buttons, TMsgDlgBtn defaultButton,
                TMsgDlgBtn cancelButton, QWidget* parent = nullptr);

    // Shows the form modally and returns the result of the chosen button.
    static int Execute(const QString& text, TMsgDlgButtons buttons, TMsgDlgBtn defaultButton,
                       TMsgDlgBtn cancelButton);

    // The caption of a button as the form shows it.
    static QString ButtonCaption(TMsgDlgBtn button);

protected:
    void reject() override;

private:
    int FCancelResult;
};

// Makes the message form the frame's message box.
void InstallMessageForm(TAppFrame& frame);

} // namespace vellum
