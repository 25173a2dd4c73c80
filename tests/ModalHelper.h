#pragma once

// Answers modal windows from a test: arm it before the call that blocks, and each time a modal
// window is up it hands it to the next step, which may look at it and close it.
//
//   ModalHelper helper;
//   helper.Expect([](QWidget* modal) { ...; modal->close(); });
//   QTest::keyClick(&window, Qt::Key_Return);   // blocks in the modal loop until closed
//   EXPECT_EQ(helper.Handled(), 1);

#include <algorithm>
#include <deque>
#include <functional>
#include <vector>

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class ModalHelper {
 public:
  using Step = std::function<void(QWidget* modal)>;

  ModalHelper() {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
  }

  ~ModalHelper() { CloseAllModals(); }

  void Expect(Step step) {
    steps_.push_back(std::move(step));
    timer_.start();
  }

  [[nodiscard]] int Handled() const { return handled_; }
  [[nodiscard]] int Pending() const { return static_cast<int>(steps_.size()); }

  // Closes whatever modal windows a failed test left, so tests stay independent.
  static void CloseAllModals() {
    for (int guard = 0; guard < 100; ++guard) {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr) break;
      modal->close();
    }
  }

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || AlreadyHandled(modal)) return;
    if (steps_.empty()) {
      timer_.stop();
      return;
    }
    seen_.emplace_back(modal);
    Step step = std::move(steps_.front());
    steps_.pop_front();
    ++handled_;
    if (steps_.empty()) timer_.stop();
    // A timer is not run again while its own handler is still busy, and a step may block in a
    // further modal window: run each step from a timer of its own.
    QTimer::singleShot(0, [step = std::move(step), window = QPointer<QWidget>(modal)] {
      if (!window.isNull()) step(window);
    });
  }

  bool AlreadyHandled(const QWidget* modal) const {
    return std::ranges::any_of(seen_,
                               [modal](const QPointer<QWidget>& seen) { return seen == modal; });
  }

  QTimer timer_;
  std::deque<Step> steps_;
  // Windows already handed to a step: one that is still up below a later one is not new.
  // QPointer, because a new window may reuse a closed one's address.
  std::vector<QPointer<QWidget>> seen_;
  int handled_ = 0;
};
