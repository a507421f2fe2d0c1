#pragma once

// Feeds arbitrary bytes to the receiving side of the game and chat
// connections and checks what must hold for any input a peer can send.
// Shared by the libFuzzer target and the seeded loop in net_tests.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <cstddef>
#include <string>

namespace vexa::net::fuzz {

struct FeedResult {
  std::size_t reads = 0;
  std::string failure;  // empty when every check held
};

// The input is a sequence of reads, each a length byte and that many bytes
// (the last one may be shorter).
FeedResult FeedReads(QByteArrayView input);

// The input FeedReads takes for these reads; longer reads are cut into
// pieces of at most 255 bytes.
QByteArray PackReads(const QList<QByteArray>& reads);

}  // namespace vexa::net::fuzz
