// The real window under load: 10,000 conversions through Button1 with varied entries and
// countries, and 1,000 error reports, each box closed by the test. Resident memory is
// printed at the start and the end; outside the sanitizer build it may grow by 2 MB at most
// (the sanitizer build checks for leaks instead, and its allocator keeps freed memory).

#include <unistd.h>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "application_frame.h"
#include "locale_number_settings.h"

using namespace pound::app;

namespace {

long ResidentKilobytes() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMeasureGrowth = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMeasureGrowth = false;
#else
constexpr bool kMeasureGrowth = true;
#endif
#else
constexpr bool kMeasureGrowth = true;
#endif

// Clicks OK on the next message box as soon as it is up, counting it.
void CloseNextBox(int& shown) {
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++shown;
            box->button(QMessageBox::Ok)->click();
        } else {
            CloseNextBox(shown);
        }
    });
}

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT

  private slots:
    void conversionsAndErrorReportsKeepMemoryFlat() {
        pound::LocaleNumberSettings.DecimalMark = '.';
        TApplication& app = *static_cast<TApplication*>(qApp);
        auto form = std::make_unique<TForm1>(app.Guard());
        Form1 = form.get();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));

        const char* shapes[] = {"%1", "%1.5", "-%1", "%1e2", "  %1  ", "0.0%1", ".%1", "%10000"};
        const auto round = [&](int conversions, int errors) {
            for (int i = 0; i < conversions; ++i) {
                form->ListBox1->setCurrentRow(i % 8);
                form->Edit1->setText(QString::fromLatin1(shapes[i % 8]).arg(i % 1000));
                QTest::mouseClick(form->Button1, Qt::LeftButton);
            }
            int shown = 0;
            for (int i = 0; i < errors; ++i) {
                form->Edit1->setText(i % 2 == 0 ? QString("abc%1").arg(i)
                                                : QString("1E4%1").arg(i % 10 + 10));
                CloseNextBox(shown);
                QTest::mouseClick(form->Button1, Qt::LeftButton);
            }
            return shown;
        };

        round(500, 50);  // warm caches: fonts, glyphs, the box's first layout
        const long before = ResidentKilobytes();
        std::printf("resident memory at the start: %ld kB\n", before);
        QCOMPARE(round(10'000, 1'000), 1'000);
        const long after = ResidentKilobytes();
        std::printf("resident memory at the end:   %ld kB (growth %ld kB)\n", after,
                    after - before);
        QVERIFY(form->Label4->text().endsWith(QString::fromUtf8(" кг.")));
        if (kMeasureGrowth)
            QVERIFY2(after - before < 2048, "resident memory grew by 2 MB or more");
        Form1 = nullptr;
    }
};

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    SoakTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "soak_test.moc"
