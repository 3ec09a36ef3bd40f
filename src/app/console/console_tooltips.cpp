#include "app/console/console_tooltips.h"

#include <QWidget>

void ApplyConsoleTooltips(QWidget* console) {
    static const struct {
        const char* control;
        const char* tip;
    } kTips[] = {
        {"BitBtn30", "プログラムを終了（確認あり）"},
        {"BitBtn29", "メンテナンス: タイトル・フォント・基本色・表示位置、Data Reset"},
        {"BitBtn31", "メンテナンスを閉じる"},
        {"BitBtn19", "データを全部読み直す（Conf.txt, Mem.csv, seqdat.csv, pgm.txt）"},
        {"BitBtn33", "pgm.txt を読み直して進行メッセージを表示"},
        {"BitBtn32", "時計表示の入／切（ロゴと入れ替え）"},
        {"BitBtn11", "下の入力欄のメッセージを表示"},
        {"BitBtn6", "お知らせ画面: 休憩"},
        {"BitBtn7", "お知らせ画面: 昼休み"},
        {"BitBtn8", "お知らせ画面: 式典"},
        {"BitBtn9", "お知らせ画面: お待ちください"},
        {"BitBtn12", "お知らせ画面: チェック"},
        {"BitBtn20", "お知らせ画面: ダンスタイム"},
        {"BitBtn17", "お知らせ画面: 表彰式"},
        {"BitBtn10", "お知らせ画面: お帰りのあいさつ"},
        {"BitBtn21", "左クリック: 次のカテゴリー ／ 右クリック: 前のカテゴリー"},
        {"BitBtn13", "選んだカテゴリーの結果枠を表示（表彰の準備）"},
        {"BitBtn15", "表彰: 次の順位を表示（Ready の後）"},
        {"BitBtn18", "進行リストと表彰欄の切り替え"},
        {"BitBtn16",
         "左クリック: 次の進行項目 ／ 右クリック: 前の進行項目\n"
         "キー: Page Down / Page Up（ヒート表示以外のとき）"},
        {"BitBtn5", "現在の競技のヒートを表示"},
        {"BitBtn28",
         "左クリック: 次のヒート ／ 右クリック: 前のヒート\n"
         "キー: Page Down・→・B で次、Page Up・← で前"},
        {"BitBtn14", "左クリック: 決勝進出者 ／ 右クリック: 第２フロアの決勝進出者"},
        {"BitBtn2", "クリーン画面（基本色のみ）"},
        {"BitBtn1", "ようこそ画面"},
        {"BitBtn3", "審査員の紹介"},
        {"BitBtn4", "左クリック: 現在と次の進行 ／ 右クリック: 現在の進行のみ"},
    };
    for (const auto& t : kTips) {
        if (auto* w = console->findChild<QWidget*>(QString::fromLatin1(t.control))) {
            w->setToolTip(QString::fromUtf8(t.tip));
        }
    }
}
