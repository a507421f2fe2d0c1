// libFuzzer target for the receiving side of both connections: each input
// is split and checked alone, then applied by a whole session from the phase
// its first byte names.
//   build-net-fuzz/net/tests/net_read_fuzzer -dict=net/tests/read_fuzzer.dict -runs=1000000

#include <QCoreApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "read_fuzz_driver.h"
#include "session_fuzz_driver.h"

namespace {

void Check(const std::string& failure) {
  if (!failure.empty()) {
    std::fprintf(stderr, "%s\n", failure.c_str());
    std::abort();
  }
}

}  // namespace

// The session's timers and the codecs want an application.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  new QCoreApplication(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  Check(vexa::net::fuzz::FeedReads(input).failure);
  Check(vexa::net::fuzz::FeedSession(input).failure);
  return 0;
}
