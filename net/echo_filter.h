#pragma once

// The peer echoes each setting the host changes, once. When the host changes
// a setting twice before the first echo is back ("" then "1" then "10" while
// typing), the late echo of an older value must not undo the newer one, or
// the two sides would bounce the values between them without end. The host
// notes each value it sends and takes the echoes back in order.

#include <QString>
#include <QStringList>

namespace vexa::net {

class EchoFilter {
 public:
  void Expect(const QString& echo) { expected_.append(echo); }

  // True when `received` is the next echo expected (it is then forgotten).
  // Anything else is news from the peer, and the echoes still expected are
  // forgotten with it.
  bool IsEcho(const QString& received) {
    if (!expected_.isEmpty() && expected_.front() == received) {
      expected_.removeFirst();
      return true;
    }
    expected_.clear();
    return false;
  }

 private:
  QStringList expected_;
};

}  // namespace vexa::net
