// The modal loop of dialogues and the prompts, driven through their widgets.

#include "UiTestSupport.h"

#include "ColorDialog.h"
#include "Colors.h"
#include "EditText.h"
#include "MessageBox.h"
#include "Messages.h"
#include "StringTable.h"
#include "TBouton.h"
#include "TCheck.h"
#include "TDialog.h"
#include "TEdit.h"
#include "TEdl.h"
#include "TFont.h"
#include "TListe.h"
#include "TPop.h"
#include "TQtUserInput.h"
#include "TRadio.h"
#include "ValueFormat.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace {

// A dialogue built in code: three edits, a radio group and OK / Cancel.
class KeyDialog : public TDialog
{
public:
  explicit KeyDialog(bool withDefault) : TDialog(nullptr, "Keys")
  {
    for (int32_t id : {10, 11, 12}) {
      auto* edit = new TEdl(this, id, "Field", kTypeInt32, 12, 0, 6, 6);
      Body()->addWidget(edit->Widget());
    }
    radio = new TRadio(this, 20, "Choice", {"A", "B"}, 21);
    Body()->addWidget(radio->Widget());
    auto* ok = new TBouton(this, IDOK_, "OK", withDefault);
    auto* cancel = new TBouton(this, IDCANCEL_, "Cancel");
    Body()->addWidget(ok->Widget());
    Body()->addWidget(cancel->Widget());
  }
  QWidget* Stop(int32_t id) const { return Control(id)->FocusStop(0); }
  TRadio* radio;
};

TEST(DialogKeys, TabWrapsBothWaysAndEscapeCancels)
{
  KeyDialog dialog(true);
  std::vector<QWidget*> order;
  ModalScript script;
  script.Then([&](QWidget* modal) {
    order.push_back(modal->focusWidget());
    QTest::keyClick(modal->focusWidget(), Qt::Key_Tab);
    order.push_back(modal->focusWidget());
    // From the first edit round to the last control (Cancel) and on.
    for (int i = 0; i < 4; ++i)
      QTest::keyClick(modal->focusWidget(), Qt::Key_Tab);
    order.push_back(modal->focusWidget());
    QTest::keyClick(modal->focusWidget(), Qt::Key_Tab);
    order.push_back(modal->focusWidget());
    QTest::keyClick(modal->focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    order.push_back(modal->focusWidget());
    QWidget* last = modal->focusWidget();
    Later([last] { QTest::keyClick(last, Qt::Key_Escape); });
  });
  EXPECT_EQ(dialog.RunModal(0), IDCANCEL_);
  ASSERT_TRUE(script.Done());
  ASSERT_EQ(order.size(), 5u);
  EXPECT_EQ(order[0], dialog.Stop(10));
  EXPECT_EQ(order[1], dialog.Stop(11));
  EXPECT_EQ(order[2], dialog.Stop(IDCANCEL_));
  EXPECT_EQ(order[3], dialog.Stop(10));
  EXPECT_EQ(order[4], dialog.Stop(IDCANCEL_));
  EXPECT_FALSE(dialog.Widget()->isVisible());
}

TEST(DialogKeys, EnterPressesTheDefaultButtonWhereverTheFocusIs)
{
  KeyDialog dialog(true);
  ModalScript script;
  script.Then([&](QWidget* modal) {
    QTest::keyClick(modal->focusWidget(), Qt::Key_Tab);
    QWidget* second = modal->focusWidget();
    Later([second] { QTest::keyClick(second, Qt::Key_Return); });
  });
  EXPECT_EQ(dialog.RunModal(0), IDOK_);
  EXPECT_TRUE(script.Done());
}

TEST(DialogKeys, WithoutDefaultEnterMovesOnOrConfirmsWhereAsked)
{
  KeyDialog dialog(false);
  dialog.SetDialogFlags(TDialog::kEnterOnLastIsOk);
  QWidget* afterEnter = nullptr;
  ModalScript script;
  script.Then([&](QWidget* modal) {
    QTest::keyClick(modal->focusWidget(), Qt::Key_Enter);
    afterEnter = modal->focusWidget();
    // Backwards onto the last control, where Enter means OK.
    QTest::keyClick(modal->focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(modal->focusWidget(), Qt::Key_Backtab);
    QWidget* last = modal->focusWidget();
    Later([last] { QTest::keyClick(last, Qt::Key_Return); });
  });
  EXPECT_EQ(dialog.RunModal(0), IDOK_);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(afterEnter, dialog.Stop(11));
  // Shift+Enter confirms from anywhere.
  ModalScript again;
  again.Then([](QWidget* modal) {
    QWidget* first = modal->focusWidget();
    Later([first] { QTest::keyClick(first, Qt::Key_Return, Qt::ShiftModifier); });
  });
  EXPECT_EQ(dialog.RunModal(0), IDOK_);
  EXPECT_TRUE(again.Done());
}

TEST(DialogKeys, ARadioGroupIsOneStopOnItsChosenButton)
{
  KeyDialog dialog(true);
  dialog.radio->SetSelected(1);
  EXPECT_EQ(dialog.radio->IndexOfItem(22), 1);
  EXPECT_EQ(dialog.radio->IndexOfItem(20), -1);
  QWidget* focused = nullptr;
  ModalScript script;
  script.Then([&](QWidget* modal) {
    focused = modal->focusWidget();
    Later([modal] { QTest::keyClick(modal->focusWidget(), Qt::Key_Escape); });
  });
  // Asked to start on the radio group (labels of edits are controls too).
  int32_t radioIndex = -1;
  for (int32_t i = 0; i < dialog.ControlCount(); ++i) {
    if (dialog.ControlAt(i) == dialog.radio)
      radioIndex = i;
  }
  EXPECT_EQ(dialog.RunModal(radioIndex), IDCANCEL_);
  EXPECT_EQ(focused, static_cast<QWidget*>(dialog.radio->Button(1)));
  EXPECT_EQ(dialog.FocusedIndex(), radioIndex);
}

TEST(DialogKeys, AnUnknownDescriptionGivesNoDialogue)
{
  TDialog dialog("KARWI_NOSUCHDIALOG", nullptr);
  EXPECT_FALSE(dialog.IsValid());
  EXPECT_EQ(dialog.RunModal(0), 0);
  // Names are matched without regard to case.
  EXPECT_TRUE(TDialog("karwi_dialogsnap", nullptr).IsValid());
}

// ---- the integer prompt ----

TEST(IntegerPrompt, OutOfRangeIsRefusedAndComesBackWithTheTypedValue)
{
  TQtUserInput input;
  int32_t value = 50;
  std::string label, comeBack;
  SeenBox refusal;
  ModalScript script;
  script
      .Then([&](QWidget* modal) {
        label = FindChild<QLabel>(modal)->text().toStdString();
        QLineEdit* edit = LineEdits(modal).at(0);
        TypeInto(edit, "5");
        QAbstractButton* ok = ButtonWithText(modal, "Ok");
        Later([ok] { ok->click(); });
      })
      .Then(AnswerBox(refusal, "OK"))
      .Then([&](QWidget* modal) {
        QLineEdit* edit = LineEdits(modal).at(0);
        comeBack = edit->text().toStdString();
        TypeInto(edit, "70");
        Later([edit] { QTest::keyClick(edit, Qt::Key_Return); });
      });
  EXPECT_EQ(AskInteger(input, value, 10, 100, "Zoom", "Zoom:(in %)"), 1);
  ASSERT_TRUE(script.Done());
  EXPECT_EQ(label, "Zoom:(in %) (10...100)");
  EXPECT_EQ(refusal.text, "Inapropriate value");
  EXPECT_EQ(refusal.title, "ERROR");
  EXPECT_EQ(comeBack, "5");
  EXPECT_EQ(value, 70);
}

TEST(IntegerPrompt, ConfirmingTheSameValueAnswersTwoAndCancelZero)
{
  TQtUserInput input;
  int32_t value = 42;
  ModalScript script;
  script.Then([](QWidget* modal) {
    QWidget* focus = modal->focusWidget();
    Later([focus] { QTest::keyClick(focus, Qt::Key_Return); });
  });
  EXPECT_EQ(AskInteger(input, value, 10, 100, "Zoom", "Zoom:(in %)"), 2);
  EXPECT_TRUE(script.Done());
  ModalScript cancel;
  cancel.Then([](QWidget* modal) {
    QAbstractButton* button = ButtonWithText(modal, "Cancel");
    Later([button] { button->click(); });
  });
  EXPECT_EQ(AskInteger(input, value, 10, 100, "Zoom", "Zoom:(in %)"), 0);
  EXPECT_EQ(value, 42);
}

TEST(IntegerPrompt, OnlyDigitsAndSignsCanBeTyped)
{
  TQtUserInput input;
  std::vector<TUserInput::IntegerField> fields{{"Count", 7}};
  ModalScript script;
  script.Then([](QWidget* modal) {
    QLineEdit* edit = LineEdits(modal).at(0);
    TypeInto(edit, "-1x2.5");
    Later([edit] { QTest::keyClick(edit, Qt::Key_Return); });
  });
  ASSERT_TRUE(input.PromptIntegers("Count", fields));
  EXPECT_EQ(fields[0].value, -125);
}

TEST(IntegerPrompt, ThePageSizePromptOffersPresetsAndShowsTheSizeInTheUsersUnit)
{
  TQtUserInput input;
  std::vector<TUserInput::IntegerField> fields{{"Width (10...3000)", 850}, {"Height (10...3000)", 1100}};
  TUserInput::PaperSizeHelp help;
  help.presets = {{"A4", 827, 1169}, {"Letter", 850, 1100}};
  help.describe = [](int32_t length) { return std::to_string(length / 100.0).substr(0, 4) + " in"; };
  QString firstChoice, firstShown, afterTyping;
  ModalScript script;
  script.Then([&](QWidget* modal) {
    auto* presets = modal->findChild<QComboBox*>();
    ASSERT_NE(presets, nullptr);
    firstChoice = presets->currentText();
    firstShown = modal->findChildren<QLabel*>().last()->text();
    presets->setCurrentIndex(presets->findText("A4"));
    // A size of no preset shows as Custom.
    TypeInto(LineEdits(modal).at(0), "900");
    afterTyping = presets->currentText();
    TypeInto(LineEdits(modal).at(0), "827");
    QLineEdit* edit = LineEdits(modal).at(0);
    Later([edit] { QTest::keyClick(edit, Qt::Key_Return); });
  });
  ASSERT_TRUE(input.PromptPaperSize("Page Dimension", fields, help));
  EXPECT_EQ(firstChoice, "Letter");
  EXPECT_EQ(firstShown, "11.0 in");
  EXPECT_EQ(afterTyping, "Custom");
  EXPECT_EQ(fields[0].value, 827);
  EXPECT_EQ(fields[1].value, 1169);
}

// ---- typed values ----

TEST(ValueField, FiltersFollowTheFormat)
{
  const QChar separator = QLatin1Char(DecimalSeparator());
  EXPECT_EQ(FilterTypedChar(kTypeDouble, 6, QLatin1Char('.'), "12"), separator);
  EXPECT_EQ(FilterTypedChar(kTypeDouble, 6, QLatin1Char(','), "12"), separator);
  EXPECT_FALSE(FilterTypedChar(kTypeDouble, 6, QLatin1Char('.'), QString("1") + separator + "5"));
  EXPECT_FALSE(FilterTypedChar(kTypeDouble, 6, QLatin1Char('a'), ""));
  EXPECT_FALSE(FilterTypedChar(kTypeInt32, 6, QLatin1Char('.'), "1"));
  EXPECT_TRUE(FilterTypedChar(kTypeDate, 2, QLatin1Char('/'), ""));
  EXPECT_FALSE(FilterTypedChar(kTypeDate, 2, QLatin1Char('x'), ""));
  EXPECT_TRUE(FilterTypedChar(kTypeUInt32, 7, QLatin1Char('F'), ""));
  EXPECT_FALSE(FilterTypedChar(kTypeUInt32, 7, QLatin1Char('g'), ""));
  EXPECT_FALSE(FilterTypedChar(kTypeBitMask, 8, QLatin1Char('2'), ""));
  EXPECT_FALSE(FilterTypedChar(kTypeString | 20, 9, QLatin1Char('1'), ""));
  EXPECT_TRUE(FilterTypedChar(kTypeString | 20, 11, QLatin1Char('_'), ""));
  EXPECT_FALSE(FilterTypedChar(kTypeInt32, 12, QLatin1Char('-'), ""));
  EXPECT_TRUE(FilterTypedChar(kTypeDouble, 30, QLatin1Char('\''), ""));
  EXPECT_TRUE(FilterTypedChar(kTypeString | 20, 0, QChar(0x00E9), ""));
  // Control characters always pass.
  EXPECT_TRUE(FilterTypedChar(kTypeInt32, 12, QChar(8), ""));
}

TEST(ValueField, ValuesAskedInTheirFormatComeBack)
{
  TQtUserInput input;
  std::vector<TUserInput::ValueField> fields{{"X:", 1.5, 2, 6}, {"Y:", -2.0, 2, 6}};
  std::vector<std::string> shown;
  ModalScript script;
  script.Then([&](QWidget* modal) {
    for (QLineEdit* edit : LineEdits(modal))
      shown.push_back(edit->text().toStdString());
    QLineEdit* y = LineEdits(modal).at(1);
    TypeInto(y, "3.25");
    Later([y] { QTest::keyClick(y, Qt::Key_Return); });
  });
  ASSERT_TRUE(input.AskValues("Position", fields));
  const std::string sep(1, DecimalSeparator());
  EXPECT_EQ(shown, (std::vector<std::string>{"1" + sep + "50", "-2" + sep + "00"}));
  EXPECT_DOUBLE_EQ(fields[0].value, 1.5);
  EXPECT_DOUBLE_EQ(fields[1].value, 3.25);
}

// ---- text, choices and message boxes ----

TEST(TextDialog, EditsKeepTheirLineEndsAndLimit)
{
  std::string text = "one\r\ntwo";
  QString shown;
  ModalScript script;
  script.Then([&](QWidget* modal) {
    auto* edit = FindChild<QPlainTextEdit>(modal);
    shown = edit->toPlainText();
    edit->moveCursor(QTextCursor::End);
    // Enter is a new line in the edit; Shift+Enter confirms.
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, "three and more");
    Later([edit] { QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier); });
  });
  ASSERT_TRUE(EditText(nullptr, text, 20, "Text", nullptr));
  EXPECT_EQ(shown, "one\ntwo");
  // The limit counts the stored line ends: what does not fit is refused.
  EXPECT_EQ(text, "one\r\ntwo\r\nthree and ");
}

TEST(TextDialog, OneLinePromptTakesAtMostTheLimit)
{
  TQtUserInput input;
  std::string name = "old";
  ModalScript script;
  script.Then([](QWidget* modal) {
    QLineEdit* edit = LineEdits(modal).at(0);
    TypeInto(edit, "abcdefghij");
    Later([edit] { QTest::keyClick(edit, Qt::Key_Return); });
  });
  ASSERT_TRUE(input.AskText("Symbol", "Name:", name, 6));
  EXPECT_EQ(name, "abcdef");
}

TEST(ChoiceDialog, TheChosenRadioButtonIsTheAnswer)
{
  TQtUserInput input;
  int32_t index = 0;
  ModalScript script;
  script.Then([](QWidget* modal) {
    auto* chord = FindChild<QRadioButton>(modal, [](QRadioButton* b) { return b->text() == "Chord"; });
    chord->click();
    QAbstractButton* ok = ButtonWithText(modal, "OK");
    Later([ok] { ok->click(); });
  });
  ASSERT_TRUE(input.ChooseOption("Circle Type", "Type", {"Circle", "Pie", "Chord", "Arc"}, index));
  EXPECT_EQ(index, 2);
}

TEST(MessageBoxes, ShowTheirTextIconAndButtons)
{
  SeenBox seen;
  QStringList buttons;
  QString defaultText;
  ModalScript script;
  script.Then([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    for (QAbstractButton* b : box->buttons())
      buttons << b->text();
    defaultText = box->defaultButton()->text();
    AnswerBox(seen, "No")(modal);
  });
  EXPECT_EQ(MessageBox(nullptr, "QUIT", "Quit Vekta ?", MB_YESNO_ | MB_ICONQUESTION_ | MB_DEFBUTTON2_),
            IDNO_);
  EXPECT_EQ(seen.title, "QUIT");
  EXPECT_EQ(seen.text, "Quit Vekta ?");
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_TRUE(buttons.contains("Yes") && buttons.contains("No"));
  EXPECT_EQ(defaultText, "No");
  // Escape answers the way out the buttons offer.
  ModalScript escape;
  escape.Then([](QWidget* modal) { Later([modal] { QTest::keyClick(modal, Qt::Key_Escape); }); });
  EXPECT_EQ(MessageBox(nullptr, "", "Save?", MB_YESNOCANCEL_), IDCANCEL_);
}

TEST(FileDialogs, FiltersBecomeQtFilters)
{
  EXPECT_EQ(FileDialogFilter("Vekta Files (*.vk1)|*.vk1"), "Vekta Files (*.vk1)");
  EXPECT_EQ(FileDialogFilter("Images|*.png *.jpg|All|*"), "Images (*.png *.jpg);;All (*)");
}

} // namespace

namespace {

TEST(ListBox, HoldsTextsAndADoubleClickConfirms)
{
  TDialog dialog(nullptr, "Symbols");
  auto* list = new TListe(&dialog, 100);
  dialog.Body()->addWidget(list->Widget());
  dialog.AddOkCancel("OK", "Cancel");
  for (const char* name : {"Arrow", "Door", "Window"})
    list->Add(name);
  EXPECT_EQ(list->Count(), 3);
  list->SetSelection(7);
  EXPECT_EQ(list->GetSelection(), -1);
  list->SetSelection(1);
  EXPECT_EQ(list->GetItemText(list->GetSelection()), "Door");
  EXPECT_EQ(list->GetItemText(3), "");
  ModalScript script;
  script.Then([](QWidget* modal) {
    auto* view = FindChild<QListWidget>(modal);
    const QRect third = view->visualItemRect(view->item(2));
    Later([view, third] {
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, third.center());
      QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, third.center());
      QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, third.center());
    });
  });
  EXPECT_EQ(dialog.RunModal(0), IDOK_);
  EXPECT_EQ(list->GetSelection(), 2);
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
}

TEST(PopupMenu, BuildsItsItemsAndAnswersTheChosenCommand)
{
  TPop pop;
  pop.Build("Rectangle", {{32558, "Position", false, true},
                          {0, "", false, true},
                          {32566, "Color", false, false},
                          {32564, "Line Type...", true, true}});
  const QList<QAction*> actions = pop.Menu()->actions();
  ASSERT_EQ(actions.size(), 6);
  EXPECT_EQ(actions[0]->text(), "Rectangle");
  EXPECT_FALSE(actions[0]->isEnabled());
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_TRUE(actions[3]->isSeparator());
  EXPECT_FALSE(actions[4]->isEnabled());
  EXPECT_TRUE(actions[5]->isChecked());
  // Down twice passes over the title, the separators and the disabled entry.
  QTimer::singleShot(50, [&pop] {
    QTest::keyClick(pop.Menu(), Qt::Key_Down);
    QTest::keyClick(pop.Menu(), Qt::Key_Down);
    QTest::keyClick(pop.Menu(), Qt::Key_Return);
  });
  EXPECT_EQ(pop.Track(QPoint(100, 100)), 32564);
  QTimer::singleShot(50, [&pop] { QTest::keyClick(pop.Menu(), Qt::Key_Escape); });
  EXPECT_EQ(pop.Track(QPoint(100, 100)), 0);
}

} // namespace

namespace {

TEST(ColourDialog, OffersNoneWhereAllowed)
{
  uint32_t colour = MakeColor(10, 20, 30);
  bool noneOffered = false;
  ModalScript script;
  script.Then([&](QWidget* modal) {
    noneOffered = ButtonWithText(modal, "None") != nullptr;
    FindChild<QColorDialog>(modal)->setCurrentColor(QColor(200, 100, 50));
    QAbstractButton* ok = ButtonWithText(modal, "OK");
    Later([ok] { ok->click(); });
  });
  ASSERT_TRUE(ChooseColorDialog(nullptr, colour, false));
  EXPECT_FALSE(noneOffered);
  EXPECT_EQ(colour, MakeColor(200, 100, 50));
  ModalScript none;
  none.Then([](QWidget* modal) {
    QAbstractButton* button = ButtonWithText(modal, "None");
    Later([button] { button->click(); });
  });
  ASSERT_TRUE(ChooseColorDialog(nullptr, colour, true));
  EXPECT_EQ(colour, kNoColor);
}

TEST(LongWork, ItsBoxShowsOnlyAfterHalfASecondAndItsCancelIsHeard)
{
  TQtUserInput input;
  input.ShowWork("Exporting", true);
  EXPECT_FALSE(input.WorkCancelled());
  EXPECT_EQ(input.WorkBox(), nullptr); // short work shows nothing
  QTest::qWait(600);
  EXPECT_FALSE(input.WorkCancelled());
  QDialog* box = input.WorkBox();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());
  EXPECT_EQ(box->windowTitle(), "Exporting");
  EXPECT_NE(box->findChild<QLabel*>(), nullptr);
  box->reject(); // Cancel or Escape
  EXPECT_TRUE(input.WorkCancelled());
  input.ShowWork("Exporting", false);
  EXPECT_EQ(input.WorkBox(), nullptr);
  EXPECT_FALSE(input.WorkCancelled());
}

TEST(FontSizes, PageUnitsBecomePointsAndBack)
{
  TFont font(14, 0); // 14 units at 100 units per inch
  EXPECT_NEAR(FontPoints(font, 100), 10.08, 1e-9);
  EXPECT_NEAR(FontPoints(font, 254), 14 * 72.0 / 254, 1e-9);
  QFont chosen(QStringLiteral("Liberation Serif"));
  chosen.setPointSizeF(12);
  chosen.setItalic(true);
  chosen.setWeight(QFont::Bold);
  TLogFont record = font.Record();
  record.width = 7;
  font.SetRecord(record);
  SetFontFromQt(font, chosen, 254);
  EXPECT_EQ(font.Record().height, -42); // 12 points at 254 units per inch
  EXPECT_EQ(font.Record().width, 21);   // the width keeps its proportion (7 of 14)
  EXPECT_EQ(font.Record().italic, 1);
  EXPECT_EQ(font.Record().weight, 700);
  EXPECT_EQ(font.Record().FaceName(), "Liberation Serif");
}

} // namespace

namespace {

// The largest difference in lightness between the pixels of a picture and
// its top-left pixel (the background).
int LargestContrast(const QImage& image)
{
  const int background = QColor(image.pixel(0, 0)).lightness();
  int largest = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      largest = std::max(largest, std::abs(QColor(image.pixel(x, y)).lightness() - background));
  return largest;
}

} // namespace

TEST(DialogLook, RadioButtonsStandOutOnADarkDesktop)
{
  // A dark theme as desktops give it: window, base and text.
  const QPalette original = QApplication::palette();
  QPalette dark = original;
  dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
  dark.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
  dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
  dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
  dark.setColor(QPalette::Text, QColor(0x90, 0x90, 0x90));
  QApplication::setPalette(dark);
  {
    KeyDialog dialog(true);
    QAbstractButton* button = dialog.radio->Button(1);
    ASSERT_NE(button, nullptr);
    button->setText(QString());
    button->setChecked(true);
    button->resize(button->sizeHint());
    // With its caption gone, what shows is the round well and its mark.
    const QImage drawn = button->grab().toImage();
    EXPECT_GE(LargestContrast(drawn), 100);
  }
  QApplication::setPalette(original);
}
