#include "net/join_failure.h"

#include <QAbstractSocket>

namespace vexa::net {

JoinFailure JoinFailureOf(int socket_error) {
  switch (static_cast<QAbstractSocket::SocketError>(socket_error)) {
    case QAbstractSocket::ConnectionRefusedError:
      return JoinFailure::Refused;
    // Qt gives up on an address that does not answer after 30 seconds.
    case QAbstractSocket::SocketTimeoutError:
      return JoinFailure::NoAnswer;
    case QAbstractSocket::HostNotFoundError:
      return JoinFailure::HostNotFound;
    // What a connect that fails with ENETUNREACH or EHOSTUNREACH reports.
    case QAbstractSocket::NetworkError:
      return JoinFailure::Unreachable;
    default:
      return JoinFailure::Other;
  }
}

}  // namespace vexa::net
