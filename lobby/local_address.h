#pragma once

#include <QHostAddress>

namespace vexa::lobby {

// The address of this machine that packets toward `destination` leave
// from (the routing table's choice; nothing is sent): what a host behind
// no router gives its guests. Null when there is no route.
QHostAddress LocalAddressToward(const QHostAddress& destination);

}  // namespace vexa::lobby
