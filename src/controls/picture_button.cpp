#include "controls/picture_button.h"

#include "resources/resource_library.h"

#include <QPushButton>

namespace vexo {

QPushButton *pictureButton(QWidget *parent, const QString &picture, const QString &tip, QSize iconSize,
                           QSize buttonSize)
{
    auto *b = new QPushButton(parent);
    const QIcon image = ResourceLibrary::icon(picture);
    if (image.isNull())
        b->setText(tip);
    else
        b->setIcon(image);
    b->setIconSize(iconSize);
    b->setToolTip(tip);
    b->setFixedSize(buttonSize);
    return b;
}

} // namespace vexo
