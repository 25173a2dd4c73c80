#include "platform/Dialogs.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QSpacerItem>

#include "platform/TitleBar.h"

namespace {

// Qt sizes its standard dialogs to their contents, and both fix their size again at every showing
// whatever minimum width is set; an empty row as wide as the caption needs is one more content
// they make room for.
void MakeRoomForCaption(QDialog& dialog) {
  // A QInputDialog builds its layout when first asked for its size.
  (void)dialog.sizeHint();
  auto* row = new QSpacerItem(TitleBar::MinimumWidth(dialog.windowTitle()), 0,
                              QSizePolicy::Minimum, QSizePolicy::Fixed);
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    grid->addItem(row, grid->rowCount(), 0, 1, grid->columnCount());
  } else if (auto* box = qobject_cast<QBoxLayout*>(dialog.layout())) {
    box->addItem(row);
  } else {
    delete row;
  }
}

}  // namespace

QString Dialogs::InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
  QInputDialog dialog;
  dialog.setWindowTitle(title);
  dialog.setLabelText(prompt);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setTextValue(defaultText);
  MakeRoomForCaption(dialog);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.textValue();
}

void Dialogs::Exclamation(const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok);
  MakeRoomForCaption(box);
  box.exec();
}
