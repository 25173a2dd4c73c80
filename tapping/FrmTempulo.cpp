#include "tapping/FrmTempulo.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>

#include "common/Conversions.h"
#include "accessibility/Accessibility.h"
#include "forms/Canvas.h"
#include "forms/FormsControls.h"
#include "forms/KeyCodes.h"
#include "forms/KeyPreview.h"
#include "forms/Twips.h"
#include "resources/Identity.h"
#include "tapping/FrmTapResults.h"
#include "ui/FrmAbout.h"
#include "ui/FrmGuide.h"
#include "ui/Gradient.h"

namespace {

constexpr double kSecondsPerDay = 86400.0;

// The key handler skips a step that fails and goes on with the next one.
template <class Step>
void SkippingFailure(Step&& step) {
  try {
    step();
  } catch (const std::exception&) {  // NOLINT(bugprone-empty-catch): skipped, as said above
  }
}

}  // namespace

FrmTempulo::FrmTempulo(TimeSource clock) : clock_(std::move(clock)) {
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint);

  QMenu* mnuHelp = menuBar()->addMenu(QStringLiteral("Help"));
  mnuInstructions_ = mnuHelp->addAction(QStringLiteral("Instructions"));
  mnuHelp->addSeparator();
  mnuAbout_ = mnuHelp->addAction(QStringLiteral("About"));
  // Qt's own notice, as its licence asks, below the program's: Instructions and About keep their
  // places.
  mnuHelp->addSeparator();
  mnuAboutQt_ = mnuHelp->addAction(QStringLiteral("About Qt"));
  connect(mnuInstructions_, &QAction::triggered, this, [] { MnuInstructions_Click(); });
  connect(mnuAbout_, &QAction::triggered, this, [] { MnuAbout_Click(); });
  connect(mnuAboutQt_, &QAction::triggered, this, [] { MnuAboutQt_Click(); });

  canvas_ = new Canvas(twips::Size(3765, 1515), 0x404040, 0x000000, this);
  setCentralWidget(canvas_);
  layout()->setSizeConstraint(QLayout::SetFixedSize);  // fixed single border

  separator_[0] = FormsControls::Separator(twips::Rect(0, 360, 3615, 135), canvas_);
  // The counter's caption comes once a screen reader is to hear its every change (below).
  lblKeyPress_ = FormsControls::Label(QString(), twips::Rect(600, 840, 2535, 315), false, canvas_,
                                      FormsControls::BorderStyle::FixedSingle);
  FormsControls::Label(QStringLiteral("Calculation"), twips::Rect(1440, 120, 795, 195), true,
                       canvas_);  // the title
  QLabel* lblcalc0 = FormsControls::Label(QStringLiteral("Key press count"),
                                          twips::Rect(600, 600, 1155, 195), true, canvas_);
  // A screen reader reads the counter as the number it shows, labelled by its caption, and
  // speaks each new count: the counter holds the focus (it takes no keys itself, the window's
  // key handler sees them first), and presents itself as a status display, whose new text a
  // screen reader speaks as it changes.
  lblcalc0->setBuddy(lblKeyPress_);
  Accessibility::SpeakCountChanges(*lblKeyPress_);
  lblKeyPress_->setText(QStringLiteral("0"));
  lblKeyPress_->setFocusPolicy(Qt::StrongFocus);
  lblKeyPress_->setFocus(Qt::OtherFocusReason);
  lblKeyPress_->setAccessibleDescription(
      QStringLiteral("Space bar taps counted since the last result. Tap the space bar on every "
                     "beat, then press Enter for the tempo."));
  separator_[0]->setAccessibleName(QStringLiteral("Separator"));

  new KeyPreview(this, [this](int keyCode, Qt::KeyboardModifiers shift) {
    return Form_KeyDown(keyCode, shift);
  });

  Form_Load();

  // No owner to centre on at start-up: the screen is the owner.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    adjustSize();
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

FrmTempulo::~FrmTempulo() = default;

void FrmTempulo::Form_Load() {
  setWindowTitle(QString::fromUtf8(identity::kTitle));
  PaintWindowGradient(*canvas_, GRADIENT_FILL_RECT_H);
  Intervals = std::make_unique<ClsElementSort>();
}

bool FrmTempulo::Form_KeyDown(int keyCode, Qt::KeyboardModifiers /*shift*/) {
  if (keyCode == vbKeySpace) {
    Tap();
  } else if (keyCode == vbKeyReturn && KeyPressCount > 1) {
    SkippingFailure([this] { ShowTapResults(Intervals->Value(Intervals->FindMostValues()), 4); });
    Intervals->Clear();
    KeyPressCount = 0;
    // The open pair goes too: time spent reading the results must not become an interval.
    TapPending = 0;
    SkippingFailure([] { FrmTapResults::Get().ShowModal(); });
  }
  Accessibility::ShowCount(*lblKeyPress_, QString::number(KeyPressCount));
  return false;
}

void FrmTempulo::Tap() {
  const float t = clock_();
  SkippingFailure([this, t] {
    if (TapPending == 0) {
      FirstTapTime = t;
    } else {
      double interval = static_cast<double>(t) - static_cast<double>(FirstTapTime);
      // The clock restarts at midnight: a pair across it comes out one day short.
      if (interval < 0) interval += kSecondsPerDay;
      Intervals->AddValue(static_cast<float>(interval));
    }
  });
  SkippingFailure([this] {
    if (KeyPressCount == std::numeric_limits<std::int32_t>::max()) {
      throw std::overflow_error("key press count overflow");
    }
    ++KeyPressCount;
  });
  TapPending = static_cast<std::uint8_t>((TapPending + 1) % 2);
}

void FrmTempulo::ShowTapResults(float beatLength, std::uint8_t beatsPerBar) {
  const double bar = static_cast<double>(beatsPerBar) * beatLength;
  const double beat = beatLength;
  FrmTapResults& results = FrmTapResults::Get();
  results.TxtResult(0).SetValue(RoundToDecimals(bar, 15));
  results.TxtResult(1).SetValue(RoundToDecimals(beat, 15));
  // A zero beat leaves the tempo box at its laid-out "0".
  if (beat == 0) throw std::domain_error("division by zero");
  const double tempo = (1.0 / beat) * 60.0;
  results.TxtResult(2).SetValue(RoundToDecimals(tempo, 15));
}

void FrmTempulo::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Form_Resize();
}

void FrmTempulo::Form_Resize() { FormsControls::StretchSeparator(Separator(0), *canvas_); }

void FrmTempulo::MnuInstructions_Click() { FrmGuide::Get().ShowModal(); }

void FrmTempulo::MnuAbout_Click() { FrmAbout::Get().ShowModal(); }

void FrmTempulo::MnuAboutQt_Click() { QMessageBox::aboutQt(nullptr, QStringLiteral("About Qt")); }

void FrmTempulo::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) Form_Unload();
}

void FrmTempulo::Form_Unload() { Intervals.reset(); }
