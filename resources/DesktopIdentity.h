#pragma once

// How the desktop knows Tempulo: the application id that names its launcher, its AppStream entry
// and its icons, and the window icon compiled into the program.

#include <array>

#include <QIcon>
#include <QString>

namespace desktop_identity {

// The reverse-DNS application id, the base name of the installed .desktop file.
QString AppId();

// The square sizes, in pixels, the window icon has an image for. Panels and task switchers that
// want larger ones find them in the icon theme, under the application id.
inline constexpr std::array kIconSizes = {16, 32};

// The window icon: a 16 x 16 image in 16 colours for title bars, and the 32 x 32 rendering of the
// same drawing for task bars and title bars at double density. Null on Windows, where the images
// are not compiled in: there every window has the program file's icon.
QIcon WindowIcon();

// The resource path of the image of the given size (one of kIconSizes).
QString IconResource(int size);

}  // namespace desktop_identity
