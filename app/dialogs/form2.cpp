#include "app/dialogs/form2.h"

#include "app/window/caption_fit.h"
#include "app/dialogs/dialog_parts.h"
#include "app/window/program_setup.h"
#include "app/window/twips.h"

namespace vexa::app {

Form2::Form2(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("About"));
  SetClientSize(this, 5160, 3330);

  auto* image = new QLabel(this);
  image->setObjectName(QStringLiteral("Image1"));
  image->setGeometry(TwipRect(240, 240, 480, 480));
  image->setPixmap(ProgramIcon().pixmap(32, 32));

  MakeShadowedTitle(this, QStringLiteral("Label1"), 0, QStringLiteral("Vexa with Online"), 12, 870,
                    180, 3600, 360, -30, 0);
  MakeShadowedTitle(this, QStringLiteral("Label1"), 2, QStringLiteral("Ver 1.2"), 14.25, 870, 570,
                    3600, 420, -30, 0);

  const QString credits[8] = {
      QStringLiteral("四つの駒で正方形を作れば勝ち"),
      QStringLiteral("Four pieces on the corners of a square win"),
      QString(),
      QStringLiteral("C++20 と Qt 6 で書かれています"),
      QStringLiteral("Written in C++20 with Qt 6"),
      QString(),
      QStringLiteral("対戦: CPU・二人・オンライン"),
      QStringLiteral("Play the computer, a friend, or the network"),
  };
  // A line as high as the font's, a narrow gap for an empty one: the eight
  // fill the room between the titles and the button.
  int top = 1005;
  for (int i = 0; i < 8; ++i) {
    const int height = credits[i].isEmpty() ? 90 : 255;
    QLabel* line =
        MakeLabel(this, QStringLiteral("Label2_%1").arg(i), credits[i], 120, top, 4920, height);
    line->setAlignment(Qt::AlignCenter);
    top += height;
  }

  QPushButton* ok =
      MakeButton(this, QStringLiteral("Command1"), QStringLiteral("OK"), 3510, 2715, 1485, 435);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  FitCaptions(this);
}

}  // namespace vexa::app
