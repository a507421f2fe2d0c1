#pragma once

// A window's controls reached by the object names they are created with
// ("Label1_25" for Label1[25], "Check1", "Mnu_NewGame"), as the tests, the
// figures and the reliability runs reach them: never through the window's
// members. A name that finds no control of the type asked for, or more than
// one, stops the program with that name, so a renamed control fails loudly.

#include <QDialog>
#include <QObject>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace vexa::app::testing {

namespace controls_detail {

// Whether `control` stands in a dialog opened over `window` rather than in
// the window itself: the dialogs reuse names such as "Command1_0" or "List3".
inline bool InDialogOver(const QObject& window, const QObject& control) {
  for (const QObject* o = control.parent(); o != nullptr && o != &window; o = o->parent()) {
    if (qobject_cast<const QDialog*>(o) != nullptr) return true;
  }
  return false;
}

}  // namespace controls_detail

// The window's control of type W named `name`, found among all its
// descendants (a menu's actions too); the program aborts when there is none.
template <typename W>
W* Control(const QObject& window, const QString& name) {
  W* found = nullptr;
  int count = 0;
  for (W* candidate : window.findChildren<W*>(name)) {
    if (controls_detail::InDialogOver(window, *candidate)) continue;
    found = candidate;
    ++count;
  }
  if (count != 1) {
    std::fprintf(stderr, "%s has %s %s named \"%s\"\n", qPrintable(window.objectName()),
                 count == 0 ? "no" : "more than one", W::staticMetaObject.className(),
                 qPrintable(name));
    std::fflush(stderr);
    std::abort();
  }
  return found;
}

// An element of a control array: ("Label1", 25) is "Label1_25".
template <typename W>
W* Control(const QObject& window, const char* name, int index) {
  return Control<W>(window, QString::fromLatin1(name) + u'_' + QString::number(index));
}

}  // namespace vexa::app::testing
