#pragma once

// A label with a fixed single border: the thin light-grey line the result boxes have, the caption
// kept two pixels clear of it on the left.

#include <QLabel>

class BorderedLabel : public QLabel {
  Q_OBJECT

 public:
  BorderedLabel(const QString& caption, QWidget* parent);

 protected:
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};
