#pragma once
// The main window: a country list, an entry for the pounds, a button and the result label.

#include <QWidget>
#include <functional>

#include "controls.h"
#include "form_layout.h"

class QPushButton;

namespace pound::ui {

// Runs an event handler and deals with every error it raises, so that none unwinds
// through Qt. The application frame supplies one that reports errors in a message box.
using EventGuard = std::function<void(const std::function<void()>& handler)>;

// Reports to standard error; for a window without the application frame.
EventGuard StandardErrorGuard();

class TForm1 : public QWidget {
    Q_OBJECT
  public:
    // Builds the window, scales it for the screen and font, fits the labels and runs
    // FormCreate through `guard`. The window is not shown.
    explicit TForm1(EventGuard guard = StandardErrorGuard(), QWidget* parent = nullptr);

    TLabel* Label2;
    TEdit* Edit1;
    QPushButton* Button1;
    TLabel* Label3;
    TListBox* ListBox1;
    TLabel* Label4;
    TTntLabel* TntLabel1;

    void FormCreate(QObject* sender);
    void Button1Click(QObject* sender);

    // The layout this window was given at load.
    const FormLayout& LoadedLayout() const { return layout_; }

  private:
    void CreateControls();
    void ScaleAtLoad();

    EventGuard guard_;
    FormLayout layout_;
};

}  // namespace pound::ui

using pound::ui::TForm1;

// The program's one main window, once the application frame has created it.
extern TForm1* Form1;
