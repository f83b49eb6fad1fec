#pragma once
// The program-wide service layer: the macro table, settings, message
// dispatch, exception reports, data-file lookup and the start-up execute
// conditions. One instance, reachable through AppFrame(). It needs Qt Core
// only; the windowed program installs its message form (appgui).

#include "appframe/MacroString.h"
#include "base/Component.h"
#include "base/Format.h"

#include <QString>

#include <exception>
#include <functional>
#include <memory>
#include <vector>

namespace vellum {

class TRegistryStore;
class TExecuteBlocker;

enum TMsgDlgBtn : unsigned {
    mbYes = 1,
    mbNo = 2,
    mbOK = 4,
    mbCancel = 8,
    mbAbort = 16,
    mbRetry = 32,
    mbIgnore = 64
};
using TMsgDlgButtons = unsigned;

enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7
};
int ModalResultOf(TMsgDlgBtn button);

enum TExecuteConditionFlag : unsigned {
    ecNeedHighColor = 1,
    ecNeedPrinter = 2,
    ecExclusive = 4,
    ecPowerUsers = 8
};
using TExecuteCondition = unsigned;

using TOnMessageBox = std::function<int(const QString& text, TMsgDlgButtons buttons, TMsgDlgBtn defaultButton,
                                        TMsgDlgBtn cancelButton)>;
// Asked when a data file is missing: true to search again.
using TOnCDNotFound = std::function<bool(const QString& fileName, const QString& caption)>;
// Returns true when it dealt with the exception.
using TOnException = std::function<bool(const std::exception& error)>;

class TAppFrame : public TComponent {
public:
    // Sets the built-in macros (programFile: the running program, or empty
    // for the real one) and becomes the global frame.
    explicit TAppFrame(TComponent* owner = nullptr, const QString& programFile = QString());
    ~TAppFrame() override;

    VELLUM_CLASS(TAppFrame)

public:

    TMacroString& Macro() { return FMacro; }
    QString Expand(const QString& text) { return FMacro.Expand(text); }
    // Loads the macro table (the start-up module's table), keeping the built-ins.
    void LoadMacros(const QStringList& lines);

    TExecuteCondition ExecuteCondition() const { return FExecuteCondition; }
    void SetExecuteCondition(TExecuteCondition value) { FExecuteCondition = value; }
    // Checks the conditions in order; false means the program must end (the
    // user has been told why).
    bool CheckExecuteCondition();

    // Settings directly under HKEY_CURRENT_USER\$(SysRegistryKey).
    bool ReadBool(const QString& name, bool defaultValue);
    int ReadInteger(const QString& name, int defaultValue);
    QString ReadString(const QString& name, const QString& defaultValue);
    void WriteBool(const QString& name, bool value);
    void WriteInteger(const QString& name, int value);
    void WriteString(const QString& name, const QString& value);
    // The expanded settings key, or empty when the macro is missing.
    QString RegistryKey();
    TRegistryStore& Registry() { return *FRegistry; }

    // Expands macros in text (a malformed macro leaves the text as it is) and
    // hands it to OnMessageBox. Without one the text goes to standard error
    // and the answer is the cancel button's result: nobody agreed to anything.
    // Never throws.
    int MessageBox(const QString& text, TMsgDlgButtons buttons, TMsgDlgBtn defaultButton,
                   TMsgDlgBtn cancelButton);
    // Expands the template first, then formats the arguments into it, so user
    // data never goes through macro expansion.
    template <class... A>
    int MessageBoxFmt(const QString& templ, TMsgDlgButtons buttons, TMsgDlgBtn def, TMsgDlgBtn cancel,
                      const A&... args) {
        return ShowFormatted(templ, std::vector<FormatArg>{FormatArg(args)...}, buttons, def, cancel);
    }
    void ShowMessage(const QString& text) { MessageBox(text, mbOK, mbOK, mbOK); }
    bool Confirm(const QString& text) { return MessageBox(text, mbYes | mbNo, mbYes, mbNo) == mrYes; }

    // The report of an exception nothing else handled.
    void HandleException(const std::exception& error);
    void HandleUnknownException();

    // Expands "$(" in every stored published string and string-list property
    // of the component and of everything it owns; a malformed macro leaves
    // that property as it was.
    void ExpandComponentMacros(TComponent* component);

    // Full path of fileName (backslashes or slashes, "*"/"?" in the last part)
    // on the program home, the shipped data or a data medium, or empty. With a
    // caption that is not null the user is asked to insert the medium: "@"
    // stands for a generic caption, an empty one for the file name.
    QString LocateFile(const QString& fileName, const QString& caption = QString());

    // Where the program's shipped read-only data lies and the per-user
    // program home seeded from it.
    QString ProgramFolder() const { return FProgramFolder; }
    QString ProgramHome() const { return FProgramHome; }
    QString ShippedDataFolder() const;
    // Copies shipped files the program home lacks; returns the names copied.
    QStringList SeedProgramHome();

    TOnMessageBox OnMessageBox;
    TOnCDNotFound OnCDNotFound;
    TOnException OnException;
    // Brings the main window to the front before a message is shown.
    std::function<void()> OnBringToFront;

private:
    int ShowFormatted(const QString& templ, const std::vector<FormatArg>& args, TMsgDlgButtons buttons,
                      TMsgDlgBtn def, TMsgDlgBtn cancel);
    int ShowText(const QString& text, TMsgDlgButtons buttons, TMsgDlgBtn def, TMsgDlgBtn cancel);
    void SetBuiltInMacros(const QString& programFile);
    QString ExpandOr(const QString& text, const QString& fallback);
    bool IsDataRoot(const QString& folder);
    QString FindIn(const QString& folder, const QString& fileName);
    QString SearchRoots(const QString& fileName);

    TMacroString FMacro;
    TExecuteCondition FExecuteCondition = 0;
    std::unique_ptr<TRegistryStore> FRegistry;
    std::unique_ptr<TExecuteBlocker> FBlocker;
    QString FProgramFolder;
    QString FProgramHome;
    QString FDataRoot; // the remembered data-medium root
};

// The one frame, or null before it exists and after it is gone.
TAppFrame* AppFrame();
// Expands with the frame's table; the text itself when there is no frame.
QString Expand(const QString& text);

} // namespace vellum
