#include "forms/Dialogs.h"

#include <QEventLoop>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QSpacerItem>
#include <QTimer>

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

// The operand prompt. Answered with OK, it stays on screen until the event loop next turns, by
// when the window that shows the outcome (the result, or the message) is up: the window system
// hands the keyboard from the prompt straight to that window. Closed at once, it would hand it
// for a moment to the window below, which screen readers announce and lose track of, and which
// on Windows takes the focus and its box sets the current value.
class Prompt : public QInputDialog {
 public:
  // Shows the prompt modally; returns Accepted or Rejected once it is answered.
  int Ask() {
    setWindowModality(Qt::ApplicationModal);
    show();
    asking_ = true;
    answered_.exec(QEventLoop::DialogExec);
    return result();
  }

 protected:
  void done(int result) override {
    if (!asking_) {
      QInputDialog::done(result);  // answered already: closing it closes it
      return;
    }
    asking_ = false;
    setResult(result);
    answered_.exit();
  }

 private:
  QEventLoop answered_;
  bool asking_ = false;
};

// A screen reader speaks a label of fewer than three words only where it labels something (Orca,
// which presents a window's description in its place and otherwise the labels that label
// nothing): the message box's text, "Invalid calculation", labels nothing, and is its
// description too. The prompt's question is the label of its entry, which the screen reader
// names by it as the entry takes the focus; as the prompt's description as well, it would be
// said twice.
void Describe(QDialog& dialog, const QString& text) { dialog.setAccessibleDescription(text); }

}  // namespace

QString Dialogs::InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
  QPointer<Prompt> dialog = new Prompt;
  dialog->setWindowTitle(title);
  dialog->setLabelText(prompt);
  dialog->setInputMode(QInputDialog::TextInput);
  dialog->setTextValue(defaultText);
  MakeRoomForCaption(*dialog);
  const bool accepted = dialog->Ask() == QDialog::Accepted;
  QString answer = accepted ? dialog->textValue() : QString();
  if (answer.isEmpty()) {
    delete dialog;  // nothing follows
  } else {
    QTimer::singleShot(0, [dialog] { delete dialog; });
  }
  return answer;
}

void Dialogs::Exclamation(const QString& text, const QString& title) {
  QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok);
  Describe(box, text);
  MakeRoomForCaption(box);
  box.exec();
}
