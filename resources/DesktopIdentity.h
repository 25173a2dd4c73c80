#pragma once

// How the desktop knows Tempulo: the application id that names its launcher, its AppStream entry
// and its icons, and the window icon compiled into the program.

#include <array>

#include <QIcon>
#include <QString>

namespace desktop_identity {

// The reverse-DNS application id, the base name of the installed .desktop file.
QString AppId();

// The square sizes, in pixels, the window icon has an image for.
inline constexpr std::array kIconSizes = {16, 32, 48, 64, 128, 256};

// The window icon: a 16 x 16 image in 16 colours for title bars, and the larger renderings of the
// same drawing so panels and task switchers get a sharp one.
QIcon WindowIcon();

// The resource path of the image of the given size (one of kIconSizes).
QString IconResource(int size);

}  // namespace desktop_identity
