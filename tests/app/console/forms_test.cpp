// The two window layouts as built from their forms, and the small widget classes they use.

#include <QAbstractButton>
#include <QImage>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <memory>
#include <set>
#include <utility>

#include "app/widgets/button_glyphs.h"
#include "app/widgets/image_control.h"
#include "app/widgets/picture_button.h"
#include "app/widgets/press_label.h"
#include "core/platform/font_substitution.h"
#include "ui_dsp_main_form.h"
#include "ui_scr_form.h"

namespace {

struct ClassGroup {
    const char* form;
    const char* className;
    const char* names;  // blank separated
};

// Every named control of both windows with the class the behaviour code expects.
const ClassGroup kControls[] = {
    {"dsp", "QFrame",
     "Panel1 Panel2 Panel3 Panel4 Panel5 Panel6 Panel7 Panel8 Panel9 Panel10 "
     "Panel11 PanelW"},
    {"dsp", "QLabel",
     "Panel12 Label1 Label2 Label3 Label4 Label5 Label6 Label7 Label8 Label9 Label10 Label11 "
     "Label12 Label13 Label18 Label20 Label21 Label25 Label26 Label27 Label29 Label30 Label31 "
     "Label32 Label33 Label34 Label35 Label36 Label37 Label38 Label39 Label40 Label41 Label42 "
     "Label45 Label46 Label47 Label48 Label49 Label50 Label51 Label52 Label53 Label54 Label55 "
     "Label56 Label57 Label60 Label61 Label62 Label63 Label64 Label65 Label66 Label67 Label68 "
     "Label69 Label70 Label71 Label72 Label73 Label74 Label75 Label76 Label77 Label78 Label79 "
     "Label80 Label81 Label82 Label83 Label84 Label85 Label86 Label87 Label88 Label89 Label90 "
     "Label91 Label92 Label93 Label94 Label96 Label97 Label98 Label99 Label100 Label101 Label102 "
     "Label103 Label104 Label105 Label106 Label107 Label108 Label126"},
    {"dsp", "PressLabel", "Label59"},
    {"dsp", "PictureButton",
     "BitBtn1 BitBtn2 BitBtn3 BitBtn4 BitBtn5 BitBtn6 BitBtn7 BitBtn8 BitBtn9 BitBtn10 BitBtn11 "
     "BitBtn12 BitBtn13 BitBtn14 BitBtn15 BitBtn16 BitBtn17 BitBtn18 BitBtn19 BitBtn20 BitBtn21 "
     "BitBtn28 BitBtn29 BitBtn30 BitBtn31 BitBtn32 BitBtn33"},
    {"dsp", "QPushButton",
     "Button1 Button12 Button15 Button16 Button17 Button20 Button22 Button26 Button27 Button28 "
     "Button29 Button30"},
    {"dsp", "QLineEdit",
     "Edit1 Edit2 Edit3 Edit4 Edit5 Edit6 Edit7 Edit8 Edit9 Edit10 Edit11 Edit12 Edit13 Edit14"},
    {"dsp", "QComboBox", "ComboBox1 ComboBox2 ComboBox3 DriveComboBox1"},
    {"dsp", "QCheckBox", "CheckBox1 CheckBox2"},
    {"dsp", "QRadioButton",
     "RadioButton1 RadioButton2 RadioButton3 RadioButton4 RadioButton5 D_TypeS D_TypeB"},
    {"dsp", "QGroupBox",
     "GroupBox1 GroupBox2 GroupBox3 GroupBox4 GroupBox5 GroupBox6 GroupBox7 GroupBox8"},
    {"dsp", "QScrollBar", "ScrollBar1"},
    {"dsp", "QPlainTextEdit", "Memo1"},
    {"dsp", "QTreeView", "DirectoryListBox1"},
    {"dsp", "ImageControl", "Image1 Image2 Image3 Image4 Image5 Image6 ImageW"},
    {"scr", "QFrame", "Panel1 Panel2 Panel5 PanelW"},
    {"scr", "ImageControl", "Image1 Image2 Image3 Image9 ImageW"},
};

struct Placement {
    const char* form;
    const char* name;
    const char* parent;
    QRect rect;  // width or height -1: not fixed by the design
};

const Placement kPlacements[] = {
    {"dsp", "Panel7", "DspMain", {0, 0, 420, 50}},
    {"dsp", "BitBtn30", "Panel7", {5, 5, 75, 40}},
    {"dsp", "Panel8", "DspMain", {0, 51, 420, 674}},
    {"dsp", "Panel6", "DspMain", {0, 51, 420, 674}},
    {"dsp", "Panel4", "DspMain", {10, 115, 398, 376}},
    {"dsp", "Panel1", "DspMain", {421, 0, 520, 392}},
    {"dsp", "PanelW", "DspMain", {421, 0, 520, 392}},
    {"dsp", "Panel9", "DspMain", {420, 392, 521, 333}},
    {"dsp", "Panel2", "DspMain", {421, 392, -1, -1}},
    {"dsp", "Panel12", "DspMain", {484, 17, 400, 60}},
    {"dsp", "Panel5", "Panel1", {4, 5, 512, 84}},
    {"dsp", "Image1", "Panel1", {4, 89, 512, 300}},
    {"dsp", "Image4", "Panel5", {8, 14, 60, 60}},
    {"dsp", "Image2", "Panel5", {74, 0, 430, 84}},
    {"dsp", "Panel3", "Panel1", {8, 5, 68, 81}},
    {"dsp", "Image3", "Panel3", {2, 1, 65, 80}},
    {"dsp", "ImageW", "PanelW", {4, 4, 512, 384}},
    {"dsp", "Label59", "Panel8", {10, 8, 216, 28}},
    {"dsp", "Label61", "Panel8", {15, 41, 394, 20}},
    {"dsp", "Label60", "Panel8", {240, 11, 170, 21}},
    {"dsp", "BitBtn29", "Panel8", {15, 95, 52, 52}},
    {"dsp", "BitBtn33", "Panel8", {75, 94, 52, 52}},
    {"dsp", "BitBtn32", "Panel8", {187, 94, 52, 52}},
    {"dsp", "Label63", "Panel8", {186, 74, -1, -1}},
    {"dsp", "Button12", "Panel8", {278, 84, -1, -1}},
    {"dsp", "Label21", "Panel8", {347, 84, -1, -1}},
    {"dsp", "D_TypeS", "GroupBox7", {-1, -1, -1, -1}},
    {"dsp", "D_TypeB", "GroupBox7", {-1, -1, -1, -1}},
    {"dsp", "BitBtn11", "Panel8", {22, 232, 52, 52}},
    {"dsp", "BitBtn6", "Panel8", {89, 232, 52, 52}},
    {"dsp", "BitBtn7", "Panel8", {141, 232, 52, 52}},
    {"dsp", "BitBtn8", "Panel8", {193, 232, 52, 52}},
    {"dsp", "BitBtn20", "Panel8", {245, 232, 52, 52}},
    {"dsp", "BitBtn9", "Panel8", {297, 232, 52, 52}},
    {"dsp", "BitBtn12", "Panel8", {349, 232, 52, 52}},
    {"dsp", "Edit14", "Panel8", {25, 294, 373, 21}},
    {"dsp", "ComboBox1", "Panel8", {14, 371, 398, -1}},
    {"dsp", "RadioButton4", "GroupBox4", {-1, -1, -1, -1}},
    {"dsp", "RadioButton5", "GroupBox4", {-1, -1, -1, -1}},
    {"dsp", "BitBtn21", "Panel8", {218, 401, 60, 30}},
    {"dsp", "BitBtn13", "Panel8", {27, 442, 52, 52}},
    {"dsp", "BitBtn15", "Panel8", {135, 442, 52, 52}},
    {"dsp", "RadioButton1", "GroupBox1", {-1, -1, -1, -1}},
    {"dsp", "RadioButton2", "GroupBox1", {-1, -1, -1, -1}},
    {"dsp", "RadioButton3", "GroupBox1", {-1, -1, -1, -1}},
    {"dsp", "Image5", "Panel8", {14, 501, 400, 164}},
    {"dsp", "Panel10", "Panel8", {0, 328, 420, 345}},
    {"dsp", "Label1", "Panel10", {-1, -1, -1, -1}},
    {"dsp", "Panel11", "Panel10", {-1, 35, 419, 301}},
    {"dsp", "Image6", "Panel11", {4, 0, 420, 4000}},
    {"dsp", "ScrollBar1", "Panel11", {397, 1, 16, 299}},
    {"dsp", "BitBtn19", "Panel6", {11, 44, -1, -1}},
    {"dsp", "BitBtn31", "Panel6", {-1, -1, -1, -1}},
    {"dsp", "Edit4", "Panel6", {10, 134, 400, 21}},
    {"dsp", "Edit5", "Panel6", {10, 157, 400, 21}},
    {"dsp", "Edit6", "Panel6", {10, 180, 400, 21}},
    {"dsp", "Edit7", "Panel6", {10, 234, 400, 21}},
    {"dsp", "Edit8", "Panel6", {10, 257, 400, 21}},
    {"dsp", "Edit9", "Panel6", {10, 280, 400, 21}},
    {"dsp", "Edit1", "Panel6", {-1, -1, -1, -1}},
    {"dsp", "Edit3", "Panel6", {-1, -1, -1, -1}},
    {"dsp", "DriveComboBox1", "Panel4", {17, 13, 225, -1}},
    {"dsp", "DirectoryListBox1", "Panel4", {16, 45, 365, 288}},
    {"dsp", "Button22", "Panel4", {307, 10, 75, 27}},
    {"dsp", "Button30", "Panel4", {16, 341, 75, 27}},
    {"dsp", "Label69", "Panel9", {-1, -1, -1, -1}},
    {"dsp", "Button17", "Panel9", {226, 9, -1, -1}},
    {"dsp", "Label3", "Panel9", {305, 9, -1, -1}},
    {"dsp", "BitBtn16", "Panel9", {463, 36, 52, 52}},
    {"dsp", "Label67", "Panel9", {91, 37, 370, 24}},
    {"dsp", "Label68", "Panel9", {91, 63, 370, 24}},
    {"dsp", "Label70", "Panel9", {30, 37, 60, 24}},
    {"dsp", "Label71", "Panel9", {30, 63, 60, 24}},
    {"dsp", "Label72", "Panel9", {6, 37, -1, -1}},
    {"dsp", "Label73", "Panel9", {6, 63, -1, -1}},
    {"dsp", "Button20", "Panel9", {55, 93, -1, -1}},
    {"dsp", "GroupBox2", "Panel9", {177, 99, -1, -1}},
    {"dsp", "GroupBox3", "Panel9", {352, 99, -1, -1}},
    {"dsp", "Label8", "GroupBox2", {-1, -1, -1, -1}},
    {"dsp", "Label13", "GroupBox3", {-1, -1, -1, -1}},
    {"dsp", "GroupBox5", "Panel9", {176, 170, 340, 42}},
    {"dsp", "GroupBox6", "Panel9", {176, 170, 340, 42}},
    {"dsp", "GroupBox8", "Panel9", {176, 170, 340, 42}},
    {"dsp", "Label41", "GroupBox5", {-1, -1, -1, -1}},
    {"dsp", "Label54", "GroupBox6", {-1, -1, -1, -1}},
    {"dsp", "Label107", "GroupBox8", {-1, -1, -1, -1}},
    {"dsp", "BitBtn5", "Panel9", {29, 190, 52, 52}},
    {"dsp", "BitBtn28", "Panel9", {99, 190, 52, 52}},
    {"dsp", "Button1", "Panel9", {176, 220, -1, -1}},
    {"dsp", "Label101", "Panel9", {459, 221, 54, 19}},
    {"dsp", "BitBtn18", "Panel9", {18, 277, 52, 52}},
    {"dsp", "BitBtn17", "Panel9", {70, 277, 52, 52}},
    {"dsp", "BitBtn14", "Panel9", {132, 277, 52, 52}},
    {"dsp", "BitBtn2", "Panel9", {233, 277, 52, 52}},
    {"dsp", "BitBtn1", "Panel9", {293, 277, 52, 52}},
    {"dsp", "BitBtn3", "Panel9", {345, 277, 52, 52}},
    {"dsp", "BitBtn4", "Panel9", {397, 277, 52, 52}},
    {"dsp", "BitBtn10", "Panel9", {458, 277, 52, 52}},
    {"dsp", "ComboBox3", "Panel2", {-1, -1, -1, -1}},
    {"dsp", "Memo1", "Panel2", {-1, -1, -1, -1}},
    {"dsp", "CheckBox1", "Panel2", {-1, -1, -1, -1}},
    {"scr", "Panel1", "ScrForm", {0, 0, 1024, 170}},
    {"scr", "Image1", "Panel1", {16, 25, 120, 120}},
    {"scr", "Panel2", "Panel1", {8, 3, 136, 164}},
    {"scr", "Image2", "Panel2", {3, 2, 130, 160}},
    {"scr", "Image3", "Panel1", {150, 0, 860, 170}},
    {"scr", "Panel5", "ScrForm", {0, 170, 1024, 600}},
    {"scr", "Image9", "Panel5", {0, 0, 1024, 600}},
    {"scr", "PanelW", "ScrForm", {0, 0, 1024, 768}},
    {"scr", "ImageW", "PanelW", {0, 0, 1024, 768}},
};

// Designed texts that the behaviour code takes over or shows as they stand.
const std::pair<const char*, const char*> kTexts[] = {
    {"Edit11", "AR P隷書体M"},
    {"Edit10", "HG丸ｺﾞｼｯｸM-PRO"},
    {"Edit13", "HG丸ｺﾞｼｯｸM-PRO"},
    {"Edit2", "HGP創英角ｺﾞｼｯｸUB"},
    {"Edit12", "004000"},
    {"Edit1", "1436"},
    {"Edit3", "-30"},
    {"Edit14", "※ 任意のメッセージが出力可能"},
    {"Label25", ""},
    {"BitBtn30", "EXIT"},
    {"BitBtn21", "Next ↓"},
    {"BitBtn19", "Data Reset"},
    {"BitBtn31", "Back"},
    {"Label59", ">>> ↓ 該当データフォルダ "},
    {"Label60", "←( 支援ｼｽﾃﾑ同期中 )"},
    {"Label1", " 　》》》  進行情報 LIST  《《《"},
    {"Label69", " 　》》》  進行管理  《《《"},
    {"Label7", "》》》  表彰  《《《"},
    {"Label20", "↓ 結果表示手順"},
    {"Label62", " 『 PGM.txt 』 ↑ 修正後クリック"},
    {"Label97", "進行表示 補助タイトル"},
    {"Panel12", "＞＞＞　画面ホールド中　＜＜＜"},
    {"Label32", "システムメンテナンス "},
    {"Label34", "← 全てのシステムデータを再読込みします"},
    {"Label35", "　《 参照 》　トップタイトル"},
    {"Label39", "　《 参照 》　Welcome タイトル"},
    {"Label33", "※ 改行(Enter)で一時的に更新。恒久的には元ファイル編集で！"},
    {"Label36", "　《 表示 》　描画関連情報"},
    {"Label38", "[ Top  Font ]"},
    {"Label37", "[ Title Font ]"},
    {"Label66", "[ Msg  Font ]"},
    {"Label27", "[ Data Font ]"},
    {"Label64", "[ Base Color ]"},
    {"Label65", "← [ Hex  ( BGR )  ]"},
    {"Label2", "表示位置"},
    {"Label56", "Offset"},
    {"Label6", "→"},
    {"Label57", "↑"},
    {"Button26", "-"},
    {"Button27", "+"},
    {"Button28", "-"},
    {"Button29", "+"},
    {"Button22", "↓ Select"},
    {"Button30", "Cancel ×"},
    {"Button12", "単独"},
    {"Button17", "Hold Scrn"},
    {"Button20", "Last D ?"},
    {"Button1", "Dance D ?"},
    {"Button15", "- ↑"},
    {"Button16", "+ ↓"},
    {"CheckBox1", " 表示連動 →"},
    {"CheckBox2", " 表示連動 →"},
    {"RadioButton4", " 競技区分順"},
    {"RadioButton5", "決勝実施順"},
    {"RadioButton1", "同時"},
    {"RadioButton2", "昇順↑"},
    {"RadioButton3", "降順↓"},
    {"D_TypeS", "標準"},
    {"D_TypeB", "分離"},
    {"RoundSplitNote", "※ﾗｳﾝﾄﾞを分離、文字拡大 ↑"},
    {"Label74", "Title"},
    {"Label75", "Clean"},
    {"Label76", "Judge"},
    {"Label77", "Msg"},
    {"Label78", "Heat"},
    {"Label79", "Final"},
    {"Label80", "<-Award"},
    {"Label81", "Ment."},
    {"Label82", "PGM.txt"},
    {"Label83", "Clock"},
    {"Label84", "Break"},
    {"Label85", "Lunch"},
    {"Label86", "Event"},
    {"Label87", "Wait"},
    {"Label88", "Bye"},
    {"Label89", "Check"},
    {"Label90", "Say !"},
    {"Label96", "D.Time"},
    {"Label98", "Go !"},
    {"Label99", "(+/-)"},
    {"Label100", "表彰式"},
    {"Label126", "(+/-)"},
    {"Label30", "Ready"},
    {"Label31", "シャッフル"},
    {"Label93", "Heat No."},
    {"Label94", "Dance"},
    {"Label72", "A"},
    {"Label73", "B"},
    {"Label40", "スタンダード"},
    {"Label41", "W"},
    {"Label42", "T"},
    {"Label45", "V"},
    {"Label46", "F"},
    {"Label47", "Q"},
    {"Label49", "ラテン"},
    {"Label50", "S"},
    {"Label51", "C"},
    {"Label52", "R"},
    {"Label53", "P"},
    {"Label54", "J"},
    {"Label102", "団体戦"},
    {"Label103", "C"},
    {"Label104", "R"},
    {"Label105", "W"},
    {"Label106", "T"},
    {"Label107", "-"},
};

// Sibling pairs that share space by design: the upper one covers the lower.
const std::pair<const char*, const char*> kCovers[] = {
    {"Panel9", "Panel2"},       {"Panel10", "Image5"},      {"Panel10", "ComboBox1"},
    {"Panel10", "BitBtn13"},    {"Panel12", "Panel1"},      {"Panel4", "Panel8"},
    {"Panel4", "Panel6"},       {"Panel6", "Panel8"},       {"ScrollBar1", "Image6"},
    {"Panel3", "Panel5"},       {"PanelW", "Panel1"},       {"GroupBox6", "GroupBox5"},
    {"GroupBox8", "GroupBox6"}, {"GroupBox8", "GroupBox5"}, {"Panel12", "PanelW"},
};

QString Tr(const char* utf8) { return QString::fromUtf8(utf8); }

// The console form and its panels and group boxes: the widgets that hold designed controls.
QList<QWidget*> ContainersOf(QWidget* form) {
    QList<QWidget*> out{form};
    for (QWidget* w : form->findChildren<QWidget*>()) {
        const QByteArray cls = w->metaObject()->className();
        if (cls == "QFrame" || cls == "QGroupBox") out.append(w);
    }
    return out;
}

// Designed children only, not the parts a Qt widget builds for itself ("qt_..." names).
QList<QWidget*> NamedChildren(QWidget* parent) {
    QList<QWidget*> out;
    for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_")) out.append(w);
    }
    return out;
}

}  // namespace

class FormsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void controlsHaveTheirClass();
    void controlsArePlaced();
    void designedTexts();
    void initialVisibilityAndChecks();
    void coveringOrder();
    void siblingsDoNotOverlapUnlessDesigned();
    void consoleWidthShowsTheOperatorPanels();
    void builtInLogoIsAPicture();
    void pictureButtonsReportEveryMouseButton_data();
    void pictureButtonsReportEveryMouseButton();
    void pressLabelReportsMouseButton();
    void imageCanvasFollowsControlSize();
    void imageCanvasKeepsNameAndStateWhenRenamed();
    void imageFixedBitmapIgnoresResize();
    void imagePaintsCanvasUnscaledAndPictureStretched();
    void imageReportsPressPosition();
    void everyPictureButtonGetsItsOwnGlyph();

  private:
    QWidget* Root(const char* form) { return QByteArray(form) == "scr" ? &scr_ : &dsp_; }
    QList<QWidget*> Containers() { return ContainersOf(&dsp_); }
    QWidget* Find(const char* form, const char* name) {
        return Root(form)->findChild<QWidget*>(QString::fromLatin1(name));
    }

    QWidget dsp_;
    QWidget scr_;
    Ui::DspMain dspUi_;
    Ui::ScrForm scrUi_;
};

void FormsTest::initTestCase() {
    InstallFontSubstitutions();
    dspUi_.setupUi(&dsp_);
    scrUi_.setupUi(&scr_);
}

void FormsTest::controlsHaveTheirClass() {
    for (const ClassGroup& g : kControls) {
        for (const QString& name : QString::fromLatin1(g.names).split(' ', Qt::SkipEmptyParts)) {
            QWidget* w = Root(g.form)->findChild<QWidget*>(name);
            QVERIFY2(w != nullptr, qPrintable(QString("%1: %2 missing").arg(g.form, name)));
            QCOMPARE(QString::fromLatin1(w->metaObject()->className()),
                     QString::fromLatin1(g.className));
        }
    }
}

void FormsTest::controlsArePlaced() {
    for (const Placement& p : kPlacements) {
        QWidget* w = Find(p.form, p.name);
        QVERIFY2(w != nullptr, p.name);
        QCOMPARE(w->parentWidget()->objectName(), QString::fromLatin1(p.parent));
        const QRect g = w->geometry();
        const QRect want = p.rect;
        const bool placed = (want.x() == -1 || g.x() == want.x()) &&
                            (want.y() == -1 || g.y() == want.y()) &&
                            (want.width() == -1 || g.width() == want.width()) &&
                            (want.height() == -1 || g.height() == want.height());
        QVERIFY2(placed, qPrintable(QString("%1 at %2,%3 %4x%5")
                                        .arg(p.name)
                                        .arg(g.x())
                                        .arg(g.y())
                                        .arg(g.width())
                                        .arg(g.height())));
    }
    QCOMPARE(dsp_.size(), QSize(1312, 726));
    QCOMPARE(scr_.size(), QSize(1020, 768));
}

void FormsTest::designedTexts() {
    for (const auto& [name, text] : kTexts) {
        QWidget* w = Find("dsp", name);
        QVERIFY2(w != nullptr, name);
        QCOMPARE(w->property("text").toString(), Tr(text));
    }
    QCOMPARE(dspUi_.GroupBox2->title(), Tr("　Ａフロア　"));
    QCOMPARE(dspUi_.GroupBox3->title(), Tr("　Ｂフロア　"));
}

void FormsTest::initialVisibilityAndChecks() {
    const std::pair<const char*, const char*> hidden[] = {
        {"dsp", "Panel6"},    {"dsp", "Panel4"},    {"dsp", "PanelW"},    {"dsp", "Panel3"},
        {"dsp", "Panel12"},   {"dsp", "Label101"},  {"dsp", "Label31"},   {"dsp", "GroupBox2"},
        {"dsp", "GroupBox3"}, {"dsp", "GroupBox5"}, {"dsp", "GroupBox6"}, {"dsp", "GroupBox8"},
        {"scr", "PanelW"},
    };
    const std::pair<const char*, const char*> shown[] = {
        {"dsp", "Panel7"}, {"dsp", "Panel8"},  {"dsp", "Panel1"},  {"dsp", "Panel9"},
        {"dsp", "Panel2"}, {"dsp", "Panel10"}, {"dsp", "Label60"}, {"dsp", "Image4"},
        {"scr", "Panel1"}, {"scr", "Panel2"},  {"scr", "Image1"},  {"scr", "Panel5"},
    };
    for (const auto& [form, name] : hidden) QVERIFY2(Find(form, name)->isHidden(), name);
    for (const auto& [form, name] : shown) QVERIFY2(!Find(form, name)->isHidden(), name);

    const std::pair<const char*, bool> checks[] = {
        {"RadioButton4", true},  {"RadioButton5", false}, {"RadioButton1", true},
        {"RadioButton2", false}, {"RadioButton3", false}, {"D_TypeS", true},
        {"D_TypeB", false},      {"CheckBox1", true},     {"CheckBox2", true},
    };
    for (const auto& [name, checked] : checks) {
        auto* b = qobject_cast<QAbstractButton*>(Find("dsp", name));
        QVERIFY2(b != nullptr, name);
        QCOMPARE(b->isChecked(), checked);
    }
    // The radio groups are independent: choosing a reveal order leaves the list order alone.
    dspUi_.RadioButton3->setChecked(true);
    QVERIFY(dspUi_.RadioButton4->isChecked());
    QVERIFY(dspUi_.D_TypeS->isChecked());
    QVERIFY(!dspUi_.RadioButton1->isChecked());
    dspUi_.RadioButton1->setChecked(true);
}

void FormsTest::coveringOrder() {
    // Later siblings are painted over earlier ones.
    for (const auto& [upper, lower] : kCovers) {
        QWidget* u = Find("dsp", upper);
        QWidget* l = Find("dsp", lower);
        QVERIFY2(u && l && u->parent() == l->parent(), upper);
        const QObjectList& kids = u->parent()->children();
        QVERIFY2(kids.indexOf(u) > kids.indexOf(l),
                 qPrintable(QString("%1 over %2").arg(upper, lower)));
    }
    const QObjectList& band = scrUi_.Panel1->children();
    QVERIFY(band.indexOf(scrUi_.Panel2) > band.indexOf(scrUi_.Image1));
}

void FormsTest::siblingsDoNotOverlapUnlessDesigned() {
    std::set<std::pair<QString, QString>> allowed;
    for (const auto& [a, b] : kCovers) {
        allowed.insert({Tr(a), Tr(b)});
        allowed.insert({Tr(b), Tr(a)});
    }
    for (QWidget* parent : Containers()) {
        const QList<QWidget*> kids = NamedChildren(parent);
        for (qsizetype i = 0; i < kids.size(); ++i) {
            for (qsizetype j = i + 1; j < kids.size(); ++j) {
                QWidget* a = kids[i];
                QWidget* b = kids[j];
                // The programme list covers the whole award section while it is shown.
                if (a->objectName() == "Panel10" || b->objectName() == "Panel10") continue;
                if (allowed.count({a->objectName(), b->objectName()}) != 0) continue;
                QVERIFY2(
                    !a->geometry().intersects(b->geometry()),
                    qPrintable(QString("%1 overlaps %2 in %3")
                                   .arg(a->objectName(), b->objectName(), parent->objectName())));
            }
        }
    }
}

void FormsTest::consoleWidthShowsTheOperatorPanels() {
    // The console is shown 948 pixels wide: the operator panels must lie inside that width, and
    // every control must lie inside its panel (the tall programme list is scrolled by moving it).
    const QList<QWidget*> operatorPanels{dspUi_.Panel7, dspUi_.Panel8, dspUi_.Panel1, dspUi_.Panel9,
                                         dspUi_.Panel12};
    for (QWidget* panel : operatorPanels) {
        QVERIFY2(panel->geometry().right() < 948 - 4, qPrintable(panel->objectName()));
    }
    for (QWidget* parent : Containers()) {
        if (parent == &dsp_) continue;
        for (QWidget* w : NamedChildren(parent)) {
            const QString name = w->objectName();
            if (name == "Image6" || name == "Panel11") continue;
            QVERIFY2(parent->rect().contains(w->geometry()),
                     qPrintable(name + " leaves " + parent->objectName()));
        }
    }
}

void FormsTest::builtInLogoIsAPicture() {
    const QImage logo = ImageControl::BuiltInLogo();
    QVERIFY(!logo.isNull());
    QCOMPARE(logo.width(), logo.height());
    std::set<QRgb> colours;
    for (int y = 0; y < logo.height(); y += 4) {
        for (int x = 0; x < logo.width(); x += 4) colours.insert(logo.pixel(x, y));
    }
    QVERIFY(colours.size() > 8);
}

void FormsTest::pictureButtonsReportEveryMouseButton_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void FormsTest::pictureButtonsReportEveryMouseButton() {
    QFETCH(Qt::MouseButton, button);
    PictureButton b;
    b.resize(52, 52);
    QSignalSpy down(&b, &PictureButton::mouseDown);
    QSignalSpy clicked(&b, &QPushButton::clicked);
    QTest::mouseClick(&b, button, {}, QPoint(10, 10));
    QCOMPARE(down.count(), 1);
    QCOMPARE(down.at(0).at(0).value<Qt::MouseButton>(), button);
    // The base behaviour stays: only the left button clicks.
    QCOMPARE(clicked.count(), button == Qt::LeftButton ? 1 : 0);
}

void FormsTest::pressLabelReportsMouseButton() {
    QSignalSpy down(dspUi_.Label59, &PressLabel::mouseDown);
    QTest::mousePress(dspUi_.Label59, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mousePress(dspUi_.Label59, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(down.count(), 2);
    QCOMPARE(down.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(down.at(1).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
}

void FormsTest::imageCanvasFollowsControlSize() {
    // Never shown, as in the headless run: the bitmap must still have the control's size.
    Canvas& c = scrUi_.Image9->canvas();
    QCOMPARE(QSize(c.Width(), c.Height()), QSize(1024, 600));
    QCOMPARE(dspUi_.Image1->canvas().Image().size(), QSize(512, 300));

    ImageControl image;
    image.resize(30, 20);
    Canvas& canvas = image.canvas();
    canvas.SetPenColor(Qt::red);
    canvas.Image().fill(Qt::blue);
    image.resize(40, 10);
    QCOMPARE(&image.canvas(), &canvas);
    QCOMPARE(canvas.Image().size(), QSize(40, 10));
    QCOMPARE(canvas.PenColor(), QColor(Qt::red));
    QVERIFY(canvas.Image().pixel(5, 5) != QColor(Qt::blue).rgb());  // a fresh bitmap

    image.resize(0, 0);
    image.canvas().Image().fill(Qt::green);
    QCOMPARE(image.canvas().Image().pixel(0, 0), QColor(Qt::green).rgb());  // no reset per use
}

void FormsTest::imageCanvasKeepsNameAndStateWhenRenamed() {
    ImageControl image;
    image.resize(16, 16);
    Canvas& canvas = image.canvas();
    canvas.SetFontName(Tr("ＭＳ ゴシック"));
    canvas.SetFontSize(21);
    canvas.SetBrushColor(Qt::yellow);
    canvas.Image().fill(Qt::cyan);
    image.SetCanvasName("ScrForm.Image9");
    QCOMPARE(&image.canvas(), &canvas);
    QCOMPARE(canvas.Name(), QString("ScrForm.Image9"));
    QCOMPARE(canvas.FontName(), Tr("ＭＳ ゴシック"));
    QCOMPARE(canvas.FontSize(), 21);
    QCOMPARE(canvas.BrushColor(), QColor(Qt::yellow));
    QCOMPARE(canvas.Image().pixel(3, 3), QColor(Qt::cyan).rgb());
    image.resize(32, 8);
    QCOMPARE(image.canvas().Name(), QString("ScrForm.Image9"));
    QCOMPARE(image.canvas().Image().size(), QSize(32, 8));
}

void FormsTest::imageFixedBitmapIgnoresResize() {
    ImageControl& list = *dspUi_.Image6;
    list.SetBitmapSize(420, 4000);
    list.canvas().Image().fill(Qt::darkCyan);
    list.resize(393, 300);
    QCOMPARE(list.canvas().Image().size(), QSize(420, 4000));
    QCOMPARE(list.canvas().Image().pixel(419, 3999), QColor(Qt::darkCyan).rgb());
    list.move(4, -20 * 7);  // scrolled seven rows
    QCOMPARE(list.canvas().Image().size(), QSize(420, 4000));
    list.setGeometry(4, 0, 420, 4000);
}

void FormsTest::imagePaintsCanvasUnscaledAndPictureStretched() {
    ImageControl image;
    image.resize(20, 20);
    image.canvas().Image().fill(Qt::white);
    image.canvas().SetBrushColor(Qt::red);
    image.canvas().FillRect(0, 0, 5, 5);
    QImage shot = image.grab().toImage();
    QCOMPARE(shot.pixelColor(2, 2), QColor(Qt::red));
    QCOMPARE(shot.pixelColor(10, 10), QColor(Qt::white));

    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    image.SetPicture(picture);
    QVERIFY(image.ShowsPicture());
    shot = image.grab().toImage();
    QCOMPARE(shot.pixelColor(0, 0), QColor(Qt::blue));
    QCOMPARE(shot.pixelColor(19, 19), QColor(Qt::blue));

    image.SetPicture(QImage());
    shot = image.grab().toImage();
    QCOMPARE(shot.pixelColor(2, 2), QColor(Qt::red));
}

void FormsTest::imageReportsPressPosition() {
    QSignalSpy down(dspUi_.Image6, &ImageControl::mouseDown);
    QTest::mousePress(dspUi_.Image6, Qt::RightButton, {}, QPoint(60, 47));
    QCOMPARE(down.count(), 1);
    QCOMPARE(down.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(down.at(0).at(1).toPoint(), QPoint(60, 47));
}

void FormsTest::everyPictureButtonGetsItsOwnGlyph() {
    ApplyButtonGlyphs(&dsp_);
    QWidget other;
    auto* unknown = new PictureButton(&other);
    unknown->setObjectName("SomeOtherButton");
    ApplyButtonGlyphs(&other);
    const QImage fallback = unknown->icon().pixmap(40, 40).toImage();

    const QList<PictureButton*> buttons = dsp_.findChildren<PictureButton*>();
    QCOMPARE(buttons.size(), 27);
    for (PictureButton* b : buttons) {
        QVERIFY2(!b->icon().isNull(), qPrintable(b->objectName()));
        QVERIFY2(b->icon().pixmap(40, 40).toImage() != fallback, qPrintable(b->objectName()));
        if (b->text().isEmpty()) {
            QCOMPARE(b->iconSize(), QSize(40, 40));
        } else {
            QVERIFY(b->iconSize().height() < b->height());
        }
    }
    const QImage clean = dspUi_.BitBtn2->icon().pixmap(40, 40).toImage();
    const QImage clock = dspUi_.BitBtn32->icon().pixmap(40, 40).toImage();
    QVERIFY(clean != clock);
}

QTEST_MAIN(FormsTest)
#include "forms_test.moc"
