#include "platform/ProgramIcon.h"

#include <windows.h>

#include <QImage>
#include <QPixmap>

// Windows draws each size from its own image in the icon resource (the 16 px one is the
// 16-colour drawing), so every size is taken from it as it is rather than scaled by Qt.
QIcon ProgramIcon::Get(std::span<const int> sizes) {
  QIcon icon;
  for (const int size : sizes) {
    auto* handle = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), L"IDI_ICON1", IMAGE_ICON, size, size, 0));
    if (handle == nullptr) continue;
    const QImage image = QImage::fromHICON(handle);
    DestroyIcon(handle);
    if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}
