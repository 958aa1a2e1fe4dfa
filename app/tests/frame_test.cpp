// The application frame, headless: its texts, the error boxes, the hint and the reload of
// the number settings.

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <stdexcept>

#include "application_frame.h"
#include "errors.h"
#include "frame_texts.h"
#include "locale_number_settings.h"

using namespace pound::app;

namespace {

struct Box {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool hadParent = false;
};

// Clicks OK on the next message box once it is up, recording it in `box`.
void PollForBox(const std::shared_ptr<Box>& box) {
    QTimer::singleShot(10, [box] {
        auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (shown == nullptr) {
            PollForBox(box);
            return;
        }
        *box = {shown->windowTitle(), shown->text(), shown->icon(),
                shown->parentWidget() != nullptr};
        QTest::mouseClick(shown->button(QMessageBox::Ok), Qt::LeftButton);
    });
}

std::shared_ptr<Box> CloseNextBox() {
    auto box = std::make_shared<Box>();
    PollForBox(box);
    return box;
}

TApplication& App() {
    return *static_cast<TApplication*>(qApp);
}

}  // namespace

class FrameTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<TForm1> form_;

  private slots:
    void init() {
        pound::LocaleNumberSettings.DecimalMark = '.';
        form_ = std::make_unique<TForm1>(App().Guard());
        Form1 = form_.get();
        App().Hints().Attach(form_->ListBox1, form_->ListBox1->Hint());
        form_->show();
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }

    void cleanup() {
        Form1 = nullptr;
        form_.reset();
    }

    void titleFromTheExecutablesName_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("first full stop") << "/opt/Converter.Setup.EXE"
                                         << "Converter";
        QTest::newRow("upper case") << "/usr/bin/MYAPP.EXE"
                                    << "Myapp";
        QTest::newRow("directory with stops") << "/home/u/Old.Versions/calc.exe"
                                              << "calc";
        QTest::newRow("no extension") << "/README"
                                      << "Readme";
        QTest::newRow("leading stop") << "/bin/.tool.exe"
                                      << "";
        QTest::newRow("cyrillic") << QString::fromUtf8("/opt/ПРОГРАММА.bin")
                                  << QString::fromUtf8("Программа");
        const QString deep = "/" + QString(300, u'd') + "/Long.Name.exe";
        QTest::newRow("path beyond 255 characters") << deep << "Long";
    }

    void titleFromTheExecutablesName() {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QCOMPARE(DeriveApplicationTitle(path), title);
    }

    void reportTexts() {
        QCOMPARE(
            FatalReportText("EConvertError", "pound-converter", 0x1a2b, "bad"),
            QString("Exception EConvertError in module pound-converter at 00001A2B.\r\nbad.\r\n"));
        QCOMPARE(FatalReportText("logic_error", "m", 0, "ends?"),
                 QString("Exception logic_error in module m at 00000000.\r\nends?.\r\n"));
        QCOMPARE(FatalReportText("X", "m", 0, "done."),
                 QString("Exception X in module m at 00000000.\r\ndone.\r\n"));
        QCOMPARE(FatalReportText("X", "m", 0, ""),
                 QString("Exception X in module m at 00000000.\r\n\r\n"));
        const QString shortText(1000, u'a');
        QCOMPARE(BoxDisplayText(shortText), shortText);
        const QString longText = QString(600, u'a') + QString(600, u'b');
        QCOMPARE(BoxDisplayText(longText),
                 QString(400, u'a') + QString::fromUtf8(" … ") + QString(400, u'b'));
    }

    void showCommandMapping() {
        QCOMPARE(WindowStateForShowCommand(3), Qt::WindowMaximized);
        QCOMPARE(WindowStateForShowCommand(7), Qt::WindowMinimized);
        for (int command : {0, 1, 2, 4, 5, 6, 8, 9, 10, 11}) {
            QCOMPARE(WindowStateForShowCommand(command), Qt::WindowNoState);
        }
    }

    void badEntryShowsOneBoxAndFocusReturnsToTheButton_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("text");
        QTest::newRow("abc") << "abc"
                             << "'abc' is not a valid floating point value.";
        QTest::newRow("empty") << ""
                               << "'' is not a valid floating point value.";
        QTest::newRow("overflow") << "1E400"
                                  << "Floating point overflow.";
    }

    void badEntryShowsOneBoxAndFocusReturnsToTheButton() {
        QFETCH(QString, entry);
        QFETCH(QString, text);
        form_->Edit1->setText("2");
        QTest::mouseClick(form_->Button1, Qt::LeftButton);
        const QString before = form_->Label4->text();
        for (int attempt = 0; attempt < 2; ++attempt) {  // each failure shows its own box
            form_->Edit1->setText(entry);
            const auto box = CloseNextBox();
            QTest::mouseClick(form_->Button1, Qt::LeftButton);
            QCOMPARE(box->text, text);
            QCOMPARE(box->title, App().Title());
            QCOMPARE(box->icon, QMessageBox::Critical);
            QVERIFY(box->hadParent);
            QCOMPARE(form_->Label4->text(), before);
            QCOMPARE(form_->Edit1->text(), entry);
            QTRY_COMPARE(QApplication::activeWindow(), form_.get());
            QCOMPARE(QApplication::focusWidget(), form_->Button1);
        }
    }

    void hugeMessageIsShortenedForDisplayOnly() {
        const std::string entry(5000, 'x');
        const auto box = CloseNextBox();
        App().Guard()([&] { throw pound::EConvertError("'" + entry + "' is not"); });
        QCOMPARE(box->text.size(), 803);
        QVERIFY(box->text.startsWith("'xxx"));
        QVERIFY(box->text.endsWith("is not."));
    }

    void guardReportsAndCarriesOn() {
        // As around the creation handler: the report is shown and the caller goes on.
        bool after = false;
        const auto box = CloseNextBox();
        App().Guard()([] { throw pound::Exception("creation failed"); });
        after = true;
        QVERIFY(after);
        QCOMPARE(box->text, QString("creation failed."));
    }

    void objectThatIsNoExceptionGetsTheFatalBox() {
        const auto box = CloseNextBox();
        App().Guard()([] { throw std::logic_error("broken"); });
        QCOMPARE(box->title, QString("Application Error"));
        QVERIFY2(box->text.startsWith("Exception logic_error in module "), qPrintable(box->text));
        QVERIFY(box->text.endsWith(".\r\n\r\n"));  // no message for a foreign object
        QVERIFY(!box->hadParent);
        QVERIFY(form_->isVisible());
    }

    void fatalBoxNamesTheModuleAndOffset() {
        const auto box = CloseNextBox();
        try {
            throw pound::EOverflow("Floating point overflow");
        } catch (...) {
            TApplication::ReportFatalError(std::current_exception(), nullptr);
        }
        const QRegularExpression shape(
            "^Exception EOverflow in module [^ ]+ at [0-9A-F]{8}\\.\r\nFloating point "
            "overflow\\.\r\n$");
        QVERIFY2(shape.match(box->text).hasMatch(), qPrintable(box->text));
    }

    void startUpErrorGivesTheFatalBoxAndExitCodeOne() {
        cleanup();  // no window of the fixture
        const auto box = CloseNextBox();
        bool formNamedDuringConstruction = false;
        const int code = RunMainWindow(App(), [&](void*, pound::ui::EventGuard) {
            formNamedDuringConstruction = Form1 != nullptr;
            throw pound::Exception("no window today");
        });
        QCOMPARE(code, 1);
        QVERIFY(formNamedDuringConstruction);
        QCOMPARE(Form1, nullptr);
        QCOMPARE(box->title, QString("Application Error"));
        QVERIFY2(box->text.startsWith("Exception Exception in module "), qPrintable(box->text));
        QVERIFY(box->text.endsWith("\r\nno window today.\r\n"));
        init();
    }

    void hintAfterRestHiddenAfterTimeOrAKey() {
        HintController& hints = App().Hints();
        QWidget* viewport = form_->ListBox1->viewport();
        const QPoint inside(10, 10);
        QCursor::setPos(viewport->mapToGlobal(inside));
        QTest::mouseMove(viewport, inside);
        QTest::qWait(300);
        QVERIFY(!hints.IsShown());
        QTRY_VERIFY_WITH_TIMEOUT(hints.IsShown(), 1000);
        QCOMPARE(hints.ShownText().toUtf8(), QByteArray("Прокручивая спиок, выберите страну"));
        QTest::qWait(2000);
        QVERIFY(hints.IsShown());
        QTRY_VERIFY_WITH_TIMEOUT(!hints.IsShown(), 1000);

        QTest::mouseMove(viewport, inside + QPoint(1, 1));
        QTRY_VERIFY_WITH_TIMEOUT(hints.IsShown(), 1000);
        QTest::keyClick(form_->ListBox1, Qt::Key_Shift);
        QVERIFY(!hints.IsShown());
    }

    void settingsChangeReloadsTheDecimalMark() {
        const QByteArray saved = qgetenv("LC_ALL");
        qputenv("LC_ALL", "de_DE.UTF-8");
        {
            QEvent change(QEvent::LocaleChange);
            QCoreApplication::sendEvent(qApp, &change);
        }
        QCOMPARE(pound::LocaleNumberSettings.DecimalMark, ',');
        form_->ListBox1->setCurrentRow(3);
        form_->Edit1->setText("12,5");
        QTest::mouseClick(form_->Button1, Qt::LeftButton);
        QCOMPARE(form_->Label4->text().toUtf8(), QByteArray("12,5 фунт. - 6,250 кг."));
        qputenv("LC_ALL", saved);
        {
            QEvent change(QEvent::LocaleChange);
            QCoreApplication::sendEvent(qApp, &change);
        }
        QCOMPARE(pound::LocaleNumberSettings.DecimalMark, '.');
    }
};

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    FrameTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frame_test.moc"
