#include "app/dialogs/form5.h"

#include "app/window/caption_fit.h"
#include "app/dialogs/dialog_parts.h"

namespace vexa::app {

Form5::Form5(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form5"));
  setWindowTitle(QStringLiteral("Vexa with Online"));
  SetClientSize(this, 3195, 1410);

  MakeShadowedTitle(this, QStringLiteral("Label2"), 0, QStringLiteral("VEXA"), 14.25, 90, 60, 3015,
                    390, -30, 0);
  Label1 = MakeLabel(this, QStringLiteral("Label1"), QString(), 90, 480, 3015, 360);
  QFont font = Label1->font();
  font.setBold(true);
  font.setPointSizeF(11.25);
  Label1->setFont(font);
  Label1->setAlignment(Qt::AlignCenter);

  QPushButton* ok =
      MakeButton(this, QStringLiteral("Command1"), QStringLiteral("OK"), 855, 945, 1410, 345);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  FitCaptions(this);
}

void Form5::showEvent(QShowEvent* event) {
  // The result is written in before the dialog is shown; a long name gets
  // a smaller font.
  FitCaption(Label1);
  QDialog::showEvent(event);
}

}  // namespace vexa::app
