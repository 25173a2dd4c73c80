#include "platform/Dialogs.h"

#include <QInputDialog>
#include <QMessageBox>

QString Dialogs::InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
  QInputDialog dialog;
  dialog.setWindowTitle(title);
  dialog.setLabelText(prompt);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setTextValue(defaultText);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.textValue();
}

void Dialogs::Exclamation(const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok);
  box.exec();
}
