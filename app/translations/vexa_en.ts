<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>vexa::app::ChanceText</name>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>勝ち</source>
        <translation>won</translation>
    </message>
    <message>
        <source>負け</source>
        <translation>lost</translation>
    </message>
    <message>
        <source>%1手で必勝</source>
        <translation>forced win in %1</translation>
    </message>
    <message>
        <source>%1手で必敗</source>
        <translation>forced loss in %1</translation>
    </message>
    <message>
        <source>必勝</source>
        <translation>win</translation>
    </message>
    <message>
        <source>必敗</source>
        <translation>loss</translation>
    </message>
</context>
<context>
    <name>vexa::app::Form1</name>
    <message>
        <source>設定ファイルの読み込みしに失敗しました</source>
        <translation>Failed to read the settings file</translation>
    </message>
    <message>
        <source>通算成績を保存できませんでした。
</source>
        <translation>The records could not be saved.
</translation>
    </message>
    <message>
        <source>
成績はこのプログラムを終了するまで保たれます。</source>
        <translation>
The records are kept until this program ends.</translation>
    </message>
    <message>
        <source>通算成績を初期化します。よろしいですか？</source>
        <translation>The records will be reset. Are you sure?</translation>
    </message>
    <message>
        <source>本当によろしいですか？</source>
        <translation>Are you really sure?</translation>
    </message>
    <message>
        <source>終了しますか？</source>
        <translation>Quit the game?</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>ヒント(&amp;H)</source>
        <translation>&amp;Hint</translation>
    </message>
    <message>
        <source>棋譜を保存(&amp;S)...</source>
        <translation>&amp;Save Record...</translation>
    </message>
    <message>
        <source>棋譜を開く(&amp;O)...</source>
        <translation>&amp;Open Record...</translation>
    </message>
    <message>
        <source>再生(&amp;P)</source>
        <translation>Re&amp;play</translation>
    </message>
    <message>
        <source>一手戻る(&amp;B)</source>
        <translation>One Move &amp;Back</translation>
    </message>
    <message>
        <source>一手進む(&amp;F)</source>
        <translation>One Move &amp;Forward</translation>
    </message>
    <message>
        <source>最初へ(&amp;T)</source>
        <translation>To the S&amp;tart</translation>
    </message>
    <message>
        <source>最後へ(&amp;E)</source>
        <translation>To the &amp;End</translation>
    </message>
    <message>
        <source>遊び方(&amp;R)</source>
        <translation>Ho&amp;w to Play</translation>
    </message>
    <message>
        <source>ゲーム &gt; 新規ゲーム で開始</source>
        <translation>Start with Game &gt; New Game</translation>
    </message>
    <message>
        <source>左ボタンで駒を、右ボタン（または B キー）でブロッカーを置きます</source>
        <translation>Left button places a piece, right button (or the B key) a blocker</translation>
    </message>
    <message>
        <source>棋譜を保存</source>
        <translation>Save Record</translation>
    </message>
    <message>
        <source>棋譜 (*.txt)</source>
        <translation>Records (*.txt)</translation>
    </message>
    <message>
        <source>棋譜を保存できませんでした。
</source>
        <translation>The record could not be saved.
</translation>
    </message>
    <message>
        <source>棋譜を開く</source>
        <translation>Open Record</translation>
    </message>
    <message>
        <source>棋譜 (*.txt);;すべてのファイル (*)</source>
        <translation>Records (*.txt);;All files (*)</translation>
    </message>
    <message>
        <source>%1 行目: </source>
        <translation>line %1: </translation>
    </message>
    <message>
        <source>棋譜を読み込めませんでした。
</source>
        <translation>The record could not be read.
</translation>
    </message>
    <message>
        <source>CPUが先攻</source>
        <translation>CPU first</translation>
    </message>
    <message>
        <source>CPUレベル</source>
        <translation>CPU level</translation>
    </message>
    <message>
        <source>Player1が先攻</source>
        <translation>Player1 first</translation>
    </message>
    <message>
        <source>接続の設定</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>ゲームを主催</source>
        <translation>Host game</translation>
    </message>
    <message>
        <source>ゲームに参加</source>
        <translation>Join game</translation>
    </message>
    <message>
        <source>リモートホスト名</source>
        <translation>Remote host</translation>
    </message>
    <message>
        <source>リモートポート</source>
        <translation>Remote port</translation>
    </message>
    <message>
        <source>プレイヤーネーム</source>
        <translation>Player name</translation>
    </message>
    <message>
        <source>通算成績</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>リーチをすべて列挙</source>
        <translation>List all reaches</translation>
    </message>
    <message>
        <source>ゲーム(&amp;G)</source>
        <translation>&amp;Game</translation>
    </message>
    <message>
        <source>新規ゲーム(&amp;N)</source>
        <translation>&amp;New Game</translation>
    </message>
    <message>
        <source>このゲームを終了(&amp;E)</source>
        <translation>&amp;End This Game</translation>
    </message>
    <message>
        <source>終了(&amp;Q)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>オプション(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>記録の初期化(&amp;F)</source>
        <translation>&amp;Reset Records</translation>
    </message>
    <message>
        <source>プレーヤーネームの変更(&amp;C)</source>
        <translation>&amp;Change Player Name</translation>
    </message>
    <message>
        <source>形でも区別(&amp;K)</source>
        <translation>&amp;Shapes as Well as Colours</translation>
    </message>
    <message>
        <source>プレイヤーネームを入力してください</source>
        <translation>Please enter your player name</translation>
    </message>
    <message>
        <source>ゲーム主催者に接続中です・・・</source>
        <translation>Connecting to the host...</translation>
    </message>
    <message>
        <source>指定したポートでゲームを主催している人が他にいます。</source>
        <translation>Someone else is already hosting a game on that port.</translation>
    </message>
    <message>
        <source>他のポートを指定してください。</source>
        <translation>Please choose another port.</translation>
    </message>
    <message>
        <source>接続できませんでした</source>
        <translation>Could not connect</translation>
    </message>
    <message>
        <source>対戦相手が来ました</source>
        <translation>An opponent has arrived</translation>
    </message>
    <message>
        <source>接続できました</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>対戦相手が離脱しました</source>
        <translation>Your opponent has left</translation>
    </message>
    <message>
        <source>解析を中止</source>
        <translation>Cancel analysis</translation>
    </message>
    <message>
        <source>点をクリックすると、その手を表示します</source>
        <translation>Click a point to show that turn</translation>
    </message>
    <message>
        <source>棋譜を解析(&amp;A)</source>
        <translation>&amp;Analyse Game</translation>
    </message>
    <message>
        <source>Elo %1 以上（Easy を 0 として）</source>
        <translation>Elo %1 or more (Easy at 0)</translation>
    </message>
    <message>
        <source>Elo %1（Easy を 0 として）</source>
        <translation>Elo %1 (Easy at 0)</translation>
    </message>
    <message>
        <source>ルーターのポートを自動で開く(&amp;R)</source>
        <translation>Open the Router&apos;s &amp;Ports Automatically</translation>
    </message>
    <message>
        <source>LAN のゲーム</source>
        <translation>LAN games</translation>
    </message>
    <message>
        <source>時間切れで負けました</source>
        <translation>You lost on time</translation>
    </message>
    <message>
        <source>相手の時間切れで勝ちました</source>
        <translation>You won: the opponent ran out of time</translation>
    </message>
    <message>
        <source>時間切れ: ブロッカーを一つ失いました</source>
        <translation>Time ran out: a blocker is lost</translation>
    </message>
    <message>
        <source>相手の時間切れ: 相手のブロッカーが一つ減りました</source>
        <translation>The opponent&apos;s time ran out: they lose a blocker</translation>
    </message>
    <message>
        <source>「ゲームを主催」か「ゲームに参加」で開始</source>
        <translation>Start with Host game or Join game</translation>
    </message>
    <message>
        <source>考えています…（Esc で中止）</source>
        <translation>Thinking… (Esc stops)</translation>
    </message>
    <message>
        <source>手 %1 / %2</source>
        <translation>Move %1 / %2</translation>
    </message>
    <message>
        <source>相手の離脱で終了</source>
        <translation>Ended: the opponent left</translation>
    </message>
    <message>
        <source>中断</source>
        <translation>Abandoned</translation>
    </message>
    <message>
        <source>%1（時間切れ）</source>
        <translation>%1 (on time)</translation>
    </message>
    <message>
        <source>棋譜を保存しました: %1</source>
        <translation>Record saved: %1</translation>
    </message>
    <message>
        <source>CPUレベル Master: 先を読んで打つ最も強いレベル</source>
        <translation>CPU level Master: the strongest, which reads ahead</translation>
    </message>
    <message>
        <source>左側（赤）の勝率</source>
        <translation>Left side&apos;s (red) chances</translation>
    </message>
    <message>
        <source>手 %1: %2</source>
        <translation>Move %1: %2</translation>
    </message>
    <message>
        <source>座標を表示(&amp;D)</source>
        <translation>Show Coor&amp;dinates</translation>
    </message>
    <message>
        <source>About(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>駒に印も描きます（左の側に点、右の側に×）。赤と青を見分けにくい人も、どちらの駒かが分かります</source>
        <translation>Draws a sign on the pieces as well (a dot on the left side&apos;s, a cross on the right side&apos;s), so that players who tell red and blue apart badly still see whose piece it is</translation>
    </message>
    <message>
        <source>盤の上に列の A～K、左に行の 1～11 を表示します。ヒントや解析は升目をこの名前（D3 など）で示します</source>
        <translation>Writes the columns A-K along the top of the board and the rows 1-11 down its left side; the hint and the analysis name cells this way (D3 and so on)</translation>
    </message>
    <message>
        <source>Elo が 100 高い側は、およそ 64 % のゲームに勝ちます</source>
        <translation>100 Elo more ≈ 64 % of games won</translation>
    </message>
    <message>
        <source>11×11 の盤（四隅は使えません）で、二人が交互に打ちます。
自分の手番には、ブロッカー（右ボタン）を好きなだけ置いてから、駒（左ボタン）を一つ置きます。ブロッカーはどちらの駒でもなく、置いた人の手番は続きます。
自分の駒四つが正方形の四隅に並べば勝ちです。正方形は傾いていてもかまいません。
両者が駒 20 個を置き切ったときは、ブロッカーを多く残した側の勝ちです。

キーボード: 矢印キーでカーソルを動かし、Enter か Space で駒、B でブロッカーを置きます。

元に戻す (Ctrl+Z): 直前の一手を取り消します（オンライン対戦を除く）。
ヒント (Ctrl+H): 四角の印にブロッカー、塗った丸に駒を勧め、緑の輪でほかの候補を示します。Esc で消えます。
棋譜: 終わったゲームは自動で残ります。棋譜を開くと再生になり、← → で一手ずつ、Home と End で最初と最後へ進みます。
棋譜を解析: 各手の勝率をグラフにし、悪手に ?!、?、?? の印を付けます。グラフの点をクリックするとその手を表示します。
升目の名前: 列 A～K と行 1～11 で D3 のように呼びます（オプション &gt; 座標を表示）。
招待リンク: 主催者がコピーした vexa://アドレス:ポート を開くと、そのゲームに参加します。</source>
        <translation>An 11 x 11 board (its four corners cannot be used); two players move in turn.
On your turn, place as many blockers (right button) as you like, then one piece (left button). A blocker belongs to neither side, and the turn stays with whoever placed it.
Four of your pieces on the corners of a square win. The square may be tilted.
When both sides have placed all 20 pieces, the side with more blockers left wins.

Keyboard: the arrow keys move the cursor; Enter or Space places a piece, B a blocker.

Undo (Ctrl+Z): takes back the last placement (not online).
Hint (Ctrl+H): a green square marks each blocker and a filled disc the piece it suggests; green rings are other candidates. Esc clears it.
Game records: every game that ends is kept. Open one to replay it: ← → step one placement, Home and End go to the start and the end.
Analyse Game: graphs each turn&apos;s chances and marks weak turns ?!, ? and ??. Click a point of the graph to see that turn.
Cell names: columns A-K and rows 1-11 name a cell, such as D3 (Options &gt; Show Coordinates).
Invitation links: opening a vexa://ADDRESS:PORT link the host copied joins that game.</translation>
    </message>
    <message>
        <source>オンラインロビー(&amp;L)...</source>
        <translation>Online &amp;Lobby...</translation>
    </message>
    <message>
        <source>ロビーの設定(&amp;Y)...</source>
        <translation>Lobb&amp;y settings...</translation>
    </message>
    <message>
        <source>赤</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>青</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>%1の勝率 %2 → %3, 最善 %4</source>
        <translation>%1&apos;s chance to win %2 → %3, best %4</translation>
    </message>
    <message>
        <source>ヒント %1（勝率 %2）: 四角の印にブロッカー、塗った丸に駒。緑の輪はほかの候補で、数字は打ったあとの勝率です</source>
        <translation>Hint %1 (chance to win %2): blockers on the squares, the piece on the filled disc. Green rings mark the other candidates; the numbers are the chances to win after each</translation>
    </message>
    <message>
        <source>相手から規則に反する手が届きました。接続を終了します</source>
        <translation>The opponent sent a move the rules do not allow; the connection is closed</translation>
    </message>
</context>
<context>
    <name>vexa::app::Form3</name>
    <message>
        <source>対戦相手を待っています・・・</source>
        <translation>Waiting for an opponent...</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>招待リンクをコピー</source>
        <translation>Copy invitation link</translation>
    </message>
    <message>
        <source>相手が接続を拒否しました</source>
        <translation>The host refused the connection</translation>
    </message>
    <message>
        <source>時間内に応答がありませんでした</source>
        <translation>No answer in time</translation>
    </message>
    <message>
        <source>ホスト名が見つかりません</source>
        <translation>Host name not found</translation>
    </message>
    <message>
        <source>ネットワークに到達できません</source>
        <translation>The network is unreachable</translation>
    </message>
    <message>
        <source>このマシンにはネットワークのアドレスがありません</source>
        <translation>This machine has no network address</translation>
    </message>
</context>
<context>
    <name>vexa::app::Form4</name>
    <message>
        <source>ゲーム設定</source>
        <translation>Game Settings</translation>
    </message>
    <message>
        <source>あなた</source>
        <translation>You</translation>
    </message>
    <message>
        <source>先攻</source>
        <translation>First</translation>
    </message>
    <message>
        <source>対戦相手</source>
        <translation>Opponent</translation>
    </message>
    <message>
        <source>ゲームモード</source>
        <translation>Game mode</translation>
    </message>
    <message>
        <source>制限時間</source>
        <translation>Time limit</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>ゲームスタート</source>
        <translation>Start game</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
</context>
<context>
    <name>vexa::app::Form6</name>
    <message>
        <source>Vexa with Onlineにようこそ</source>
        <translation>Welcome to Vexa with Online</translation>
    </message>
    <message>
        <source>あなたのプレイヤーネームを入力してください</source>
        <translation>Please enter your player name</translation>
    </message>
    <message>
        <source>プレイヤーネームは空白ではいけません</source>
        <translation>The player name must not be empty</translation>
    </message>
</context>
<context>
    <name>vexa::app::Form7</name>
    <message>
        <source>ホストの応答を待っています</source>
        <translation>Waiting for the host</translation>
    </message>
</context>
<context>
    <name>vexa::app::Form8</name>
    <message>
        <source>プレイヤーネームの変更</source>
        <translation>Change Player Name</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>vexa::app::HostOutreach</name>
    <message>
        <source>ルーターにポートの転送を頼んでいます・・・</source>
        <translation>Asking the router to forward the ports...</translation>
    </message>
    <message>
        <source>ルーターが応答しません。ポート %1 と %2 を手動で転送してください</source>
        <translation>No router answered: forward ports %1 and %2 to this machine by hand</translation>
    </message>
    <message>
        <source>外部アドレス: %1 (相手に伝えてください)</source>
        <translation>External address: %1 (give it to your opponent)</translation>
    </message>
    <message>
        <source>外部アドレス: %1 (ルーターはポート %2 の代わりにこのポートを割り当てました)</source>
        <translation>External address: %1 (the router gave this port instead of %2)</translation>
    </message>
    <message>
        <source>LAN %1</source>
        <translation>LAN %1</translation>
    </message>
    <message>
        <source>IPv6 %1</source>
        <translation>IPv6 %1</translation>
    </message>
    <message>
        <source>このマシン: %1</source>
        <translation>This machine: %1</translation>
    </message>
    <message>
        <source>このネットワークの中だけで使えるリンクです</source>
        <translation>This link works on this network only</translation>
    </message>
</context>
<context>
    <name>vexa::app::LanGamesDialog</name>
    <message>
        <source>LAN のゲーム</source>
        <translation>Games on this network</translation>
    </message>
    <message>
        <source>ゲームを探しています・・・</source>
        <translation>Looking for games...</translation>
    </message>
    <message>
        <source>参加</source>
        <translation>Join</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>(名前なし)</source>
        <translation>(no name)</translation>
    </message>
    <message>
        <source>ゲーム %1 件 (これ以上は表示しません)</source>
        <translation>%1 games (no more are listed)</translation>
    </message>
    <message>
        <source>ゲーム %1 件</source>
        <translation>%1 games</translation>
    </message>
    <message>
        <source>このネットワークのゲームを探せません。相手のアドレスを入力して参加してください (Avahi が動いていません)</source>
        <translation>Games on this network cannot be searched for. Type the host&apos;s address to join (Avahi is not running)</translation>
    </message>
</context>
<context>
    <name>vexa::app::LobbySettingsDialog</name>
    <message>
        <source>ロビーの設定</source>
        <translation>Lobby settings</translation>
    </message>
    <message>
        <source>lobby@conference.サーバー</source>
        <translation>lobby@conference.server</translation>
    </message>
    <message>
        <source>システムの証明書</source>
        <translation>the system&apos;s certificates</translation>
    </message>
    <message>
        <source>サーバー</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>アカウント</source>
        <translation>Account</translation>
    </message>
    <message>
        <source>パスワード</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>部屋</source>
        <translation>Room</translation>
    </message>
    <message>
        <source>CA ファイル</source>
        <translation>CA file</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>変えるときだけ入力</source>
        <translation>Only to change it</translation>
    </message>
    <message>
        <source>匿名でログイン (サーバーが許す場合。アカウントは部屋での名前)</source>
        <translation>Log in anonymously (where the server allows it; the account is the name in the room)</translation>
    </message>
</context>
<context>
    <name>vexa::app::LobbyWindow</name>
    <message>
        <source>ロビーに入りました: %1</source>
        <translation>In the lobby: %1</translation>
    </message>
    <message>
        <source>ロビーに入れません: %1</source>
        <translation>Cannot enter the lobby: %1</translation>
    </message>
    <message>
        <source>オンラインロビー</source>
        <translation>Online Lobby</translation>
    </message>
    <message>
        <source>主催者</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>モード</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>バージョン</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>待ち時間</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>ノーマル</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>エキサイト (秒)</source>
        <translation>Excite (seconds)</translation>
    </message>
    <message>
        <source>ゲームを主催</source>
        <translation>Host game</translation>
    </message>
    <message>
        <source>チャット</source>
        <translation>Chat</translation>
    </message>
    <message>
        <source>ロビーに入っています・・・ (%1)</source>
        <translation>Entering the lobby... (%1)</translation>
    </message>
    <message>
        <source>ゲームを主催しています。対戦相手を待っています・・・</source>
        <translation>Hosting a game. Waiting for an opponent...</translation>
    </message>
    <message>
        <source>エキサイト %1秒</source>
        <translation>Excite %1 s</translation>
    </message>
    <message>
        <source>%1 さんに参加を申し込みました・・・</source>
        <translation>Asked %1 to join...</translation>
    </message>
    <message>
        <source>直接接続</source>
        <translation>direct connection</translation>
    </message>
    <message>
        <source>直接つながりません。中継サーバー経由で接続しています・・・</source>
        <translation>No direct connection. Connecting through the relay server...</translation>
    </message>
    <message>
        <source>中継サーバー経由</source>
        <translation>through the relay server</translation>
    </message>
    <message>
        <source>中継サーバーで接続できません: %1</source>
        <translation>Cannot connect through the relay server: %1</translation>
    </message>
</context>
<context>
    <name>vexa::app::NameCheck</name>
    <message>
        <source>このプレイヤーネームはオンライン対戦の相手に正しく届きません。
「Name 」「Optn 」「Opt2 」「LimS 」「StTn 」「PutU 」「PutW 」（語の後に空白）を含む名前は使えません。</source>
        <translation>This player name would not reach an online opponent intact.
Names containing &quot;Name &quot;, &quot;Optn &quot;, &quot;Opt2 &quot;, &quot;LimS &quot;, &quot;StTn &quot;, &quot;PutU &quot; or &quot;PutW &quot; (the word followed by a blank) cannot be used.</translation>
    </message>
    <message>
        <source>このプレイヤーネームは記録ファイルに保存できません。
改行、先頭の「&quot;」、「,」と「&quot;」の両方を含む名前、Shift_JISで表せない文字は使えません。</source>
        <translation>This player name cannot be stored in the records file.
Line breaks, a leading &quot;, names containing both , and &quot;, and characters Shift_JIS cannot represent are not allowed.</translation>
    </message>
</context>
<context>
    <name>vexa::app::RecordsPanel</name>
    <message>
        <source>勝率 0 %</source>
        <translation>Win rate 0 %</translation>
    </message>
    <message>
        <source>勝率 %1 %</source>
        <translation>Win rate %1 %</translation>
    </message>
    <message numerus="yes">
        <source>%1 戦</source>
        <translation>
            <numerusform>%1 game</numerusform>
            <numerusform>%1 games</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 勝</source>
        <translation>
            <numerusform>%1 win</numerusform>
            <numerusform>%1 wins</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 負</source>
        <translation>
            <numerusform>%1 loss</numerusform>
            <numerusform>%1 losses</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 引き分け</source>
        <translation>
            <numerusform>%1 draw</numerusform>
            <numerusform>%1 draws</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>vexa::app::TurnLamp</name>
    <message>
        <source>手番</source>
        <translation>TURN</translation>
    </message>
</context>
</TS>
