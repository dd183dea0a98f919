#pragma once

#include <QString>

class QWidget;

// Opens a file in its viewer or a folder in the file manager of the desktop. When none could be
// started the user is told so in `window`, with the path to open by hand; false then.
bool openOnDesktop(const QString &path, QWidget *window);
