#include "lobby/local_address.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vexa::lobby {

QHostAddress LocalAddressToward(const QHostAddress& destination) {
  // Connecting a datagram socket only asks the kernel for a route.
  sockaddr_storage remote{};
  socklen_t remote_length = 0;
  if (destination.protocol() == QAbstractSocket::IPv4Protocol) {
    auto* in = reinterpret_cast<sockaddr_in*>(&remote);
    in->sin_family = AF_INET;
    in->sin_port = htons(9);
    in->sin_addr.s_addr = htonl(destination.toIPv4Address());
    remote_length = sizeof(sockaddr_in);
  } else if (destination.protocol() == QAbstractSocket::IPv6Protocol) {
    auto* in6 = reinterpret_cast<sockaddr_in6*>(&remote);
    in6->sin6_family = AF_INET6;
    in6->sin6_port = htons(9);
    const Q_IPV6ADDR bytes = destination.toIPv6Address();
    std::copy(std::begin(bytes.c), std::end(bytes.c), in6->sin6_addr.s6_addr);
    remote_length = sizeof(sockaddr_in6);
  } else {
    return {};
  }
  const int fd = ::socket(remote.ss_family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return {};
  QHostAddress local;
  sockaddr_storage own{};
  socklen_t own_length = sizeof(own);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&remote), remote_length) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&own), &own_length) == 0) {
    local.setAddress(reinterpret_cast<sockaddr*>(&own));
  }
  ::close(fd);
  return local;
}

}  // namespace vexa::lobby
