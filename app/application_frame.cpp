#include "application_frame.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <unistd.h>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <new>
#include <typeinfo>

#include "errors.h"
#include "frame_texts.h"
#include "locale_number_settings.h"

#if defined(Q_OS_WIN)
#include <windows.h>
#include <QAbstractNativeEventFilter>
#endif

namespace pound::app {
namespace {

// The class name as the code spells it, without its namespace.
QString ClassNameOf(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    const QString name = QString::fromUtf8(status == 0 ? demangled.get() : type.name());
    const qsizetype scope = name.lastIndexOf(QStringLiteral("::"));
    return scope < 0 ? name : name.mid(scope + 2);
}

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct ErrorFacts {
    QString className;
    std::string message;  // UTF-8, as the error carries it
    bool isException = false;
    const void* address = nullptr;
};

ErrorFacts Examine(std::exception_ptr error) {
    ErrorFacts facts;
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        facts = {ClassNameOf(typeid(e)), e.Message(), true, e.RaiseAddress()};
    } catch (const std::exception& e) {
        facts.className = ClassNameOf(typeid(e));
        facts.message = e.what();
    } catch (...) {
        const std::type_info* type = abi::__cxa_current_exception_type();
        facts.className = type != nullptr ? ClassNameOf(*type) : QStringLiteral("unknown");
    }
    return facts;
}

#if defined(Q_OS_WIN)
// Settings changes and a restarted taskbar reload the number settings.
class SettingsChangeFilter : public QAbstractNativeEventFilter {
  public:
    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
        static const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
        const UINT id = static_cast<MSG*>(message)->message;
        if (id == WM_SETTINGCHANGE || id == taskbarCreated) {
            SetThreadLocale(LOCALE_USER_DEFAULT);
            LoadLocaleNumberSettings();
        }
        return false;
    }
};

int LauncherShowCommand() {
    STARTUPINFOW info{};
    info.cb = sizeof info;
    GetStartupInfoW(&info);
    return (info.dwFlags & STARTF_USESHOWWINDOW) != 0 ? info.wShowWindow : SW_SHOWDEFAULT;
}
#else
// No launcher on Linux passes a show command.
int LauncherShowCommand() {
    return 10;
}
#endif

QString ExecutablePath() {
    const QString real = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return real.isEmpty() ? QCoreApplication::applicationFilePath() : real;
}

void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        qt_message_output(type, context, text);  // Qt's default output
        return;
    }
    const QString line = text.section(u'\n', 0, 0);
    const bool noDisplay =
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    std::fprintf(stderr, "pound-converter: cannot start%s: %s\n",
                 noDisplay ? " (no display: DISPLAY is not set)" : "",
                 line.toLocal8Bit().constData());
    std::fflush(stderr);
    _exit(1);
}

// Places the window as the first showing does: centred on the primary screen by its outer
// size, never above or left of the screen's corner.
void CentreOnPrimaryScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->geometry();
    const QSize outer = window->frameGeometry().size();
    window->move(area.left() + std::max(0, (area.width() - outer.width()) / 2),
                 area.top() + std::max(0, (area.height() - outer.height()) / 2));
}

// The window manager adds its frame only after the window is shown; once the frame is
// known, the window is centred again by its outer size. Only the first showing counts.
class FrameWatcher : public QObject {
  public:
    explicit FrameWatcher(QWidget* window) : QObject(window), window_(window) {
        window->installEventFilter(this);
        QTimer::singleShot(kPatienceMs, this, [this] { deleteLater(); });
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
            window_->frameGeometry().size() != window_->size()) {
            window_->removeEventFilter(this);
            CentreOnPrimaryScreen(window_);
            deleteLater();
        }
        return false;
    }

  private:
    static constexpr int kPatienceMs = 2000;
    QWidget* window_;
};

void RecentreOnceFramed(QWidget* window) {
    new FrameWatcher(window);
}

}  // namespace

void InstallStartupMessageHandler() {
    qInstallMessageHandler(StartupMessageHandler);
}

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv), title_(DeriveApplicationTitle(ExecutablePath())) {
    setApplicationName(title_);  // the class part of WM_CLASS, set before the first window
    QIcon icon;                  // "MAINICON"
    for (int size : {16, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/icons/MAINICON-%1.png").arg(size), QSize(size, size));
    }
    setWindowIcon(icon);
    setQuitOnLastWindowClosed(true);
#if defined(Q_OS_WIN)
    static SettingsChangeFilter filter;
    installNativeEventFilter(&filter);
#endif
}

pound::ui::EventGuard TApplication::Guard() {
    return [this](const std::function<void()>& handler) {
        try {
            handler();
        } catch (...) {
            ReportUnhandledError(std::current_exception());
        }
    };
}

void TApplication::ReportUnhandledError(std::exception_ptr error) {
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    hints_.Cancel();
    const ErrorFacts facts = Examine(error);
    if (!facts.isException) {
        ReportFatalError(error, __builtin_return_address(0));
        return;
    }
    QWidget* main = Form1;
    QMessageBox box(QMessageBox::Critical, title_,
                    BoxDisplayText(FromUtf8(WithReportFullStop(facts.message))), QMessageBox::Ok,
                    main);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    if (main != nullptr && main->isVisible()) {
        main->activateWindow();
        main->raise();
    }
}

void TApplication::ReportFatalError(std::exception_ptr error, const void* address) {
    const ErrorFacts facts = Examine(error);
    if (facts.address != nullptr)
        address = facts.address;
    QString module;
    quintptr offset = 0;
    Dl_info info{};
    if (address != nullptr && dladdr(address, &info) != 0 && info.dli_fname != nullptr) {
        module = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).fileName();
        offset = reinterpret_cast<quintptr>(address) - reinterpret_cast<quintptr>(info.dli_fbase);
    }
    const QString text = FatalReportText(facts.className, module, offset,
                                         facts.isException ? FromUtf8(facts.message) : QString());
    std::fprintf(stderr, "%s", text.toLocal8Bit().constData());
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Application Error"),
                    BoxDisplayText(text), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {  // a last resort: handlers have their guard
        ReportUnhandledError(std::current_exception());
        return false;
    }
}

bool TApplication::event(QEvent* event) {
    if (event->type() == QEvent::LocaleChange)
        LoadLocaleNumberSettings();
    return QApplication::event(event);
}

int RunMainWindow(TApplication& application, const MainWindowConstructor& construct) {
    try {
        // Form1 names the window before it is built, so its creation handler can use it.
        void* memory = ::operator new(sizeof(TForm1));
        Form1 = static_cast<TForm1*>(memory);
        try {
            construct(memory, application.Guard());
        } catch (...) {
            Form1 = nullptr;
            ::operator delete(memory);
            throw;
        }
        std::unique_ptr<TForm1> owner(Form1);
        application.Hints().Attach(Form1->ListBox1, Form1->ListBox1->Hint());
        Form1->setWindowIconText(application.Title());

        const Qt::WindowState state = WindowStateForShowCommand(LauncherShowCommand());
        CentreOnPrimaryScreen(Form1);
        if (state == Qt::WindowMinimized) {
            Form1->setAttribute(Qt::WA_ShowWithoutActivating);
            Form1->showMinimized();
        } else {
            Form1->setWindowState(state);
            Form1->show();
            Form1->activateWindow();
            RecentreOnceFramed(Form1);
        }
        application.exec();  // its code is ignored: a normal close exits 0
        Form1 = nullptr;
        return 0;
    } catch (...) {
        Form1 = nullptr;
        TApplication::ReportFatalError(std::current_exception(), nullptr);
        return 1;
    }
}

int RunApplication(int argc, char** argv) {
    InstallStartupMessageHandler();
    LoadLocaleNumberSettings();
    TApplication application(argc, argv);
    return RunMainWindow(application, [](void* memory, pound::ui::EventGuard guard) {
        new (memory) TForm1(std::move(guard));
    });
}
}  // namespace pound::app
