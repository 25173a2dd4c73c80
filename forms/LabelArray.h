#pragma once

// A control array of labels, as the About and Instructions windows use it: element 0 comes from
// the window's design, the others are loaded while the window loads as copies of it. Every
// element shows plain text with its spaces kept, wraps at its width and is as tall as its caption
// needs, never less than one line, so an empty label still stands as a blank line.

#include <vector>

#include <QRect>
#include <QString>

class QLabel;
class QWidget;

class LabelArray {
 public:
  // Element 0, with an empty caption: black text on a transparent background in the
  // application's font, aligned to the top.
  LabelArray(QRect geometry, Qt::Alignment alignment, QWidget* parent);

  // Throws std::out_of_range for an element that is not loaded.
  QLabel& operator[](int index) const { return *labels_.at(static_cast<std::size_t>(index)); }
  [[nodiscard]] int Count() const { return static_cast<int>(labels_.size()); }

  // Loads the next element as a hidden copy of element 0: geometry, font, colours, alignment,
  // caption and word wrap.
  QLabel& Load();

  // Moves each element from 1 on to just below the one before it; element 0 keeps its place.
  void StackDown();

  // A CR LF pair in the caption breaks the line. The label's height follows the new caption.
  static void SetCaption(QLabel& label, const QString& caption);
  // The caption as it was last set, CR LF pairs included.
  static QString Caption(const QLabel& label);

 private:
  std::vector<QLabel*> labels_;  // owned by their parent widget
};
