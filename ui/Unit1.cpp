#include "Unit1.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <cstdio>
#include <exception>

#include "country_conversion.h"

TForm1* Form1 = nullptr;

namespace pound::ui {
namespace {

const QStringList kWindowFontFamilies = {"MS Sans Serif", "Liberation Sans", "DejaVu Sans"};
const QStringList kSerifFontFamilies = {"Times New Roman", "Liberation Serif", "DejaVu Serif"};

QFont FontOf(const QStringList& families, int pixels) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixels);
    font.setStyleHint(families == kSerifFontFamilies ? QFont::Serif : QFont::SansSerif);
    return font;
}

void Place(QWidget* control, const Rect& r) {
    control->setGeometry(r.left, r.top, r.width, r.height);
}

void PlaceLabel(TLabel* label, const Rect& r) {
    label->move(r.left, r.top);
    label->FitToCaption();
}

}  // namespace

EventGuard StandardErrorGuard() {
    return [](const std::function<void()>& handler) {
        try {
            handler();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "error: %s\n", e.what());
        } catch (...) {
            std::fprintf(stderr, "error: an unknown error\n");
        }
    };
}

TForm1::TForm1(EventGuard guard, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      guard_(std::move(guard)),
      layout_(DesignLayout()) {
    setObjectName("Form1");
    setWindowTitle(QString::fromUtf8(" Case операторы "));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    move(269, 143);
    CreateControls();
    ScaleAtLoad();
    guard_([this] { FormCreate(this); });
}

// The fonts come with the scaling, which sets every one of them.
void TForm1::CreateControls() {
    Label2 = new TLabel(this);
    Label2->setObjectName("Label2");
    Label2->setText(QString::fromUtf8("Фунтты енгiз"));

    Label3 = new TLabel(this);
    Label3->setObjectName("Label3");
    Label3->setText(QString::fromUtf8("Мемлекеттер "));

    Label4 = new TLabel(this);
    Label4->setObjectName("Label4");
    Label4->setAccessibleName(QString::fromUtf8("Нәтиже"));

    TntLabel1 = new TTntLabel(this);
    TntLabel1->setObjectName("TntLabel1");
    TntLabel1->setText(QString::fromUtf8(" Мемлекетті тандаңыз"));

    Edit1 = new TEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->setAccessibleName(Label2->text());

    Button1 = new QPushButton(QString::fromUtf8("Есепте "), this);
    Button1->setObjectName("Button1");
    Button1->setAutoDefault(true);  // Enter and Space click it while it has the focus
    connect(Button1, &QPushButton::clicked, this,
            [this] { guard_([this] { Button1Click(Button1); }); });

    ListBox1 = new TListBox(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setAccessibleName(Label3->text());
    ListBox1->SetHint(QString::fromUtf8("Прокручивая спиок, выберите страну"));
    for (const Country& country : kCountries) {
        ListBox1->addItem(
            QString::fromUtf8(country.name.data(), static_cast<qsizetype>(country.name.size())));
    }

    for (QWidget* control : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Button1),
                             static_cast<QWidget*>(ListBox1)}) {
        control->setFocusPolicy(Qt::StrongFocus);
    }
    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, ListBox1);
    Edit1->setFocus(Qt::OtherFocusReason);
}

void TForm1::ScaleAtLoad() {
    const QScreen* screen = this->screen();
    const int pixelsPerInch =
        screen != nullptr ? qRound(screen->logicalDotsPerInchY()) : kDesignPixelsPerInch;
    const QFont windowFont = FontOf(kWindowFontFamilies, WindowFontPixels(pixelsPerInch));
    setFont(windowFont);
    const int textHeight = QFontMetrics(windowFont).height();

    layout_ = ScaleLayout(pixelsPerInch, textHeight);
    const auto& at = layout_.controls;
    Label3->setFont(FontOf(kSerifFontFamilies, layout_.label3FontPixels));
    TntLabel1->setFont(FontOf(kSerifFontFamilies, layout_.tntLabel1FontPixels));
    PlaceLabel(Label2, at[kLabel2]);
    PlaceLabel(Label3, at[kLabel3]);
    PlaceLabel(Label4, at[kLabel4]);
    PlaceLabel(TntLabel1, at[kTntLabel1]);
    Place(Edit1, at[kEdit1]);
    Place(Button1, at[kButton1]);
    Place(ListBox1, at[kListBox1]);
    setFixedSize(layout_.clientWidth, layout_.clientHeight);
}

void TForm1::FormCreate(QObject*) {
    ListBox1->setCurrentRow(0);
}

void TForm1::Button1Click(QObject*) {
    const int country = ListBox1->currentRow();
    const QByteArray entered = Edit1->text().toUtf8();
    const std::string result = ConvertPounds(
        country, std::string_view(entered.constData(), static_cast<std::size_t>(entered.size())));
    Label4->SetCaption(QString::fromUtf8(result.data(), static_cast<qsizetype>(result.size())));
}

}  // namespace pound::ui
