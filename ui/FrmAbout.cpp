#include "ui/FrmAbout.h"

#include <QLabel>

#include "forms/Resources.h"
#include "forms/Twips.h"
#include "resources/Identity.h"
#include "ui/Gradient.h"

namespace {

constexpr int kLastLabel = 7;

}  // namespace

FrmAbout::FrmAbout()
    : InfoWindow(QStringLiteral("About"), twips::Size(6255, 3450), Qt::AlignHCenter) {
  Form_Load();
}

QString FrmAbout::VersionCaption(int major, int minor, int revision) {
  return LoadResString(34) + QString::number(major) + QLatin1Char('.') + QString::number(minor) +
         QLatin1Char('.') + QString::number(revision);
}

void FrmAbout::Form_Load() {
  LoadLabels();
  const QString crLf = QStringLiteral("\r\n");
  LabelArray::SetCaption(Lbl(0), crLf + QString::fromUtf8(identity::kTitle) + crLf);
  LabelArray::SetCaption(Lbl(1), LoadResString(1) + crLf + crLf + LoadResString(2) + crLf +
                                     LoadResString(3) + crLf + LoadResString(4) + crLf);
  LabelArray::SetCaption(Lbl(2), LoadResString(31));
  // Label 3 has no string of its own: it keeps the empty caption it was loaded with and stands
  // as a blank line between the author and the systems.
  LabelArray::SetCaption(Lbl(4), LoadResString(33));
  LabelArray::SetCaption(Lbl(5), VersionCaption(identity::kVersionMajor, identity::kVersionMinor,
                                                identity::kVersionRevision));
  LabelArray::SetCaption(Lbl(6), LoadResString(35) + QString::fromUtf8(identity::kCopyright));
  PaintWindowGradient(Client(), GRADIENT_FILL_RECT_V);
}

void FrmAbout::LoadLabels() {
  for (int i = 1; i <= kLastLabel; ++i) {
    QLabel& label = lbl_.Load();
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.setVisible(true);
  }
}

