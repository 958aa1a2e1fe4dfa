// Huge entries through the real window, offscreen: the time from the click to the result
// in the label, or to the error box on the screen, for entries of a megabyte.
//   QT_QPA_PLATFORM=offscreen build/bench/huge_entry_benchmark

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "application_frame.h"
#include "locale_number_settings.h"

namespace {

using pound::app::TApplication;

double MillisecondsToResult(TForm1& form, const QString& entry) {
    form.Edit1->setText(entry);
    QElapsedTimer timer;
    timer.start();
    form.Button1->click();
    QApplication::processEvents();  // the label's repaint
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double MillisecondsToErrorBox(TForm1& form, const QString& entry) {
    form.Edit1->setText(entry);
    QElapsedTimer timer;
    double shownAt = -1;
    std::function<void()> poll = [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            box != nullptr && box->isVisible()) {
            shownAt = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            box->button(QMessageBox::Ok)->click();
        } else {
            QTimer::singleShot(0, poll);
        }
    };
    QTimer::singleShot(0, poll);
    timer.start();
    form.Button1->click();
    return shownAt;
}

}  // namespace

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    pound::LocaleNumberSettings.DecimalMark = '.';
    TForm1 form(application.Guard());
    Form1 = &form;
    form.show();
    form.ListBox1->setCurrentRow(3);

    const int million = 1'000'000;
    std::printf("%-44s %10.1f ms\n", "a million blanks and a digit: result",
                MillisecondsToResult(form, QString(million, u' ') + "7"));
    std::printf("%-44s %10.1f ms\n", "\"0.\" and a million zeros: result",
                MillisecondsToResult(form, "0." + QString(million, u'0')));
    std::printf("%-44s %10.1f ms\n", "a million letters: error box shown",
                MillisecondsToErrorBox(form, QString(million, u'x')));
    std::printf("%-44s %10.1f ms\n", "a million digits beyond range: error box",
                MillisecondsToErrorBox(form, QString(million, u'9')));
    Form1 = nullptr;
    return 0;
}
