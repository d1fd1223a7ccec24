#pragma once

#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>

#include "ui/skin/PictureNames.h"

// The skin's pictures, compiled into the program.
namespace Skin {

// The picture `name`. A picture the program lacks is reported as a fault (and is empty).
QPixmap Picture(const PictureName &name);
// The hand pointer shared by every window.
QCursor HandCursor();
// The skin's text font (Tahoma, or a narrow sans where it is missing), 11 pixels high.
QFont WindowFont();
// The program's icon, at every size it is drawn in.
QIcon ProgramIcon();

} // namespace Skin
