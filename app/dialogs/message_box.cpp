#include "app/dialogs/message_box.h"

#include <QPointer>

#include "net/qt_await.h"

namespace vexa::app {

Task<int> RunModal(QDialog* dialog) {
  QPointer<QDialog> guard(dialog);
  dialog->open();
  co_await NextSignal(dialog, &QDialog::finished);
  co_return guard ? guard->result() : QDialog::Rejected;
}

Task<> ShowDialog(QDialog* dialog) {
  QPointer<QDialog> guard(dialog);
  co_await RunModal(dialog);
  if (guard) guard->deleteLater();
}

Task<QMessageBox::StandardButton> ShowMessageBox(QWidget* parent, const QString& text,
                                                 QMessageBox::Icon icon,
                                                 QMessageBox::StandardButtons buttons,
                                                 const QString& title) {
  QPointer<QMessageBox> box = new QMessageBox(icon, title, text, buttons, parent);
  box->setObjectName(QStringLiteral("MessageBox"));
  box->setTextFormat(Qt::PlainText);
  box->open();
  co_await NextSignal(box.data(), &QDialog::finished);
  if (!box) co_return QMessageBox::NoButton;
  const auto pressed = box->standardButton(box->clickedButton());
  box->deleteLater();
  co_return pressed == QMessageBox::NoButton ? QMessageBox::Cancel : pressed;
}

}  // namespace vexa::app
