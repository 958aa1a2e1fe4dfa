#pragma once
// The texts of the application frame, as pure functions.

#include <QString>
#include <Qt>

namespace pound::app {

// The title from the executable's path: the file name, cut before its first full stop,
// lower case after the first character ("/opt/Old.Versions/MYAPP.EXE" gives "Myapp").
QString DeriveApplicationTitle(const QString& executablePath);

// The box text of a fatal report: "Exception CLASS in module MODULE at OFFSET.\r\n" then
// the message and a full stop unless it ends in one, then "\r\n".
QString FatalReportText(const QString& className, const QString& moduleName, quintptr offset,
                        const QString& message);

// A message as a box shows it: a text over 1,000 characters keeps its first and last 400
// with " … " between, since laying out a huge line freezes the box.
QString BoxDisplayText(const QString& text);

// The window state that the launcher's show command asks for: 3 maximised,
// 7 minimised without activation, anything else normal.
Qt::WindowState WindowStateForShowCommand(int showCommand);

}  // namespace pound::app
