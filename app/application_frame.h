#pragma once
// The application frame: the application object with its title and icon, the guard around
// the window's handlers, the error reports, the hint and the reaction to settings changes.

#include <QApplication>
#include <exception>
#include <functional>

#include "Unit1.h"
#include "hint_window.h"

namespace pound::app {

class TApplication : public QApplication {
    Q_OBJECT
  public:
    // Title from the executable's real path, the icon "MAINICON", hints on.
    TApplication(int& argc, char** argv);

    QString Title() const { return title_; }
    HintController& Hints() { return hints_; }

    // Runs a handler and reports whatever escapes it.
    pound::ui::EventGuard Guard();

    // Shows an escaped error in a modal box captioned with the title, then re-activates the
    // main window. An object that is no Exception goes to ReportFatalError.
    void ReportUnhandledError(std::exception_ptr error);

    // The "Application Error" box. `address` is where the error arose, when known.
    static void ReportFatalError(std::exception_ptr error, const void* address);

    bool notify(QObject* receiver, QEvent* event) override;

  protected:
    bool event(QEvent* event) override;

  private:
    QString title_;
    HintController hints_;
};

// Builds the main window in `memory` (room for a TForm1) with the given guard.
using MainWindowConstructor = std::function<void(void* memory, pound::ui::EventGuard guard)>;

// Creates Form1, shows it and runs the event loop: 0 after a normal close. An error before
// the loop is shown by ReportFatalError and gives 1, without the window ever showing.
int RunMainWindow(TApplication& application, const MainWindowConstructor& construct);

// Start-up, the event loop and shut-down; the process's exit code.
int RunApplication(int argc, char** argv);

// Before the application object: a display Qt cannot open ends the program with one line
// on standard error and exit code 1 instead of an abort.
void InstallStartupMessageHandler();

}  // namespace pound::app
