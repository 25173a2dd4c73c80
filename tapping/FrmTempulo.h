#pragma once

// The main window and the start-up object: closing it ends the program.
//
// How the windows fit together: space presses here are timed in pairs and the intervals tallied
// (ClsElementSort); Enter turns the most frequent interval into bar, beat and tempo and shows
// them in the modal FrmTapResults. A result box there that gains the focus sets the calculator's
// CurrentValue; an operator key typed into it runs the calculator, whose FrmResult shows each new
// value and can chain the next operation. Every secondary window is modal, built afresh from its
// design at each showing (SharedForm), and paints its gradient once while it loads.

#include <array>
#include <cstdint>
#include <memory>

#include <QMainWindow>

#include "platform/Clock.h"
#include "tapping/ClsElementSort.h"

class Canvas;
class QAction;
class QFrame;
class QLabel;

class FrmTempulo : public QMainWindow {
  Q_OBJECT

 public:
  explicit FrmTempulo(TimeSource clock = &Clock::TimeOfDay);
  ~FrmTempulo() override;

  QLabel& LblKeyPress() { return *lblKeyPress_; }
  QFrame& Separator(int index) { return *separator_.at(index); }
  QAction& MnuInstructions() { return *mnuInstructions_; }
  QAction& MnuAbout() { return *mnuAbout_; }
  QAction& MnuAboutQt() { return *mnuAboutQt_; }
  Canvas& Client() { return *canvas_; }

  // Computes bar, beat and tempo from a beat length and fills the results window.
  static void ShowTapResults(float beatLength, std::uint8_t beatsPerBar);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  friend class FrmTempuloInspector;  // lets the tests set the tap counter

  void Form_Load();
  bool Form_KeyDown(int keyCode, Qt::KeyboardModifiers shift);
  void Form_Resize();
  void Form_Unload();
  static void MnuInstructions_Click();
  static void MnuAbout_Click();
  static void MnuAboutQt_Click();

  void Tap();

  TimeSource clock_;
  std::unique_ptr<ClsElementSort> Intervals;
  std::uint8_t TapPending = 0;
  float FirstTapTime = 0;
  std::int32_t KeyPressCount = 0;

  Canvas* canvas_ = nullptr;
  std::array<QFrame*, 1> separator_{};
  QLabel* lblKeyPress_ = nullptr;
  QAction* mnuInstructions_ = nullptr;
  QAction* mnuAbout_ = nullptr;
  QAction* mnuAboutQt_ = nullptr;
};
