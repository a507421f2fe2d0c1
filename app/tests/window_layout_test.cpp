// Every window as the player sees it: each caption shown whole, no control
// on a frame's border or caption. Checked in every window the program
// shows, in the states in which it shows them, in each language.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QImage>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTextLayout>

#include "app/window/caption_fit.h"
#include "app/dialogs/form2.h"
#include "app/online/lan_games_dialog.h"
#include "app/dialogs/name_dialogs.h"
#include "online_driver.h"

namespace vexa::app {
namespace {

using testing::Control;
using testing::DialogOf;
using testing::OnlinePair;
using testing::Program;
using testing::WaitFor;
using testing::WaitForWindow;

QString Name(const QWidget* w) {
  return w->window()->objectName() + u'.' + w->objectName();
}

// Pixels painted in the image, faint ones (a style's shading) left out.
int Painted(const QImage& image, const QRect& area, int least_alpha = 1) {
  int count = 0;
  const QRect clipped = area & image.rect();
  for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
    for (int x = clipped.left(); x <= clipped.right(); ++x)
      count += qAlpha(image.pixel(x, y)) >= least_alpha ? 1 : 0;
  }
  return count;
}

// The widget alone, without its children, on a transparent image.
QImage DrawnAlone(QWidget* widget) {
  QImage drawn(widget->size(), QImage::Format_ARGB32_Premultiplied);
  drawn.fill(Qt::transparent);
  widget->render(&drawn, QPoint(), QRegion(), QWidget::RenderFlags());
  return drawn;
}

// A label's text is drawn in a copy of the label, once in the label's size
// and once larger all round (so moved by whole pixels, if at all): a stroke
// that only the larger one shows is cut off.
// A wrapping label: a line wider than the label or lines taller than it,
// as Qt lays the text out.
bool WrappedLabelCutOff(const QLabel* label) {
  QTextLayout layout(label->text(), label->font());
  QTextOption option;
  option.setWrapMode(QTextOption::WordWrap);
  layout.setTextOption(option);
  const QRect room = label->contentsRect();
  qreal height = 0;
  bool too_wide = false;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(room.width());
    too_wide = too_wide || line.naturalTextWidth() > room.width();
    height += line.height();
  }
  layout.endLayout();
  return too_wide || height > room.height();
}

bool LabelCutOff(const QLabel* label) {
  if (label->wordWrap()) return WrappedLabelCutOff(label);
  const auto strokes = [&](QSize size) {
    QLabel copy(label->text());
    copy.setTextFormat(label->textFormat());
    copy.setFont(label->font());
    copy.setAlignment(label->alignment());
    copy.resize(size);
    return Painted(DrawnAlone(&copy), QRect(QPoint(), size));
  };
  return strokes(label->size()) < strokes(label->size() + QSize(80, 40));
}

// A button's or option's caption is wider than the room its style leaves
// beside the indicator (and short of a frame's border) or inside the bevel
// and margins.
bool ButtonCaptionCutOff(QAbstractButton* button) {
  QStyleOptionButton option;
  option.initFrom(button);
  option.text = button->text();
  QStyle* style = button->style();
  int room = 0;
  const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
  if (radio || qobject_cast<QCheckBox*>(button)) {
    const QRect contents = style->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, button);
    room = contents.width();
    // In a frame, the text keeps two pixels from the border as well.
    if (auto* frame = qobject_cast<QGroupBox*>(button->parentWidget())) {
      room = qMin(room, FrameInside(frame).right() - 1 - button->x() - contents.left());
    }
  } else {
    room = style->subElementRect(QStyle::SE_PushButtonContents, &option, button).width() -
           style->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
  }
  return button->fontMetrics().horizontalAdvance(button->text(), Qt::TextShowMnemonic) > room;
}

// Labels, buttons and options of the window whose caption is cut off, or
// that reach out of their container to make room for it.
QStringList CaptionsCutOff(QWidget* window) {
  QStringList found;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    const QString text = w->property("text").toString();
    if (w->window() != window || text.isEmpty()) continue;
    auto* label = qobject_cast<QLabel*>(w);
    auto* button = qobject_cast<QAbstractButton*>(w);
    if ((label && LabelCutOff(label)) || (button && ButtonCaptionCutOff(button))) {
      found << QStringLiteral("%1 \"%2\" is cut off").arg(Name(w), text);
    }
    if ((label || button) && w->geometry().right() > w->parentWidget()->contentsRect().right()) {
      found << Name(w) + QStringLiteral(" reaches out of its container");
    }
  }
  return found;
}

// Children of the window's frames that cover something the frame draws
// itself (its border or its caption), found by drawing each frame alone.
// Faint pixels (a style's shading of the inside) do not count.
QStringList ControlsOnFrames(QWidget* window) {
  QStringList found;
  for (QGroupBox* frame : window->findChildren<QGroupBox*>()) {
    if (frame->window() != window) continue;
    const QImage drawn = DrawnAlone(frame);
    const auto painted = [&](const QRect& area) { return Painted(drawn, area, 32); };
    // The border alone is at least the frame's perimeter.
    if (painted(drawn.rect()) < frame->width() + frame->height()) {
      found << Name(frame) + QStringLiteral(" draws no border");
    }
    for (QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (const int covered = painted(child->geometry())) {
        found << QStringLiteral("%1 covers %2 pixels of %3")
                     .arg(Name(child))
                     .arg(covered)
                     .arg(frame->objectName());
      }
    }
  }
  return found;
}

// A text of the program in the language in place.
QString Tr(const char* context, const char* source) {
  return QCoreApplication::translate(context, source);
}

std::string LanguageName(const ::testing::TestParamInfo<Language>& info) {
  return info.param == Language::English ? "English" : "Japanese";
}

void ExpectWellLaidOut(QWidget* window) {
  ASSERT_NE(window, nullptr);
  const QStringList faults = CaptionsCutOff(window) + ControlsOnFrames(window);
  EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
}

// A shadowed title is read in its dark copy: in the title's place, far more
// pixels are darker than the dialog's background than lighter.
void ExpectTitleReadable(QWidget* dialog, const QString& title_name) {
  const QImage drawn = dialog->grab(dialog->findChild<QLabel*>(title_name)->geometry()).toImage();
  const int background = qGray(dialog->palette().color(QPalette::Window).rgb());
  int darker = 0, lighter = 0;
  for (int y = 0; y < drawn.height(); ++y) {
    for (int x = 0; x < drawn.width(); ++x) {
      const int gray = qGray(drawn.pixel(x, y));
      darker += gray < background - 64 ? 1 : 0;
      lighter += gray > background + 8 ? 1 : 0;
    }
  }
  EXPECT_GT(darker, 2 * lighter) << title_name.toStdString();
}

class WindowLayout : public ::testing::TestWithParam<Language> {};

TEST_P(WindowLayout, TheLocalWindowsShowEveryCaptionWholeAndKeepTheirFramesClear) {
  Program p(QByteArray(), false);  // the first run asks for a name
  p.StoreLanguage(GetParam());
  p.Start();
  ExpectWellLaidOut(WaitForWindow<Form6>());
  auto* form6 = WaitForWindow<Form6>();
  form6->Text1->setText(QStringLiteral("Taro"));
  form6->Command1->click();
  ASSERT_TRUE(p.WaitShown());
  Form1& f = *p.form1;
  ExpectWellLaidOut(&f);

  ASSERT_EQ(CurrentLanguage(), GetParam());
  Control<QAction>(f, "Mnu_About")->trigger();
  ExpectWellLaidOut(WaitForWindow<Form2>());
  ExpectTitleReadable(WaitForWindow<Form2>(), QStringLiteral("Label1_0"));
  WaitForWindow<Form2>()->close();
  Control<QAction>(f, "Mnu_ChangeName")->trigger();
  ExpectWellLaidOut(WaitForWindow<Form8>());
  WaitForWindow<Form8>()->close();

  ASSERT_TRUE(p.StartVsHuman());
  for (int cell : {12, 50, 13, 51, 23, 52})
    p.ClickCell(cell);
  ExpectWellLaidOut(&f);  // in a game, every control locked
  p.ClickCell(24);
  ExpectWellLaidOut(WaitForWindow<Form5>());
  EXPECT_EQ(p.CloseResult(), QStringLiteral("Player1 Win"));

  // A long name in the result takes a smaller font.
  Form5 result(&f);
  result.Label1->setText(QStringLiteral("ずいぶん長いプレイヤーネームの人 Win"));
  result.show();
  ExpectWellLaidOut(&result);
}

INSTANTIATE_TEST_SUITE_P(InEachLanguage, WindowLayout,
                         ::testing::Values(Language::Japanese, Language::English), LanguageName);

// The pair starts in Japanese; the host's menu switches both windows, as
// the language is the whole program's.
class OnlineLayout : public OnlinePair, public ::testing::WithParamInterface<Language> {
 protected:
  void SetUp() override {
    OnlinePair::SetUp();
    Control<QAction>(*host.form1, GetParam() == Language::English ? "Mnu_English" : "Mnu_Japanese")
        ->trigger();
    const QString host_caption = Tr("vexa::app::Form1", "ゲームを主催");
    for (Program* p : {&host, &guest}) {
      ASSERT_TRUE(WaitFor(
          [&] { return Control<QPushButton>(*p->form1, "Command1", 0)->text() == host_caption; }));
    }
  }
};

TEST_P(OnlineLayout, TheOnlineDialogsShowEveryCaptionWholeAndKeepTheirFramesClear) {
  // Joining while nobody hosts: the connection dialog waits.
  JoinPressed();
  Form3* waiting = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (waiting = DialogOf<Form3>(guest)) != nullptr; }));
  EXPECT_EQ(waiting->Label1->text(), Tr("vexa::app::Form1", "ゲーム主催者に接続中です・・・"));
  ExpectWellLaidOut(waiting);
  // Nobody hosts yet: the join fails, with its reason under the status.
  ASSERT_TRUE(WaitFor(
      [&] { return waiting->Label1->text() == Tr("vexa::app::Form1", "接続できませんでした"); }));
  ExpectWellLaidOut(waiting);
  waiting->Command1->click();
  ASSERT_TRUE(WaitFor([&] { return DialogOf<Form3>(guest) == nullptr; }));

  // The list of games on the network: with a game, and without a daemon.
  Control<QPushButton>(*guest.form1, QStringLiteral("Cmd_LanGames"))->click();
  LanGamesDialog* list = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (list = DialogOf<LanGamesDialog>(guest)) != nullptr; }));
  emit guest.discovery->GameSeen({QStringLiteral("Taro"), QStringLiteral("Taro"),
                                  QStringLiteral("1.2"), QStringLiteral("192.0.2.1"), 36150});
  ExpectWellLaidOut(list);
  emit guest.discovery->Unavailable();
  ExpectWellLaidOut(list);
  list->Command2->click();
  ASSERT_TRUE(WaitFor([&] { return DialogOf<LanGamesDialog>(guest) == nullptr; }));

  HostPressed();
  Form3* host3 = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (host3 = DialogOf<Form3>(host)) != nullptr; }));
  ExpectWellLaidOut(host3);  // "対戦相手を待っています・・・"
  // The longest line a router's answer gives.
  emit host.mapper->Answered(net::PortMapping{true, QStringLiteral("203.0.113.250"), port, port + 2,
                                              QStringLiteral("UPnP")});
  ExpectWellLaidOut(host3);
  ExpectWellLaidOut(host.form1.get());
  JoinPressed();
  Form3* guest3 = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (guest3 = DialogOf<Form3>(guest)) && guest3->Connected(); }));
  ASSERT_TRUE(WaitFor([&] { return host3->Connected(); }));
  EXPECT_EQ(guest3->Label1->text(), Tr("vexa::app::Form1", "接続できました"));
  EXPECT_EQ(host3->Label1->text(), Tr("vexa::app::Form1", "対戦相手が来ました"));
  ExpectWellLaidOut(guest3);
  ExpectWellLaidOut(host3);

  guest3->Command1->click();
  Form7* form7 = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (form7 = DialogOf<Form7>(guest)) != nullptr; }));
  ExpectWellLaidOut(form7);  // "ホストの応答を待っています"
  host3->Command1->click();
  ASSERT_TRUE(WaitFor([&] { return HostSettings() && GuestSettings(); }));
  ExpectWellLaidOut(HostSettings());
  ExpectWellLaidOut(GuestSettings());
}

INSTANTIATE_TEST_SUITE_P(InEachLanguage, OnlineLayout,
                         ::testing::Values(Language::Japanese, Language::English), LanguageName);

}  // namespace
}  // namespace vexa::app
