// libFuzzer target for the receiving side of both connections.
//   build-net-fuzz/net/tests/net_read_fuzzer -dict=net/tests/read_fuzzer.dict -runs=1000000

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "read_fuzz_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto result = vexa::net::fuzz::FeedReads(
      QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  if (!result.failure.empty()) {
    std::fprintf(stderr, "%s\n", result.failure.c_str());
    std::abort();
  }
  return 0;
}
