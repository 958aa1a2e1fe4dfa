#include "frame_texts.h"

namespace pound::app {
namespace {

constexpr qsizetype kLongestShownText = 1000;
constexpr qsizetype kShownEnds = 400;
constexpr int kShowMaximized = 3;
constexpr int kShowMinNoActive = 7;

}  // namespace

QString DeriveApplicationTitle(const QString& executablePath) {
    QString name = executablePath.mid(executablePath.lastIndexOf(u'/') + 1);
    if (const qsizetype stop = name.indexOf(u'.'); stop >= 0)
        name.truncate(stop);
    if (name.isEmpty())
        return name;
    const qsizetype first = name.at(0).isHighSurrogate() && name.size() > 1 ? 2 : 1;
    return name.left(first) + name.mid(first).toLower();
}

QString FatalReportText(const QString& className, const QString& moduleName, quintptr offset,
                        const QString& message) {
    const QString stop =
        !message.isEmpty() && !message.endsWith(u'.') ? QStringLiteral(".") : QString();
    return QStringLiteral("Exception %1 in module %2 at %3.\r\n%4%5\r\n")
        .arg(
            className, moduleName,
            QStringLiteral("%1").arg(static_cast<qulonglong>(offset), 8, 16, QChar(u'0')).toUpper(),
            message, stop);
}

QString BoxDisplayText(const QString& text) {
    if (text.size() <= kLongestShownText)
        return text;
    return text.left(kShownEnds) + QStringLiteral(" … ") + text.right(kShownEnds);
}

Qt::WindowState WindowStateForShowCommand(int showCommand) {
    switch (showCommand) {
        case kShowMaximized:
            return Qt::WindowMaximized;
        case kShowMinNoActive:
            return Qt::WindowMinimized;
        default:
            return Qt::WindowNoState;
    }
}

}  // namespace pound::app
