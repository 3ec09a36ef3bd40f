#include "app/console/console_tooltips.h"

#include <QWidget>

namespace {

struct Tip {
    const char* control;
    const char* tip;
};

// Every control the operator can press, type in or read a state from. A press on the picture
// buttons takes the left and the right mouse button; the reveal order names which placing
// appears first.
constexpr Tip kTips[] = {
    // The top panel.
    {"BitBtn30", "プログラムを終了（確認あり。既定は「いいえ」）。会場の画面も消えます"},
    {"OnAirLabel", "会場の画面に今出ているもの。ホールド中は「準備」がプレビューの内容"},
    {"NextStepLabel", "クリッカー（Page Down・→・B）を押したときに起こること"},
    // The data folder and the programme.
    {"Label59", "データフォルダーを選ぶパネルを開く"},
    {"Label61", "使用中のデータフォルダー"},
    {"BitBtn29", "メンテナンス: タイトル・フォント・基本色・表示位置、Data Reset"},
    {"BitBtn33", "pgm.txt を読み直して進行メッセージを表示"},
    {"BitBtn32", "時計表示の入／切（ロゴと入れ替え）"},
    {"Label63", "時計表示: Yes で入"},
    {"Button12", "進行メッセージの切り替え: 現在の項目のみ（単独）／現在と次"},
    {"Label21", "単独: Yes で現在の項目のみ"},
    {"D_TypeS", "進行メッセージ: 競技名とラウンドを一行に"},
    {"D_TypeB", "進行メッセージ: ラウンドを別の行にして文字を大きく"},
    // The announcements.
    {"BitBtn11", "下の入力欄のメッセージを会場に表示"},
    {"Edit14", "会場に出す任意のメッセージ（Say ! で表示）"},
    {"BitBtn6", "お知らせ画面「休憩」を会場に表示"},
    {"BitBtn7", "お知らせ画面「昼休み」を会場に表示"},
    {"BitBtn8", "お知らせ画面「セレモニー」を会場に表示"},
    {"BitBtn20", "お知らせ画面「ダンスタイム」を会場に表示"},
    {"BitBtn9", "お知らせ画面「少しお待ち下さい」を会場に表示"},
    {"BitBtn12", "お知らせ画面「運用調整中」を会場に表示"},
    {"BitBtn17", "お知らせ画面「表彰式」を会場に表示"},
    {"BitBtn10", "お知らせ画面「さよなら」を会場に表示"},
    // The award.
    {"ComboBox1", "表彰するカテゴリー"},
    {"RadioButton4", "カテゴリーの一覧を競技区分の順に並べる"},
    {"RadioButton5", "カテゴリーの一覧を決勝の実施順に並べる"},
    {"BitBtn21", "左クリック: 次のカテゴリー ／ 右クリック: 前のカテゴリー"},
    {"CheckBox2", "入: 進行が決勝に進むと、そのカテゴリーを表彰の一覧で選ぶ"},
    {"BitBtn13", "選んだカテゴリーの結果枠を会場に表示（表彰の準備）"},
    {"BitBtn15", "表彰: 次の順位を表示（Ready の後に押す）"},
    {"RadioButton1", "表彰: Go ! の１回目で全順位を一度に表示"},
    {"RadioButton2", "表彰: 最下位から順に表示し、１位が最後（昇順↑）"},
    {"RadioButton3", "表彰: １位から順に表示し、最下位が最後（降順↓）"},
    {"Image5", "結果表示の手順"},
    // The programme list.
    {"Image6", "クリックした項目をすぐに現在の項目にする（会場の表示も変わります）。"
               "ホイールでスクロール"},
    {"ScrollBar1", "進行リストのスクロール（ホイールでも）"},
    {"ScheduleLabel", "見込み: 今の進み方（1 ヒートあたりの実測）から計算した終了時刻と、最初の見込みとの差。"
                      "リストの「ごろ」は各項目の開始見込み（灰色は既定の長さで計算、黄色は時刻指定）"},
    {"BitBtn18", "進行リストと表彰欄の切り替え"},
    // The maintenance panel.
    {"BitBtn19", "データを全部読み直す（Conf.txt, Mem.csv, seqdat.csv, pgm.txt）"},
    {"Edit4", "トップタイトル１行目（Enter で一時的に反映）"},
    {"Edit5", "トップタイトル２行目（Enter で一時的に反映）"},
    {"Edit6", "トップタイトル３行目（Enter で一時的に反映）"},
    {"Edit7", "Welcome タイトル１行目（Enter で一時的に反映）"},
    {"Edit8", "Welcome タイトル２行目（Enter で一時的に反映）"},
    {"Edit9", "Welcome タイトル３行目（Enter で一時的に反映）"},
    {"Edit11", "トップタイトルのフォント（Enter で反映）"},
    {"Edit10", "タイトルのフォント（Enter で反映）"},
    {"Edit13", "メッセージのフォント（Enter で反映）"},
    {"Edit2", "データのフォント（Enter で反映）"},
    {"Edit12", "基本色（16 進の BGR、例 004000。Enter で反映）"},
    {"Edit1", "会場画面の左端の位置（Enter で反映）"},
    {"Button26", "会場画面を左へ 1 ドット"},
    {"Button27", "会場画面を右へ 1 ドット"},
    {"Edit3", "会場画面の上端の位置（Enter で反映）"},
    {"Button28", "会場画面を上へ 1 ドット"},
    {"Button29", "会場画面を下へ 1 ドット"},
    {"BitBtn31", "メンテナンスを閉じて元の画面に戻る"},
    // The preview.
    {"Image1", "会場画面のプレビュー（半分の大きさ）"},
    {"ImageW", "会場画面のプレビュー（半分の大きさ）"},
    {"Image2", "タイトルバナーのプレビュー"},
    {"Image3", "時計のプレビュー"},
    {"Image4", "ロゴ"},
    // The event chooser and the memo.
    {"ComboBox3", "競技を選ぶ（右の「ヒート連動」が入ならそのヒートを表示）"},
    {"Button15", "前の競技"},
    {"Button16", "次の競技"},
    {"CheckBox1", "入: 競技を選ぶとそのヒートを会場に表示"},
    {"ComboBox2", "（未使用）"},
    {"Memo1", "メモ: 読み込みの注意など（新しい画面で消えます）"},
    // The progress panel.
    {"Button17", "画面ホールド: 会場の画面をそのままにして、次の画面をプレビューで準備。"
                 "もう一度押すと準備した画面を会場に出す"},
    {"Label3", "画面ホールド: Yes でホールド中"},
    {"BitBtn16", "左クリック: 次の進行項目 ／ 右クリック: 前の進行項目 ／ 中クリック: 表示の連動だけ更新\n"
                 "キー: Page Down・→・B / Page Up・←（ヒート表示以外のとき）"},
    {"Button20", "最終ダンスの印の入／切（ヒート表示の「Last Dance」）"},
    {"Label29", "最終ダンス: Yes で入"},
    {"BitBtn5", "現在の競技のヒートを会場に表示（最初のヒートから）"},
    {"BitBtn28", "左クリック: 次のヒート ／ 右クリック: 前のヒート\n"
                 "キー: Page Down・→・B で次、Page Up・← で前（ヒート表示のとき）"},
    {"Button1", "ヒート表示にダンス名を出すかどうかの入／切"},
    {"Label91", "ダンス名: Yes で表示"},
    {"Label5", "会場に出ているヒートの番号"},
    {"Label92", "会場に出ているダンスの番号"},
    {"Label18", "このラウンドのヒート数"},
    {"BitBtn14", "左クリック: 決勝進出者 ／ 右クリック: 第２フロアの決勝進出者"},
    {"BitBtn2", "クリーン画面（基本色のみ）"},
    {"BitBtn1", "ようこそ画面（Welcome タイトル）"},
    {"BitBtn3", "審査員の紹介"},
    {"BitBtn4", "左クリック: 現在と次の進行 ／ 右クリック: 現在の進行のみ"},
    // The data folder panel.
    {"DriveComboBox1", "データフォルダーのパス: 入力・貼り付けして Enter、または下の一覧から選ぶ"},
    {"DirectoryListBox1", "フォルダーの一覧: ダブルクリックで開く"},
    {"Button22", "このフォルダーをデータフォルダーにして全部読み直す"},
    {"Button30", "選ばずに閉じる（今のデータフォルダーのまま）"},
};

}  // namespace

void ApplyConsoleTooltips(QWidget* console) {
    for (const Tip& t : kTips) {
        if (auto* w = console->findChild<QWidget*>(QString::fromLatin1(t.control))) {
            w->setToolTip(QString::fromUtf8(t.tip));
        }
    }
}
