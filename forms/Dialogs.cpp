#include "forms/Dialogs.h"

#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QSpacerItem>

#include "forms/TitleBar.h"

namespace {

// Qt sizes its standard dialogs to their contents, and both fix their size again at every showing
// whatever minimum width is set; an empty row as wide as the caption needs is one more content
// they make room for.
void MakeRoomForCaption(QDialog& dialog) {
  // A QInputDialog builds its layout when first asked for its size.
  (void)dialog.sizeHint();
  const int width = TitleBar::MinimumWidth(dialog.windowTitle());
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    // Across every column: in one column of its own the row would push the others aside.
    grid->addItem(new QSpacerItem(width, 0), grid->rowCount(), 0, 1, grid->columnCount());
  } else if (dialog.layout() != nullptr) {
    dialog.layout()->addItem(new QSpacerItem(width, 0));
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
