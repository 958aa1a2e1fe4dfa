// The main window, headless: construction, layout, keyboard, type-ahead and the button.

#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <string>

#include "Unit1.h"
#include "errors.h"
#include "form_layout.h"
#include "locale_number_settings.h"

using namespace pound::ui;

namespace {

// A guard that records what it caught instead of reporting it.
struct RecordingGuard {
    std::shared_ptr<QStringList> caught = std::make_shared<QStringList>();

    EventGuard Guard() const {
        return [caught = caught](const std::function<void()>& handler) {
            try {
                handler();
            } catch (const pound::Exception& e) {  // the whole message, NUL bytes and all
                caught->append(QString::fromUtf8(e.Message().data(),
                                                 static_cast<qsizetype>(e.Message().size())));
            }
        };
    }
};

QByteArray Utf8(const QString& text) {
    return text.toUtf8();
}

// A key press carrying non-Latin text, which QTest's key clicks cannot send.
void PressTextKey(QWidget* widget, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
}

}  // namespace

class TForm1Test : public QObject {
    Q_OBJECT

  private:
    RecordingGuard recorder_;
    std::unique_ptr<TForm1> form_;

    void ShowActive() {
        form_->show();
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }

    void Convert(int row, const QString& entry) {
        form_->ListBox1->setCurrentRow(row);
        form_->Edit1->setText(entry);
        QTest::mouseClick(form_->Button1, Qt::LeftButton);
    }

  private slots:
    void init() {
        pound::LocaleNumberSettings.DecimalMark = '.';
        recorder_.caught->clear();
        form_ = std::make_unique<TForm1>(recorder_.Guard());
    }

    void cleanup() { form_.reset(); }

    void layoutScalesByTextHeight() {
        QCOMPARE(ScaleLayout(96, 13), DesignLayout());
        const FormLayout at120 = ScaleLayout(120, 16);
        QCOMPARE(at120.windowFontPixels, 14);
        QCOMPARE(at120.controls[kListBox1], (Rect{138, 30, 188, 119}));
        QCOMPARE(at120.controls[kButton1], (Rect{266, 207, 92, 31}));
        QCOMPARE(at120.controls[kEdit1].left, 108);
        QCOMPARE(at120.controls[kEdit1].top, 207);
        QCOMPARE(at120.controls[kEdit1].width, 149);
        QCOMPARE(at120.label3FontPixels, 20);
        QCOMPARE(at120.tntLabel1FontPixels, 18);
        QCOMPARE(at120.clientWidth, 390);
        QCOMPARE(at120.clientHeight, 315);
        QCOMPARE(MulDiv(29, 1, 2), 15);  // halves away from zero
        QCOMPARE(MulDiv(-29, 1, 2), -15);
        QCOMPARE(MulDiv(24, 16, 13), 30);
    }

    void constructionState() {
        QCOMPARE(form_->windowTitle().toUtf8(), QByteArray(" Case операторы "));
        const std::pair<QWidget*, const char*> names[] = {
            {form_->Label2, "Label2"},       {form_->Edit1, "Edit1"},
            {form_->Button1, "Button1"},     {form_->Label3, "Label3"},
            {form_->ListBox1, "ListBox1"},   {form_->Label4, "Label4"},
            {form_->TntLabel1, "TntLabel1"},
        };
        for (const auto& [widget, name] : names)
            QCOMPARE(widget->objectName(), QString(name));
        QCOMPARE(Utf8(form_->Label2->text()), QByteArray("Фунтты енгiз"));
        QCOMPARE(form_->Label2->text().at(10), QChar(u'i'));
        QCOMPARE(Utf8(form_->Label3->text()), QByteArray("Мемлекеттер "));
        QCOMPARE(Utf8(form_->TntLabel1->text()), QByteArray(" Мемлекетті тандаңыз"));
        QCOMPARE(Utf8(form_->Button1->text()), QByteArray("Есепте "));
        QCOMPARE(Utf8(form_->ListBox1->Hint()), QByteArray("Прокручивая спиок, выберите страну"));
        const char* rows[] = {"Россия", "Англия",   "Австрия",        "Германия",
                              "Дания",  "Исландия", "Италия        ", "Нидерланды"};
        QCOMPARE(form_->ListBox1->count(), 8);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(Utf8(form_->ListBox1->item(i)->text()), QByteArray(rows[i]));
        QCOMPARE(form_->ListBox1->currentRow(), 0);
        QCOMPARE(form_->ListBox1->selectedItems().size(), 1);
        QVERIFY(form_->Label4->text().isEmpty());
        QVERIFY(form_->Edit1->text().isEmpty());
        QVERIFY(form_->Button1->autoDefault());
        QVERIFY(!form_->Button1->isDefault());
        QCOMPARE(form_->Edit1->maxLength(), std::numeric_limits<int>::max());
        QVERIFY(recorder_.caught->isEmpty());
    }

    void geometryFollowsTheMeasuredFont() {
        const int pixelsPerInch = qRound(form_->screen()->logicalDotsPerInchY());
        const int textHeight = QFontMetrics(form_->font()).height();
        const FormLayout want = ScaleLayout(pixelsPerInch, textHeight);
        QCOMPARE(form_->LoadedLayout(), want);
        QCOMPARE(form_->size(), QSize(want.clientWidth, want.clientHeight));
        QCOMPARE(form_->minimumSize(), form_->maximumSize());
        const auto rectOf = [](QWidget* w) {
            return Rect{w->x(), w->y(), w->width(), w->height()};
        };
        QCOMPARE(rectOf(form_->ListBox1), want.controls[kListBox1]);
        QCOMPARE(rectOf(form_->Button1), want.controls[kButton1]);
        QCOMPARE(rectOf(form_->Edit1), want.controls[kEdit1]);
        QCOMPARE(form_->Label4->pos(),
                 QPoint(want.controls[kLabel4].left, want.controls[kLabel4].top));
        QCOMPARE(form_->Label3->font().pixelSize(), want.label3FontPixels);
        QCOMPARE(form_->TntLabel1->font().pixelSize(), want.tntLabel1FontPixels);
        // Labels fit their texts; the empty result label is one blank wide.
        const QFontMetrics metrics(form_->font());
        QCOMPARE(form_->Label4->size(), QSize(metrics.horizontalAdvance(' '), metrics.height()));
        QCOMPARE(form_->Label2->width(), metrics.horizontalAdvance(form_->Label2->text()));
        const Qt::WindowFlags flags = form_->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    }

    void opensWithFocusInTheEntryAndTabWraps() {
        ShowActive();
        QCOMPARE(QApplication::focusWidget(), form_->Edit1);
        QTest::keyClick(form_->Edit1, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form_->Button1);
        QTest::keyClick(form_->Button1, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form_->ListBox1);
        QTest::keyClick(form_->ListBox1, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form_->Edit1);
        QTest::keyClick(form_->Edit1, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), form_->ListBox1);
        // Arrow keys on the button move the focus too.
        form_->Button1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form_->Button1, Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), form_->ListBox1);
        form_->Button1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form_->Button1, Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), form_->Edit1);
    }

    void mouseClickConverts() {
        Convert(1, "10");
        QCOMPARE(Utf8(form_->Label4->text()), QByteArray("10 фунт. - 4.536 кг."));
        QCOMPARE(form_->Label4->width(),
                 QFontMetrics(form_->Label4->font()).horizontalAdvance(form_->Label4->text()));
        QCOMPARE(form_->Label4->x(), form_->LoadedLayout().controls[kLabel4].left);
        const QSize before = form_->Label4->size();
        QTest::mouseClick(form_->Button1, Qt::LeftButton);
        QCOMPARE(form_->Label4->size(), before);
        QCOMPARE(form_->ListBox1->currentRow(), 1);
        QCOMPARE(form_->Edit1->text(), QString("10"));
    }

    void enterAndSpaceClickOnlyTheFocusedButton() {
        ShowActive();
        QSignalSpy clicks(form_->Button1, &QPushButton::clicked);
        form_->Edit1->setText("3");
        QTest::keyClick(form_->Edit1, Qt::Key_Return);
        QTest::keyClick(form_->Edit1, Qt::Key_Enter);
        form_->ListBox1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form_->ListBox1, Qt::Key_Return);
        QTest::keyClick(form_->ListBox1, Qt::Key_Escape);
        QCOMPARE(clicks.count(), 0);
        QVERIFY(form_->Label4->text().isEmpty());

        form_->Edit1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form_->Edit1, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form_->Button1);
        QTest::keyClick(form_->Button1, Qt::Key_Return);
        QCOMPARE(Utf8(form_->Label4->text()), QByteArray("3 фунт. - 1.229 кг."));
        form_->ListBox1->setCurrentRow(3);
        QTest::keyClick(form_->Button1, Qt::Key_Space);
        QCOMPARE(Utf8(form_->Label4->text()), QByteArray("3 фунт. - 1.500 кг."));
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(QApplication::focusWidget(), form_->Button1);
    }

    void errorLeavesEverythingAndReachesTheGuard_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("message");
        QTest::newRow("abc") << "abc"
                             << "'abc' is not a valid floating point value";
        QTest::newRow("empty") << ""
                               << "'' is not a valid floating point value";
        QTest::newRow("overflow") << "1E400"
                                  << "Floating point overflow";
    }

    void errorLeavesEverythingAndReachesTheGuard() {
        QFETCH(QString, entry);
        QFETCH(QString, message);
        Convert(3, "2");
        const QString before = form_->Label4->text();
        Convert(5, entry);
        QCOMPARE(*recorder_.caught, QStringList{message});
        QCOMPARE(form_->Label4->text(), before);
        QCOMPARE(form_->Edit1->text(), entry);
        QCOMPARE(form_->ListBox1->currentRow(), 5);
    }

    void entrySelectsAllUnlessClicked() {
        ShowActive();
        form_->Edit1->setText("12.5");
        form_->Button1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form_->Button1, Qt::Key_Backtab);
        QCOMPARE(form_->Edit1->selectedText(), QString("12.5"));
        form_->ListBox1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form_->ListBox1, Qt::Key_Tab);
        QCOMPARE(form_->Edit1->selectedText(), QString("12.5"));
        form_->ListBox1->setFocus(Qt::TabFocusReason);
        form_->Edit1->setFocus(Qt::ActiveWindowFocusReason);
        QCOMPARE(form_->Edit1->selectedText(), QString("12.5"));
        form_->ListBox1->setFocus(Qt::TabFocusReason);
        QTest::mouseClick(form_->Edit1, Qt::LeftButton, {}, QPoint(3, form_->Edit1->height() / 2));
        QCOMPARE(QApplication::focusWidget(), form_->Edit1);
        QVERIFY(form_->Edit1->selectedText().isEmpty());
    }

    void typeAheadWithinHalfASecond() {
        qint64 now = 10'000;
        form_->ListBox1->SetClock([&now] { return now; });
        const auto type = [&](const QString& text, qint64 pause) {
            now += pause;
            form_->ListBox1->keyboardSearch(text);
            return form_->ListBox1->currentRow();
        };
        QCOMPARE(type(QString::fromUtf8("И"), 0), 5);
        QCOMPARE(type(QString::fromUtf8("т"), 499), 6);
        QCOMPARE(type(QString::fromUtf8("Н"), 500), 7);
        QCOMPARE(type(QString::fromUtf8("ж"), 600), 7);  // no row begins with it
        QCOMPARE(type(QString::fromUtf8("д"), 600), 4);  // any letter case
        // Backspace takes the last character; an empty search text selects row 0.
        QCOMPARE(type(QString::fromUtf8("г"), 600), 3);
        QCOMPARE(type(QString::fromUtf8("е"), 100), 3);
        now += 100;
        QTest::keyClick(form_->ListBox1, Qt::Key_Backspace);
        QCOMPARE(form_->ListBox1->currentRow(), 3);
        now += 100;
        QTest::keyClick(form_->ListBox1, Qt::Key_Backspace);
        QCOMPARE(form_->ListBox1->currentRow(), 0);
        // Real key presses reach the same search.
        now += 600;
        PressTextKey(form_->ListBox1, QString::fromUtf8("А"));
        QCOMPARE(form_->ListBox1->currentRow(), 1);
        now += 100;
        PressTextKey(form_->ListBox1, QString::fromUtf8("в"));
        QCOMPARE(form_->ListBox1->currentRow(), 2);
    }

    void listAlwaysKeepsOneRowSelected() {
        ShowActive();
        TListBox* list = form_->ListBox1;
        list->setFocus(Qt::TabFocusReason);
        const QRect first = list->visualItemRect(list->item(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, first.center());
        QCOMPARE(list->selectedItems().size(), 1);
        QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(list->selectedItems().size(), 1);
        list->scrollToBottom();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(2, list->viewport()->height() - 1));
        QTest::mouseClick(list->viewport(), Qt::RightButton, {},
                          QPoint(2, list->viewport()->height() - 1));
        QCOMPARE(list->selectedItems().size(), 1);
        QTest::keyClick(list, Qt::Key_End);
        QCOMPARE(list->currentRow(), 7);
        QTest::keyClick(list, Qt::Key_Home);
        QCOMPARE(list->currentRow(), 0);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(list->selectedItems().size(), 1);
        QVERIFY(list->verticalScrollBar()->isVisible());
    }

    void hugeEntryIsAcceptedWhole() {
        const QString entry = QString(100'000, u' ') + "7";
        form_->Edit1->setText(entry);
        QCOMPARE(form_->Edit1->text().size(), entry.size());
        form_->ListBox1->setCurrentRow(3);
        QTest::mouseClick(form_->Button1, Qt::LeftButton);
        QVERIFY(form_->Label4->text().endsWith(QString::fromUtf8(" фунт. - 3.500 кг.")));
        QCOMPARE(form_->Label4->text().size(), entry.size() + 18);
    }

    void hostileEntriesAreQuotedAsTyped_data() {
        QTest::addColumn<QString>("entry");
        QString everyByte;
        for (int code = 0; code < 256; ++code)
            everyByte += QChar(code);
        QTest::newRow("every byte value") << everyByte;
        QTest::newRow("invalid UTF-8") << QString::fromUtf8("\xFF\xFE 12 \xC3");
        QTest::newRow("right to left") << QString::fromUtf8("\u05E9\u05DC\u05D5\u05DD 12");
        QTest::newRow("Arabic-Indic digits") << QString::fromUtf8("\u0661\u0662\u0663");
        QTest::newRow("combining mark") << QString::fromUtf8("5\u0301");
        QTest::newRow("emoji") << QString::fromUtf8("5\U0001F600");
        QTest::newRow("no-break space") << QString::fromUtf8("1\u00A0000");
    }

    void hostileEntriesAreQuotedAsTyped() {
        QFETCH(QString, entry);
        Convert(2, entry);
        const QString typed = form_->Edit1->text();
        QCOMPARE(*recorder_.caught,
                 QStringList{"'" + typed + "' is not a valid floating point value"});
        QVERIFY(form_->Label4->text().isEmpty());
    }

    void accessibleNames() {
        QCOMPARE(form_->Edit1->accessibleName(), form_->Label2->text());
        QCOMPARE(form_->ListBox1->accessibleName(), form_->Label3->text());
        QVERIFY(!form_->Label4->accessibleName().isEmpty());
    }
};

QTEST_MAIN(TForm1Test)
#include "tform1_test.moc"
