// The sockets need an event loop and the codecs an application; one
// QCoreApplication serves every test.

#include <gmock/gmock.h>
#include <QCoreApplication>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
