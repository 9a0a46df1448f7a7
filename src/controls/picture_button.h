#pragma once

#include <QSize>
#include <QString>

class QPushButton;
class QWidget;

namespace vexo {

// A push button that shows one of the program's pictures with its caption as a tooltip; without the
// picture it shows the caption instead, so it is never blank.
QPushButton *pictureButton(QWidget *parent, const QString &picture, const QString &tip, QSize iconSize,
                           QSize buttonSize);

} // namespace vexo
