// The About and Instructions windows, and the string table they show.
#include <algorithm>
#include <array>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QResizeEvent>
#include <QTimer>
#include <gtest/gtest.h>

#include "forms/LabelArray.h"
#include "forms/Resources.h"
#include "resources/Identity.h"
#include "resources/StringTable.h"
#include "tapping/FrmTempulo.h"
#include "ui/FrmAbout.h"
#include "ui/FrmGuide.h"
#include "ui/Gradient.h"

namespace {

// NOLINTNEXTLINE(modernize-return-braced-init-list): braces select the char-list constructor
std::string Spaces(int count) { return std::string(static_cast<std::size_t>(count), ' '); }

struct StringCase {
  int id;
  std::string text;
};

const std::vector<StringCase>& ExpectedStrings() {
  static const std::vector<StringCase> strings = {
      {1, "Description: "},
      {2, Spaces(8) + "1. Tap the space bar to a 1/4 beat rhythm to calculate the bpm"},
      {3, Spaces(8) + "2. Calculates the length of one bar and one beat in seconds"},
      {4,
       Spaces(8) + "3. Additional result calculator i.e. decimal rounding down and semitone shift"},
      {31, "Author: Tempulo contributors"},
      {33, "OS: Win 95/98/ME/NT/2000/XP"},
      {34, "Version: "},
      {35, "Copyright: "},
      {41, "Tap the space bar to mark the beat resolution and"},
      {42, "press enter to reset the counter and view results."},
      {43, " "},
      {44, "To use the additional result calculator, press one of the following keys "},
      {45, "needed and press enter to display the results."},
      {46, " "},
      {47, Spaces(16) + "Key"},
      {48, Spaces(16) + std::string(49, '-')},
      {49, Spaces(16) + "*" + Spaces(13) + "Multiplication"},
      {50, Spaces(16) + "/" + Spaces(13) + "Division"},
      {51, Spaces(16) + "\\" + Spaces(13) + "Rounded Division"},
      {52, Spaces(16) + "+ or -" + Spaces(7) + "Addition/Subtraction"},
      {53, Spaces(16) + "#" + Spaces(12) + "Semitone shift"},
      {54, Spaces(16) + "." + Spaces(14) + "Decimal rounding"},
  };
  return strings;
}

class StringTableEntry : public ::testing::TestWithParam<StringCase> {};

TEST_P(StringTableEntry, HoldsItsTextByteForByte) {
  const StringCase& entry = GetParam();
  EXPECT_EQ(LoadResString(entry.id).toStdString(), entry.text);
}

INSTANTIATE_TEST_SUITE_P(EnglishUk, StringTableEntry, ::testing::ValuesIn(ExpectedStrings()),
                         [](const auto& info) { return "Id" + std::to_string(info.param.id); });

TEST(StringTable, HoldsTheListedIdsInAscendingOrderAndNoOthers) {
  std::vector<int> ids;
  std::ranges::transform(string_table::Entries(), std::back_inserter(ids), &StringResource::id);
  std::vector<int> expected;
  std::ranges::transform(ExpectedStrings(), std::back_inserter(expected), &StringCase::id);
  EXPECT_EQ(ids, expected);
}

TEST(StringTable, AMissingIdThrowsRatherThanGivingAnEmptyText) {
  for (int id : {0, 5, 32, 40, 55}) EXPECT_THROW(LoadResString(id), std::out_of_range) << id;
}

template <class Window>
struct Traits;

template <>
struct Traits<FrmAbout> {
  static constexpr const char* kTitle = "About";
  static constexpr int kLabels = 8;
  static constexpr QSize kClient{417, 230};
  static constexpr Qt::Alignment kFirstAlignment = Qt::AlignHCenter;
  static QAction& Menu(FrmTempulo& main) { return main.MnuAbout(); }
};

template <>
struct Traits<FrmGuide> {
  static constexpr const char* kTitle = "Instructions";
  static constexpr int kLabels = 14;
  static constexpr QSize kClient{350, 204};
  static constexpr Qt::Alignment kFirstAlignment = Qt::AlignLeft;
  static QAction& Menu(FrmTempulo& main) { return main.MnuInstructions(); }
};

template <class Window>
void UnloadAll() {
  while (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  Window::UnloadIfLoaded();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Every test leaves no information window behind, so the next one builds its own.
class Unloading : public ::testing::Test {
 protected:
  void TearDown() override {
    UnloadAll<FrmAbout>();
    UnloadAll<FrmGuide>();
  }
};
using AboutWindow = Unloading;
using InstructionsWindow = Unloading;

template <class Window>
class InfoWindow : public Unloading {};

struct WindowName {
  template <class Window>
  static std::string GetName(int /*index*/) {
    return Traits<Window>::kTitle;
  }
};

using InfoWindows = ::testing::Types<FrmAbout, FrmGuide>;
TYPED_TEST_SUITE(InfoWindow, InfoWindows, WindowName);

TYPED_TEST(InfoWindow, IsAFixedToolWindowOfItsDesignedSize) {
  TypeParam& window = TypeParam::Get();
  EXPECT_EQ(window.windowTitle(), Traits<TypeParam>::kTitle);
  EXPECT_EQ(window.windowType(), Qt::Tool);
  EXPECT_EQ(window.Client().size(), Traits<TypeParam>::kClient);
}

TYPED_TEST(InfoWindow, GradientRunsDownFromGreyAtTheTopToSilverAtTheBottom) {
  Canvas& client = TypeParam::Get().Client();
  const TRIVERTEX origin = MakeVertex(0, 0, client.BackColor());
  const TRIVERTEX corner = MakeVertex(client.width(), client.height(), client.FillColor());
  for (std::uint16_t channel : {origin.Red, origin.Green, origin.Blue}) EXPECT_EQ(channel, 32896);
  for (std::uint16_t channel : {corner.Red, corner.Green, corner.Blue}) EXPECT_EQ(channel, 49344);

  const QImage& surface = client.hDC();
  const int right = surface.width() - 1;
  const int bottom = surface.height() - 1;
  EXPECT_EQ(surface.pixelColor(0, 0), QColor(128, 128, 128));
  EXPECT_EQ(surface.pixelColor(right, 0), QColor(128, 128, 128));
  const QColor silver = surface.pixelColor(0, bottom);
  EXPECT_NEAR(silver.red(), 192, 1);
  EXPECT_EQ(silver, QColor(silver.red(), silver.red(), silver.red()));
  EXPECT_EQ(surface.pixelColor(right, bottom), silver);
}

TYPED_TEST(InfoWindow, LoadedLabelsAreVisibleCopiesOfTheFirst) {
  TypeParam& window = TypeParam::Get();
  ASSERT_EQ(window.LblCount(), Traits<TypeParam>::kLabels);
  EXPECT_THROW(window.Lbl(window.LblCount()), std::out_of_range);
  EXPECT_EQ(window.Lbl(0).pos(), QPoint(8, 8));
  for (int i = 0; i < window.LblCount(); ++i) {
    SCOPED_TRACE(i);
    const QLabel& label = window.Lbl(i);
    EXPECT_FALSE(label.isHidden());
    EXPECT_EQ(label.x(), 8);
    EXPECT_EQ(label.width(), 401);
    EXPECT_EQ(label.font(), QApplication::font());
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_FALSE(label.autoFillBackground());
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
    EXPECT_TRUE(label.wordWrap());
    const Qt::Alignment alignment = i == 0 ? Traits<TypeParam>::kFirstAlignment : Qt::AlignLeft;
    EXPECT_EQ(label.alignment(), alignment | Qt::AlignTop);
  }
}

template <class Window>
void ExpectGapFreeColumn(Window& window) {
  EXPECT_EQ(window.Lbl(0).y(), 8);
  for (int i = 1; i < window.LblCount(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(window.Lbl(i).y(), window.Lbl(i - 1).y() + window.Lbl(i - 1).height());
    EXPECT_GE(window.Lbl(i).height(), window.Lbl(i).fontMetrics().height());
  }
}

TYPED_TEST(InfoWindow, ShownLabelsStandInAGapFreeColumnThatFollowsTheirHeights) {
  TypeParam& window = TypeParam::Get();
  window.show();
  ExpectGapFreeColumn(window);

  const int before = window.Lbl(0).height();
  LabelArray::SetCaption(window.Lbl(0), QStringLiteral("1\r\n2\r\n3\r\n4\r\n5"));
  QResizeEvent resize(window.size(), window.size());
  QApplication::sendEvent(&window, &resize);
  EXPECT_GT(window.Lbl(0).height(), before);
  ExpectGapFreeColumn(window);
}

TYPED_TEST(InfoWindow, OpensFromTheHelpMenuWithTheSameLabelsEveryTime) {
  FrmTempulo main([] { return 0.0f; });
  for (int opening = 1; opening <= 2; ++opening) {
    SCOPED_TRACE(opening);
    bool helperRan = false;
    QString title;
    int labels = -1;
    qsizetype labelWidgets = -1;
    QTimer helper;  // dies with this pass, so it can never fire into a later one
    helper.setSingleShot(true);
    QObject::connect(&helper, &QTimer::timeout, [&] {
      helperRan = true;
      if (auto* window = qobject_cast<TypeParam*>(QApplication::activeModalWidget())) {
        title = window->windowTitle();
        labels = window->LblCount();
        Canvas& client = window->Client();
        labelWidgets = client.findChildren<QLabel*>().size();
        window->close();
      }
    });
    helper.start(0);
    Traits<TypeParam>::Menu(main).trigger();

    EXPECT_TRUE(helperRan);
    EXPECT_EQ(title, Traits<TypeParam>::kTitle);
    EXPECT_EQ(labels, Traits<TypeParam>::kLabels);
    EXPECT_EQ(labelWidgets, Traits<TypeParam>::kLabels);
    EXPECT_FALSE(TypeParam::IsLoaded());
  }
}

TEST_F(AboutWindow, CaptionsJoinTitleDescriptionAuthorSystemsVersionAndCopyright) {
  FrmAbout& about = FrmAbout::Get();
  const QString crLf = QStringLiteral("\r\n");
  const std::array<QString, 8> expected = {
      crLf + "Bpm Tempulo 2004" + crLf,
      "Description: " + crLf + crLf + LoadResString(2) + crLf + LoadResString(3) + crLf +
          LoadResString(4) + crLf,
      "Author: Tempulo contributors",
      "",
      "OS: Win 95/98/ME/NT/2000/XP",
      QStringLiteral("Version: ") + identity::kVersion,
      "Copyright: (c) 2026 Tempulo contributors",
      "",
  };
  ASSERT_EQ(about.LblCount(), 8);
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(LabelArray::Caption(about.Lbl(i)), expected[i]);
    EXPECT_EQ(about.Lbl(i).text(), QString(expected[i]).replace(crLf, "\n"));
  }
}

TEST_F(AboutWindow, VersionCaptionWritesEachPartInPlainDigits) {
  EXPECT_EQ(FrmAbout::VersionCaption(1, 10, 3), "Version: 1.10.3");
}

TEST_F(AboutWindow, BlankLabelsStillTakeOneLineEach) {
  FrmAbout& about = FrmAbout::Get();
  const int oneLine = about.Lbl(2).height();
  EXPECT_EQ(about.Lbl(4).height(), oneLine);
  EXPECT_EQ(about.Lbl(3).height(), oneLine);
  EXPECT_EQ(about.Lbl(7).height(), oneLine);
  // Five lines of description, and the closing CR LF opens a sixth.
  EXPECT_GE(about.Lbl(1).height(), 6 * oneLine);
}

TEST_F(InstructionsWindow, EachLabelShowsItsStringUntrimmed) {
  FrmGuide& guide = FrmGuide::Get();
  for (int i = 0; i < guide.LblCount(); ++i) EXPECT_EQ(guide.Lbl(i).text(), LoadResString(41 + i));
  EXPECT_EQ(guide.Lbl(2).height(), guide.Lbl(0).height());  // a single space is still a line
}

TEST_F(InstructionsWindow, KeyTableRowsAreDrawnWithTheirRunsOfSpaces) {
  QLabel& row = FrmGuide::Get().Lbl(8);  // "*" then "Multiplication"
  QImage image(row.size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  row.render(&image);
  int firstInk = -1;
  int lastInk = -1;
  for (int x = 0; x < image.width(); ++x) {
    for (int y = 0; y < image.height(); ++y) {
      if (qGray(image.pixel(x, y)) >= 128) continue;
      if (firstInk < 0) firstInk = x;
      lastInk = x;
    }
  }
  const QFontMetrics metrics(row.font());
  EXPECT_NEAR(firstInk, metrics.horizontalAdvance(QString(16, ' ')), 2);
  EXPECT_NEAR(lastInk, metrics.horizontalAdvance(row.text()), 3);
}

}  // namespace
