#include "forms/LabelArray.h"

#include <QFontMetrics>
#include <QLabel>
#include <QVariant>

namespace {

// The caption as given; the label's text has its CR LF pairs turned into Qt's line breaks.
constexpr const char* kCaptionProperty = "caption";

// Qt gives an empty label no height for its width; it gets the height of one blank line.
int FittingHeight(const QLabel& label) {
  const int height = label.heightForWidth(label.width());
  if (height >= 0) return height;
  const QRect line = label.fontMetrics().boundingRect(QRect(0, 0, label.width(), QWIDGETSIZE_MAX),
                                                      Qt::TextWordWrap, QStringLiteral(" "));
  return line.height();
}

}  // namespace

LabelArray::LabelArray(QRect geometry, Qt::Alignment alignment, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(alignment | Qt::AlignTop);
  label->setAutoFillBackground(false);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(palette);
  label->setGeometry(geometry);
  SetCaption(*label, QString());
  labels_.push_back(label);
}

QLabel& LabelArray::Load() {
  const QLabel& first = *labels_.front();
  auto* label = new QLabel(first.parentWidget());
  label->hide();
  label->setTextFormat(first.textFormat());
  label->setWordWrap(first.wordWrap());
  label->setAlignment(first.alignment());
  // Only what element 0 set itself: a font or palette it inherits, the copy inherits too.
  if (first.testAttribute(Qt::WA_SetFont)) label->setFont(first.font());
  if (first.testAttribute(Qt::WA_SetPalette)) label->setPalette(first.palette());
  label->setAutoFillBackground(first.autoFillBackground());
  label->setGeometry(first.geometry());
  SetCaption(*label, Caption(first));
  labels_.push_back(label);
  return *label;
}

void LabelArray::StackDown() {
  for (std::size_t i = 1; i < labels_.size(); ++i) {
    const QLabel& above = *labels_[i - 1];
    labels_[i]->move(labels_[i]->x(), above.y() + above.height());
  }
}

void LabelArray::SetCaption(QLabel& label, const QString& caption) {
  label.setProperty(kCaptionProperty, caption);
  QString text = caption;
  label.setText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  label.resize(label.width(), FittingHeight(label));
}

QString LabelArray::Caption(const QLabel& label) {
  return label.property(kCaptionProperty).toString();
}
