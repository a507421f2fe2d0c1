#pragma once

// The game and chat sockets of one program as the online code uses them:
// messages and chat lines in code page 932, one write each.

#include "net/online_windows.h"
#include "net/text_codec.h"
#include "net/winsock_adapter.h"

namespace vexa::net {

class WinsockLink : public GameLink {
 public:
  WinsockLink(Winsock& game, Winsock& chat) : game_(game), chat_(chat) {}
  int GameState() const override { return game_.State(); }
  int ChatState() const override { return chat_.State(); }
  void SendGame(const QString& message) override { game_.SendData(EncodeText(message)); }
  void SendChat(const QString& line) override { chat_.SendData(EncodeText(line)); }
  void CloseGame() override { game_.Close(); }
  void CloseChat() override { chat_.Close(); }

 private:
  Winsock& game_;
  Winsock& chat_;
};

}  // namespace vexa::net
