// The calculator as a user drives it: operator keys typed into result boxes, the real operand
// prompt and message box answered by the test, and the chain of result windows.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "calc/FrmResult.h"
#include "calc/mdlMain.h"
#include "tapping/FrmTapResults.h"
#include "tapping/FrmTempulo.h"
#include "tests/ModalHelper.h"
#include "ui/Application.h"

namespace {

QInputDialog* AsPrompt(QWidget* modal) { return qobject_cast<QInputDialog*>(modal); }

// Answers the operand prompt; checks it is the prompt expected first when a title is given.
ModalHelper::Step Answer(const QString& answer, const QString& title = {},
                         const QString& prompt = {}, const QString& offered = {}) {
  return [=](QWidget* modal) {
    QInputDialog* dialog = AsPrompt(modal);
    ASSERT_NE(dialog, nullptr) << "expected the operand prompt";
    if (!title.isEmpty()) {
      EXPECT_EQ(dialog->windowTitle(), title);
    }
    if (!prompt.isEmpty()) {
      EXPECT_EQ(dialog->labelText(), prompt);
    }
    if (!offered.isEmpty()) {
      EXPECT_EQ(dialog->textValue(), offered);
    }
    EXPECT_FALSE(FrmResult::IsLoaded()) << "the result window must close before the prompt";
    dialog->setTextValue(answer);
    dialog->accept();
  };
}

ModalHelper::Step Cancel() {
  return [](QWidget* modal) {
    QInputDialog* dialog = AsPrompt(modal);
    ASSERT_NE(dialog, nullptr) << "expected the operand prompt";
    dialog->reject();
  };
}

ModalHelper::Step ExpectInvalidCalculation() {
  return [](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr) << "expected the error message";
    EXPECT_EQ(box->text(), "Invalid calculation");
    EXPECT_EQ(box->windowTitle(), "Calculation Error");
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_FALSE(FrmResult::IsLoaded());
    box->button(QMessageBox::Ok)->click();
  };
}

struct Shown {
  QString caption, text, selected;
  int selectionStart = -1;
  double currentValue = 0;
};

// Reads the result window, then types the given keys into its box (an operator chains on;
// Escape closes it).
ModalHelper::Step ReadResult(Shown& shown, const QString& keys = {},
                             Qt::Key closeKey = Qt::Key_Escape, Qt::KeyboardModifiers mods = {}) {
  return [&shown, keys, closeKey, mods](QWidget* modal) {
    auto* window = qobject_cast<FrmResult*>(modal);
    ASSERT_NE(window, nullptr) << "expected the result window";
    TextBox& box = window->TxtResult();
    box.setFocus();  // as the window's only tab stop it has the focus when active
    shown = {window->windowTitle(), box.text(), box.selectedText(), box.selectionStart(),
             mdlMain::CurrentValue};
    if (!keys.isEmpty()) {
      QTest::keyClicks(&box, keys);
    } else {
      QTest::keyClick(&box, closeKey, mods);
    }
  };
}

class CalculatorWindows : public ::testing::Test {
 protected:
  ~CalculatorWindows() override { ModalHelper::CloseAllModals(); }
};

struct OperationCase {
  char key;
  QString title, prompt, offered, answer;
  double start;
  QString shown;
};

void PrintTo(const OperationCase& c, std::ostream* os) { *os << "key " << c.key; }

class CalculatorOperation : public CalculatorWindows,
                            public ::testing::WithParamInterface<OperationCase> {};

TEST_P(CalculatorOperation, PromptsComputesAndShowsTheValueSelected) {
  const OperationCase& c = GetParam();
  mdlMain::CurrentValue = c.start;
  Shown shown;
  ModalHelper helper;
  helper.Expect(Answer(c.answer, c.title, c.prompt, c.offered));
  helper.Expect(ReadResult(shown));
  EXPECT_TRUE(mdlMain::HandleCalcKey(c.key));
  EXPECT_EQ(helper.Handled(), 2);
  EXPECT_EQ(shown.caption, c.title + " result");
  EXPECT_EQ(shown.text, c.shown);
  EXPECT_EQ(shown.selected, c.shown);
  EXPECT_EQ(shown.selectionStart, 0);
  EXPECT_FALSE(FrmResult::IsLoaded());
}

INSTANTIATE_TEST_SUITE_P(
    EveryOperatorKey, CalculatorOperation,
    ::testing::Values(
        OperationCase{'*', "Multiplication", "Enter the multiplication (*) value.", "2", "2", 120,
                      "240"},
        OperationCase{'/', "Division", "Enter the division (/) value.", "2", "7", 120,
                      "17.1428571428571"},
        OperationCase{'\\', "Rounded division", "Enter the division (\\) value.", "2", "2", 7.5,
                      "4"},
        OperationCase{'+', "Addition/subtraction", "Enter the addition/subtraction (+/-) value.",
                      "1", "-5", 120, "115"},
        OperationCase{'-', "Addition/subtraction", "Enter the addition/subtraction (+/-) value.",
                      "1", "5", 120, "125"},
        OperationCase{'#', "Semitone", "Enter the semitone (#) value.", "6", "12", 120, "60"},
        OperationCase{'.', "Decimal rounding", "Enter the decimal rounding (.) value.", "3", "2",
                      0.375, "0.38"}));

struct BadCase {
  std::string name;
  char key;
  double start;
  QString answer;
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class CalculatorBadInput : public CalculatorWindows,
                           public ::testing::WithParamInterface<BadCase> {};

TEST_P(CalculatorBadInput, ShowsInvalidCalculationAndChangesNothing) {
  const BadCase& c = GetParam();
  mdlMain::CurrentValue = c.start;
  ModalHelper helper;
  helper.Expect(Answer(c.answer));
  helper.Expect(ExpectInvalidCalculation());
  mdlMain::HandleCalcKey(c.key);
  EXPECT_EQ(helper.Handled(), 2);
  EXPECT_EQ(mdlMain::CurrentValue, c.start);
  EXPECT_FALSE(FrmResult::IsLoaded());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CalculatorBadInput,
    ::testing::Values(BadCase{"Letters", '*', 120, "abc"}, BadCase{"BlanksOnly", '+', 120, "   "},
                      BadCase{"Infinity", '*', 120, "inf"}, BadCase{"NotANumber", '+', 120, "nan"},
                      BadCase{"BeyondADouble", '/', 120, "1e400"},
                      BadCase{"WholeDivisorBeyond32Bits", '\\', 120, "3e10"},
                      BadCase{"PlacesBeyond32Bits", '.', 120, "3e10"},
                      BadCase{"DivisorRoundingToZero", '\\', 120, "0.4"},
                      BadCase{"NegativePlaces", '.', 0.125, "-1"},
                      BadCase{"DivisionByZero", '/', 120, "0"},
                      BadCase{"ZeroByZero", '/', 0, "0"},
                      BadCase{"ProductOverflow", '*', 1e308, "10"},
                      BadCase{"SemitoneOverflow", '#', 1e300, "-12000"},
                      BadCase{"CurrentValueBeyond32Bits", '\\', 3e10, "2"}),
    [](const auto& info) { return info.param.name; });

TEST_F(CalculatorWindows, CancelOrAnEmptyAnswerDoesNothing) {
  mdlMain::CurrentValue = 120;
  ModalHelper helper;
  helper.Expect(Cancel());
  mdlMain::HandleCalcKey('*');
  helper.Expect(Answer(""));
  mdlMain::HandleCalcKey('#');
  EXPECT_EQ(helper.Handled(), 2);
  EXPECT_EQ(mdlMain::CurrentValue, 120);
  EXPECT_FALSE(FrmResult::IsLoaded());
}

TEST_F(CalculatorWindows, OtherCharactersSelectNothing) {
  mdlMain::CurrentValue = 120;
  for (char c : {'0', '9', 'a', 'Z', ',', ' ', '\r', '\x1b', '=', '%'}) {
    EXPECT_FALSE(mdlMain::HandleCalcKey(c)) << c;
  }
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(mdlMain::CurrentValue, 120);
}

TEST_F(CalculatorWindows, ChainTwoStepsInFreshWindows) {
  mdlMain::CurrentValue = 120;
  Shown first;
  Shown second;
  ModalHelper helper;
  helper.Expect(Answer("2", "Multiplication"));
  helper.Expect(ReadResult(first, "/"));
  helper.Expect(Answer("2", "Division"));
  helper.Expect(ReadResult(second));
  mdlMain::HandleCalcKey('*');
  EXPECT_EQ(helper.Handled(), 4);
  EXPECT_EQ(first.text, "240");
  EXPECT_EQ(first.caption, "Multiplication result");
  EXPECT_EQ(second.text, "120");
  EXPECT_EQ(second.caption, "Division result");
  EXPECT_EQ(mdlMain::CurrentValue, 120);
  EXPECT_FALSE(FrmResult::IsLoaded());
}

TEST_F(CalculatorWindows, ChainGoesOnFromTheShownFifteenDigits) {
  mdlMain::CurrentValue = 120;
  Shown quotient;
  Shown sum;
  ModalHelper helper;
  helper.Expect(Answer("7"));
  helper.Expect(ReadResult(quotient, "+"));
  helper.Expect(Answer("0"));
  helper.Expect(ReadResult(sum));
  mdlMain::HandleCalcKey('/');
  ASSERT_EQ(helper.Handled(), 4);
  EXPECT_EQ(quotient.text, "17.1428571428571");
  EXPECT_EQ(quotient.selected.size(), 16);
  EXPECT_EQ(quotient.currentValue, 17.1428571428571);  // the box's focus read the shown text
  EXPECT_EQ(mdlMain::CurrentValue, 17.1428571428571);
}

TEST_F(CalculatorWindows, TheLargestResultShowsDigitsThatReadBack) {
  mdlMain::CurrentValue = 1e308;
  Shown largest;
  Shown half;
  ModalHelper helper;
  helper.Expect(Answer("1.7976931348623157"));
  helper.Expect(ReadResult(largest, "/"));
  helper.Expect(Answer("2"));
  helper.Expect(ReadResult(half));
  mdlMain::HandleCalcKey('*');
  ASSERT_EQ(helper.Handled(), 4);
  EXPECT_EQ(largest.text, "1.79769313486231E+308");
  EXPECT_EQ(largest.currentValue, 1.79769313486231e308);
  EXPECT_EQ(half.text, "8.98846567431155E+307");
}

// Closing the result window hands the keyboard back to the results window, whose box then takes
// the focus; on Windows this happens before the next prompt opens. The chain goes on from the
// value shown all the same.
TEST_F(CalculatorWindows, AFocusTheClosingCausesLeavesTheChainOnTheShownValue) {
  FrmTapResults& results = FrmTapResults::Get();
  results.TxtResult(2).SetValue(115.380281690141);
  mdlMain::CurrentValue = 115.380281690141;
  Shown doubled;
  Shown plusOne;
  ModalHelper helper;
  helper.Expect(Answer("2"));
  helper.Expect([&](QWidget* modal) {
    QObject::connect(qobject_cast<Form*>(modal), &Form::Unloaded, [&results] {
      emit results.TxtResult(2).GotFocus();
    });
    ReadResult(doubled, "+")(modal);
  });
  helper.Expect(Answer("1", "Addition/subtraction"));
  helper.Expect(ReadResult(plusOne));
  QTest::keyClick(&results.TxtResult(2), Qt::Key_Asterisk);
  ASSERT_EQ(helper.Handled(), 4);
  EXPECT_EQ(doubled.text, "230.760563380282");
  EXPECT_EQ(plusOne.text, "231.760563380282");
  FrmTapResults::UnloadIfLoaded();
}

TEST_F(CalculatorWindows, CancelMidChainLeavesNoResultWindow) {
  mdlMain::CurrentValue = 120;
  Shown first;
  ModalHelper helper;
  helper.Expect(Answer("2"));
  helper.Expect(ReadResult(first, "*"));
  helper.Expect(Cancel());
  mdlMain::HandleCalcKey('*');
  EXPECT_EQ(helper.Handled(), 3);
  EXPECT_EQ(first.text, "240");
  EXPECT_FALSE(FrmResult::IsLoaded());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(CalculatorWindows, ErrorMidChainKeepsTheLastGoodValue) {
  mdlMain::CurrentValue = 120;
  Shown first;
  ModalHelper helper;
  helper.Expect(Answer("2"));
  helper.Expect(ReadResult(first, "/"));
  helper.Expect(Answer("0"));
  helper.Expect(ExpectInvalidCalculation());
  mdlMain::HandleCalcKey('*');
  EXPECT_EQ(helper.Handled(), 4);
  EXPECT_EQ(mdlMain::CurrentValue, 240);
  EXPECT_FALSE(FrmResult::IsLoaded());
}

TEST_F(CalculatorWindows, KeysThatAreNoOperatorsLeaveTheResultAsShown) {
  mdlMain::CurrentValue = 120;
  QString textAfter;
  QString selectedAfter;
  bool stillOpen = false;
  ModalHelper helper;
  helper.Expect(Answer("2"));
  helper.Expect([&](QWidget* modal) {
    auto* window = qobject_cast<FrmResult*>(modal);
    ASSERT_NE(window, nullptr);
    QTest::keyClicks(&window->TxtResult(), "7a,=");
    QTest::keyClick(&window->TxtResult(), Qt::Key_Backspace);
    QTest::keyClick(&window->TxtResult(), Qt::Key_Delete);
    textAfter = window->TxtResult().text();
    selectedAfter = window->TxtResult().selectedText();
    stillOpen = window->isVisible();
    window->close();  // the close button
  });
  mdlMain::HandleCalcKey('*');
  EXPECT_EQ(helper.Handled(), 2);
  EXPECT_EQ(textAfter, "240");
  EXPECT_EQ(selectedAfter, "240");
  EXPECT_TRUE(stillOpen);
  EXPECT_FALSE(FrmResult::IsLoaded());
}

struct ClosingKey {
  std::string name;  // cppcheck-suppress unusedStructMember ; the test name, via TestParamInfo
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
};

class CalculatorClosingKey : public CalculatorWindows,
                             public ::testing::WithParamInterface<ClosingKey> {};

TEST_P(CalculatorClosingKey, ClosesTheResultWindow) {
  mdlMain::CurrentValue = 1;
  Shown shown;
  ModalHelper helper;
  helper.Expect(Answer("2"));
  helper.Expect(ReadResult(shown, {}, GetParam().key, GetParam().modifiers));
  mdlMain::HandleCalcKey('*');
  EXPECT_EQ(helper.Handled(), 2);
  EXPECT_EQ(shown.text, "2");
  EXPECT_FALSE(FrmResult::IsLoaded());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    EscapeAndEnter, CalculatorClosingKey,
    ::testing::Values(ClosingKey{"Escape", Qt::Key_Escape, Qt::NoModifier},
                      ClosingKey{"Enter", Qt::Key_Return, Qt::NoModifier},
                      ClosingKey{"ShiftEnter", Qt::Key_Return, Qt::ShiftModifier},
                      ClosingKey{"ControlEnter", Qt::Key_Return, Qt::ControlModifier},
                      ClosingKey{"KeypadEnter", Qt::Key_Enter, Qt::KeypadModifier}),
    [](const auto& info) { return info.param.name; });

TEST_F(CalculatorWindows, ResultWindowIsACentredToolWindow) {
  mdlMain::CurrentValue = 3;
  QSize client;
  Qt::WindowFlags flags;
  ModalHelper helper;
  helper.Expect(Answer("2"));
  helper.Expect([&](QWidget* modal) {
    client = modal->size();
    flags = modal->windowFlags();
    modal->close();
  });
  mdlMain::HandleCalcKey('*');
  ASSERT_EQ(helper.Handled(), 2);
  EXPECT_EQ(client, QSize(249, 39));
  EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
}

// From a measured tempo to a chain of results, as a user goes: taps, Enter, a click on the tempo
// box, an operator key, the prompt, the result, Escape back to the results.
TEST_F(CalculatorWindows, TempoFromTheResultsWindowShiftsBySemitones) {
  float now = 0;
  FrmTempulo main([&now] { return now; });
  Shown shifted;
  QString tempoAfter;
  ModalHelper helper;
  helper.Expect([&](QWidget* modal) {
    auto* results = qobject_cast<FrmTapResults*>(modal);
    ASSERT_NE(results, nullptr);
    TextBox& tempo = results->TxtResult(2);
    QTest::mouseClick(&tempo, Qt::LeftButton);
    tempo.setFocus(Qt::MouseFocusReason);
    QTest::keyClick(&tempo, '#');  // returns once the whole calculation is over
    tempoAfter = tempo.text();
    results->close();
  });
  helper.Expect(Answer("-12", "Semitone", "Enter the semitone (#) value.", "6"));
  helper.Expect(ReadResult(shifted));
  now = 100;
  QTest::keyClick(&main, Qt::Key_Space);
  now = 100.5f;
  QTest::keyClick(&main, Qt::Key_Space);
  QTest::keyClick(&main, Qt::Key_Return);
  EXPECT_EQ(helper.Handled(), 3);
  EXPECT_EQ(shifted.caption, "Semitone result");
  EXPECT_EQ(shifted.text, "240");
  EXPECT_EQ(tempoAfter, "120");  // the operator never lands in a box
}

// A user may chain operations for as long as they like: the stack must not grow with the chain.
TEST_F(CalculatorWindows, TenThousandChainedOperationsEndCleanly) {
  constexpr int kOperations = 10000;
  mdlMain::CurrentValue = 0;
  int prompts = 0;
  int results = 0;
  std::uintptr_t deepest = UINTPTR_MAX;
  std::uintptr_t shallowest = 0;
  QTimer driver;
  driver.setInterval(0);
  QObject::connect(&driver, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    // The frame's own address: the sanitizer build may keep address-taken locals on the heap.
    const auto depth = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    deepest = std::min(deepest, depth);
    shallowest = std::max(shallowest, depth);
    if (QInputDialog* prompt = AsPrompt(modal)) {
      ++prompts;
      prompt->setTextValue("1");
      prompt->accept();
    } else if (auto* window = qobject_cast<FrmResult*>(modal)) {
      ++results;
      QTest::keyClick(&window->TxtResult(), results < kOperations ? Qt::Key_Plus : Qt::Key_Escape,
                      Qt::NoModifier);
    } else {
      modal->close();
      ADD_FAILURE() << "unexpected window " << modal->windowTitle().toStdString();
    }
  });
  driver.start();
  mdlMain::HandleCalcKey('+');
  driver.stop();
  EXPECT_EQ(prompts, kOperations);
  EXPECT_EQ(results, kOperations);
  EXPECT_EQ(mdlMain::CurrentValue, kOperations);
  EXPECT_FALSE(FrmResult::IsLoaded());
  EXPECT_LT(shallowest - deepest, 64u * 1024u) << "the stack grew with the chain";
}

// Qt's own buttons follow the desktop's language where Qt has a catalogue for it, and stay
// English, without a word on the console, where it has none.
struct QtLanguage {
  const char* locale;
  const char* directory;  // empty: where Qt keeps its translations
  bool found;
  const char* cancel;
};

class PromptLanguage : public ::testing::TestWithParam<QtLanguage> {
 protected:
  void TearDown() override { Application::LoadQtTranslations(QLocale()); }
  static void Count(QtMsgType /*type*/, const QMessageLogContext& /*context*/,
                    const QString& /*text*/) {
    ++messages;
  }
  static inline int messages = 0;
};

TEST_P(PromptLanguage, CancelButtonSpeaksTheDesktopsLanguage) {
  const QtLanguage& language = GetParam();
  const QString directory = *language.directory != 0
                                ? QString::fromLatin1(language.directory)
                                : QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  messages = 0;
  const QtMessageHandler previous = qInstallMessageHandler(Count);
  EXPECT_EQ(Application::LoadQtTranslations(QLocale(QString::fromLatin1(language.locale)),
                                            directory),
            language.found);
  qInstallMessageHandler(previous);
  EXPECT_EQ(messages, 0);

  QString cancel;
  ModalHelper helper;
  helper.Expect([&cancel](QWidget* modal) {
    const auto* buttons = modal->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    cancel = buttons->button(QDialogButtonBox::Cancel)->text();
    AsPrompt(modal)->reject();
  });
  mdlMain::RunCalculation(CalcOperation::Multiply);
  EXPECT_EQ(helper.Handled(), 1);
  EXPECT_EQ(cancel, language.cancel);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, PromptLanguage,
    ::testing::Values(QtLanguage{"de_DE", "", true, "Abbrechen"},
                      QtLanguage{"en_US", "", true, "Cancel"},
                      QtLanguage{"eo", "", false, "Cancel"},  // no catalogue for Esperanto
                      QtLanguage{"de_DE", "/nonexistent", false, "Cancel"}));

}  // namespace
