#include "resources/DesktopIdentity.h"

#include <QFile>

namespace desktop_identity {

QString AppId() { return QStringLiteral(TEMPULO_APP_ID); }

QString IconResource(int size) { return QStringLiteral(":/icons/tempulo-%1.png").arg(size); }

QIcon WindowIcon() {
  QIcon icon;
  for (int size : kIconSizes) {
    if (QFile::exists(IconResource(size))) icon.addFile(IconResource(size), QSize(size, size));
  }
  return icon;
}

}  // namespace desktop_identity
